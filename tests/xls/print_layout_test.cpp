// What decides a printout, read back: page setup, row heights and column widths,
// manual page breaks, defined names and number formats, by the engine, xlrd and
// LibreOffice.
#include <gtest/gtest.h>

#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "tests/xls/xls_testing.h"
#include "xls/record_ids.h"

namespace levara::xls {
namespace {

using namespace testing;
using levara::testing::ScratchDir;

PageSetup portraitWithTitles()
{
    PageSetup setup;
    setup.topMargin = 0.7;
    setup.bottomMargin = 0.8;
    setup.headerMargin = 0.3;
    setup.footerMargin = 0.4;
    setup.scale = 73;
    setup.centerHorizontally = true;
    setup.repeatFirstRow = 1;
    setup.repeatLastRow = 5;
    setup.header = "&C水准测量";
    setup.footer = "&C第 &P 页，共 &N 页";
    return setup;
}

PageSetup landscapeFitted()
{
    PageSetup setup;
    setup.landscape = true;
    setup.paperSize = 8;  // A3
    setup.fitToPageWidth = true;
    setup.leftMargin = 0.25;
    setup.rightMargin = 0.3;
    return setup;
}

TEST(PrintLayout, PageSetupReadsBackAsSet)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"a", "b", "c", "d"});
    PageSetup onePage = landscapeFitted();
    onePage.fitPagesTall = 1;
    const std::vector<PageSetup> setups = {portraitWithTitles(), landscapeFitted(), PageSetup{}, onePage};
    for (std::size_t s = 0; s < setups.size(); ++s)
        book.sheet(s).setPageSetup(setups[s]);
    saveWorkbook(book, scratch / "p.xls");
    Workbook reopened = openWorkbook(scratch / "p.xls");
    for (std::size_t s = 0; s < setups.size(); ++s) {
        EXPECT_EQ(book.sheet(s).pageSetup(), setups[s]) << s;
        EXPECT_EQ(reopened.sheet(s).pageSetup(), setups[s]) << s;
    }
    EXPECT_EQ(Workbook::create({"new"}).sheet(0).pageSetup(), PageSetup{});
    PageSetup tiny;
    tiny.scale = 5;
    EXPECT_THROW(book.sheet(0).setPageSetup(tiny), Error);

    // Fitted to 2 pages wide by 1 tall, as another program may save it: read as full
    // size, pages tall included, so that the setter takes the setup back.
    std::string stream = book.workbookStream();
    const Record setup = recordsOfType(stream, rec::kSetup).back();
    stream[setup.position + 4 + 6] = 2;  // SETUP iFitWidth
    Workbook wide = Workbook::fromWorkbookStream(stream);
    const PageSetup read = wide.sheet(3).pageSetup();
    EXPECT_FALSE(read.fitToPageWidth);
    EXPECT_EQ(read.fitPagesTall, 0);
    EXPECT_NO_THROW(wide.sheet(3).setPageSetup(read));
}

TEST(PrintLayout, RowHeightsColumnWidthsAndTheStandardFont)
{
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    sheet.setRowHeight(2, 30);
    sheet.setColumns(2, 3, 10.5);
    sheet.setNumber(7, 1, 1);
    EXPECT_EQ(sheet.rowHeight(2), 30);
    EXPECT_EQ(sheet.rowHeight(7), 13.5);  // the default row height, with or without cells
    EXPECT_EQ(sheet.rowHeight(60000), 13.5);
    EXPECT_EQ(sheet.columnWidth(3), 10.5);
    EXPECT_EQ(sheet.columnWidth(4), 8);  // DEFCOLWIDTH
    EXPECT_EQ(sheet.standardFontPoints(), 11);
}

TEST(PrintLayout, RowBreaksComeBackInTheEngineAndXlrd)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    sheet.setPageSetup(portraitWithTitles());
    sheet.setRowBreaks({9, 30});
    sheet.setRowBreaks({6, 27, 65536});  // replaces the others
    EXPECT_EQ(sheet.rowBreaks(), (std::vector<int>{6, 27, 65536}));
    saveWorkbook(book, scratch / "b.xls");
    EXPECT_EQ(openWorkbook(scratch / "b.xls").sheet(0).rowBreaks(), (std::vector<int>{6, 27, 65536}));
    EXPECT_EQ(xlrd("print(book.sheet_by_index(0).horizontal_page_breaks)", scratch / "b.xls"),
              "[(5, 0, 255), (26, 0, 255), (65535, 0, 255)]\n");

    // In its place among the page settings: after WSBOOL, before the header.
    std::vector<std::uint16_t> order;
    for (const Record& r : records(book.workbookStream()))
        if (r.type == rec::kWsBool || r.type == rec::kHorizontalPageBreaks || r.type == rec::kHeader)
            order.push_back(r.type);
    EXPECT_EQ(order, (std::vector<std::uint16_t>{rec::kWsBool, rec::kHorizontalPageBreaks, rec::kHeader}));

    sheet.setRowBreaks({});
    EXPECT_TRUE(sheet.rowBreaks().empty());
    EXPECT_TRUE(recordsOfType(book.workbookStream(), rec::kHorizontalPageBreaks).empty());

    std::vector<int> tooMany;
    for (int row = 2; row <= 2 + int(kMaxRowBreaks); ++row)
        tooMany.push_back(row);
    EXPECT_THROW(sheet.setRowBreaks(tooMany), LimitError);
    tooMany.pop_back();
    sheet.setRowBreaks(tooMany);
    EXPECT_EQ(sheet.rowBreaks().size(), kMaxRowBreaks);
    for (const std::vector<int>& bad : std::vector<std::vector<int>>{{1}, {5, 5}, {9, 6}, {65537}})
        EXPECT_THROW(sheet.setRowBreaks(bad), Error);
    EXPECT_EQ(sheet.rowBreaks().size(), kMaxRowBreaks);
}

TEST(PrintLayout, NamesOfAWorksheetForCellsAndNumbers)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"往测", "返测"});
    book.sheet(0).setPageSetup(portraitWithTitles());  // a built-in name first
    book.sheet(0).defineName("线路名称", {2, 4, 2, 6});
    book.sheet(1).defineName("线路名称", {2, 4, 2, 4});
    book.sheet(1).defineName("Stations_Per_Page", 18);
    book.sheet(1).defineName("stations_per_page", 20);  // the same name: replaced
    saveWorkbook(book, scratch / "n.xls");

    Workbook reopened = openWorkbook(scratch / "n.xls");
    for (Workbook* b : {&book, &reopened}) {
        EXPECT_EQ(b->sheet(0).namedRange("线路名称"), (Range{2, 4, 2, 6}));
        EXPECT_EQ(b->sheet(1).namedRange("线路名称"), (Range{2, 4, 2, 4}));
        EXPECT_EQ(b->sheet(1).namedNumber("STATIONS_PER_PAGE"), 20);
        EXPECT_EQ(b->sheet(0).namedNumber("stations_per_page"), std::nullopt);
        EXPECT_EQ(b->sheet(1).namedRange("stations_per_page"), std::nullopt);
        EXPECT_EQ(b->sheet(0).namedRange("日期"), std::nullopt);
        EXPECT_EQ(b->sheet(0).pageSetup().repeatLastRow, 5);
    }
    EXPECT_EQ(xlrd(R"(
for n in book.name_obj_list:
    sys.stdout.buffer.write(("%s %d %s\n" % (n.name, n.scope, n.result.text)).encode())
)",
                   scratch / "n.xls"),
              "Print_Titles 0 往测!$A$1:$IV$5\n线路名称 0 往测!$D$2:$F$2\n线路名称 1 返测!$D$2\n"
              "stations_per_page 1 20.0\n");

    for (const char* bad : {"", "A1", "ab12", "R", "c", "1st", "two words", "a-b", "x:y"})
        EXPECT_THROW(book.sheet(0).defineName(bad, 1), Error) << bad;
    EXPECT_THROW(book.sheet(0).defineName("x", std::numeric_limits<double>::infinity()), Error);
}

// Names Excel wrote: absolute references of one sheet and plain numbers are read;
// relative references, references across sheets and computed formulas are not.
TEST(PrintLayout, NamesExcelSavedReadAsXlrdReadsThem)
{
    const std::filesystem::path dir = fixtureDir("excel-saved");
    if (dir.empty() || !std::filesystem::exists(dir / "namesdemo.xls"))
        GTEST_SKIP() << "no fixtures";
    Workbook book = openWorkbook(dir / "namesdemo.xls");
    struct Case {
        std::size_t sheet;
        const char* name;
        std::optional<Range> range;
    };
    const std::vector<Case> cases = {
        {2, "Expenses", Range{3, 2, 3, 14}},   {2, "Year_Tot", Range{2, 14, 4, 14}},
        {2, "rectangle1", Range{9, 1, 10, 4}}, {0, "Expenses", std::nullopt},  // on another sheet
        {0, "LocalRange", Range{1, 1, 1, 1}},  {1, "LOCALRANGE", Range{2, 2, 2, 2}},
        {2, "localrange", Range{3, 3, 3, 3}},  {0, "A1Z10", std::nullopt},  // relative
        {0, "Moscow", std::nullopt},           {0, "List", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(book.sheet(c.sheet).namedRange(c.name), c.range) << c.sheet << " " << c.name;
    EXPECT_EQ(book.sheet(0).namedNumber("PosInt"), 65535);
    EXPECT_EQ(book.sheet(0).namedNumber("NegInt"), -1);
    EXPECT_EQ(book.sheet(0).namedNumber("PosFloat"), 65536);
    EXPECT_EQ(book.sheet(0).namedNumber("twofivesix"), std::nullopt);
    EXPECT_EQ(book.sheet(2).pageSetup().repeatFirstRow, 1);
    EXPECT_EQ(book.sheet(2).pageSetup().repeatLastRow, 1);
}

TEST(PrintLayout, NumberFormatsOfCellsAndColumns)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    CellStyle reading;
    reading.numberFormat = "0.00000";
    sheet.setColumns(3, 3, 10, book.addStyle(reading));
    sheet.setNumber(4, 3, 0.5);
    sheet.setNumber(5, 3, 44.13);
    sheet.setThinBorders({4, 3, 5, 3});
    sheet.setNumberFormat({5, 3, 6, 3}, "0.000");
    EXPECT_EQ(sheet.numberFormat(4, 3), "0.00000");
    EXPECT_EQ(sheet.numberFormat(5, 3), "0.000");
    EXPECT_EQ(sheet.numberFormat(6, 3), "0.000");      // a blank cell made for the format
    EXPECT_EQ(sheet.numberFormat(900, 3), "0.00000");  // the column's
    EXPECT_EQ(sheet.numberFormat(4, 2), "General");
    EXPECT_EQ(sheet.borders(5, 3), (Borders{1, 1, 1, 1}));  // kept
    EXPECT_EQ(sheet.value(5, 3), Value(44.13));
    saveWorkbook(book, scratch / "f.xls");
    EXPECT_EQ(openWorkbook(scratch / "f.xls").sheet(0).numberFormat(5, 3), "0.000");
    EXPECT_EQ(xlrd(R"(
sheet = book.sheet_by_index(0)
for r in (3, 4, 5):
    print(book.format_map[book.xf_list[sheet.cell_xf_index(r, 2)].format_key].format_str)
)",
                   scratch / "f.xls"),
              "0.00000\n0.000\n0.000\n");
}

// LibreOffice saves what it read as .xlsx, whose XML names the breaks and names plainly.
TEST(PrintLayout, LibreOfficeReadsBreaksAndNames)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"往测"});
    Worksheet& sheet = book.sheet(0);
    sheet.setPageSetup(portraitWithTitles());
    sheet.setNumber(40, 1, 1);
    sheet.setRowBreaks({9, 30});
    sheet.defineName("线路名称", {2, 4, 2, 6});
    sheet.defineName("每页测站数", 18);
    saveWorkbook(book, scratch / "lo.xls");
    std::string output;
    ASSERT_EQ(levara::testing::runProgram({"soffice", "-env:UserInstallation=file://" + (scratch / "profile").string(),
                                           "--headless", "--norestore", "--convert-to", "xlsx", "--outdir",
                                           (scratch / "out").string(), (scratch / "lo.xls").string()},
                                          &output),
              0)
        << output;
    ASSERT_EQ(levara::testing::runProgram({"/usr/bin/python3", "-c", R"py(
import re, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
names = re.findall(r'<definedName [^>]*name="([^"]+)"[^>]*>([^<]*)<', z.read('xl/workbook.xml').decode())
breaks = re.findall(r'<brk id="(\d+)"[^>]*man="(?:1|true)"', z.read('xl/worksheets/sheet1.xml').decode())
sys.stdout.buffer.write(("%s\n%s\n" % (sorted(names), breaks)).encode())
)py",
                                           (scratch / "out" / "lo.xlsx").string()},
                                          &output),
              0)
        << output;
    EXPECT_NE(output.find("('线路名称', '往测!$D$2:$F$2')"), std::string::npos) << output;
    EXPECT_NE(output.find("('每页测站数', '18')"), std::string::npos) << output;
    EXPECT_NE(output.find("['8', '29']"), std::string::npos) << output;
}

}  // namespace
}  // namespace levara::xls
