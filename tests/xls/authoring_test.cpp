// New workbooks for the templates: styles, columns, rows, page setup, frozen rows.
#include <gtest/gtest.h>

#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "tests/xls/xls_testing.h"
#include "xls/record_ids.h"

namespace levara::xls {
namespace {

using namespace testing;
using levara::testing::ScratchDir;

TEST(NewWorkbook, ReadsInXlrdWithItsSheetsFontsAndFormats)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"往测", "返测", "Sheet3"});
    EXPECT_EQ(book.sheetCount(), 3u);
    EXPECT_EQ(book.sheet(1).name(), "返测");
    EXPECT_EQ(book.sheet(0).lastRow(), 0);
    saveWorkbook(book, scratch / "new.xls");
    EXPECT_EQ(xlrd(R"(
print(book.codepage, book.biff_version, len(book.xf_list), book.xf_list[15].is_style, book.xf_list[0].is_style)
sys.stdout.buffer.write(("|".join(book.sheet_names()) + "|" + book.font_list[0].name + "\n").encode())
print(book.sheet_by_index(0).nrows, book.sheet_by_index(2).ncols)
)",
                   scratch / "new.xls"),
              "1200 80 21 0 1\n往测|返测|Sheet3|宋体\n0 0\n");
    EXPECT_EQ(openWorkbook(scratch / "new.xls").workbookStream(), book.workbookStream());

    EXPECT_THROW(Workbook::create({}), Error);
    EXPECT_THROW(Workbook::create({"a", "A"}), Error);
    EXPECT_THROW(Workbook::create({"a/b"}), Error);
    EXPECT_THROW(Workbook::create({std::string(32, 'x')}), Error);
}

TEST(NewWorkbook, StylesColumnsAndRowsAsXlrdReadsThem)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    CellStyle heading;
    heading.font = Font{"黑体", 16, true, false, false};
    heading.horizontal = HorizontalAlignment::Center;
    heading.vertical = VerticalAlignment::Center;
    heading.wrap = true;
    heading.thinBorders = true;
    const StyleId headingStyle = book.addStyle(heading);
    CellStyle reading;
    reading.font.name = "Arial";
    reading.numberFormat = "0.00000";
    reading.horizontal = HorizontalAlignment::Right;
    const StyleId readingStyle = book.addStyle(reading);
    EXPECT_EQ(book.addStyle(heading), headingStyle);

    Worksheet& sheet = book.sheet(0);
    sheet.setText(1, 1, "水准测量手簿");
    sheet.setStyle(1, 1, headingStyle);
    sheet.setRowHeight(1, 28.5);
    sheet.setColumns(1, 1, 8.5);
    sheet.setColumns(2, 10, 11.25, readingStyle);
    sheet.setColumns(4, 4, 6);  // splits the span, keeps its format
    sheet.setNumber(6, 4, 1.5);
    saveWorkbook(book, scratch / "s.xls");
    EXPECT_EQ(
        xlrd(R"(
sheet = book.sheet_by_index(0)
xf = book.xf_list[sheet.cell_xf_index(0, 0)]
font = book.font_list[xf.font_index]
a = xf.alignment
sys.stdout.buffer.write(("%s %d %d %d %d %d %d\n" % (font.name, font.height, font.weight, a.hor_align, a.vert_align, a.text_wrapped, xf.border.top_line_style)).encode())
print(sheet.rowinfo_map[0].height, sheet.rowinfo_map[0].has_default_height)
print([(c, sheet.colinfo_map[c].width) for c in range(5)])
xf = book.xf_list[sheet.cell_xf_index(5, 3)]
print(book.format_map[xf.format_key].format_str, book.font_list[xf.font_index].name, xf.alignment.hor_align)
)",
             scratch / "s.xls"),
        "黑体 320 700 2 1 1 1\n570 0\n[(0, 2176), (1, 2880), (2, 2880), (3, 1536), (4, 2880)]\n0.00000 Arial 3\n");
}

// The page setup as the records carry it, and frozen rows and print titles as xlrd reads them.
TEST(NewWorkbook, PageSetupPrintTitlesAndFrozenRows)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"往测", "返测"});
    PageSetup setup;
    setup.landscape = true;
    setup.fitToPageWidth = true;
    setup.centerHorizontally = true;
    setup.leftMargin = 0.5;
    setup.repeatFirstRow = 1;
    setup.repeatLastRow = 5;
    setup.footer = "&C第 &P 页";
    book.sheet(1).setPageSetup(setup);
    book.sheet(1).freezeRows(5);
    book.sheet(0).setPageSetup(setup);
    setup.repeatLastRow = 4;
    book.sheet(1).setPageSetup(setup);  // replaces its titles
    saveWorkbook(book, scratch / "p.xls");
    EXPECT_EQ(xlrd(R"(
for n in book.name_obj_list:
    sys.stdout.buffer.write(("%s %d %d %s\n" % (n.name, n.builtin, n.scope, n.result.text)).encode())
sheet = book.sheet_by_index(1)
print(sheet.panes_are_frozen, sheet.horz_split_pos, sheet.horz_split_first_visible, book.sheet_by_index(0).panes_are_frozen)
)",
                   scratch / "p.xls"),
              "Print_Titles 1 1 返测!$A$1:$IV$4\nPrint_Titles 1 0 往测!$A$1:$IV$5\n1 5 5 0\n");

    std::vector<Record> sheet1;
    bool second = false;
    int bofs = 0;
    for (Record& r : records(book.workbookStream())) {
        bofs += r.type == rec::kBof;
        second = bofs == 3;
        if (second)
            sheet1.push_back(std::move(r));
    }
    const auto find = [&](std::uint16_t type) {
        for (const Record& r : sheet1)
            if (r.type == type)
                return r.body;
        return std::string("missing");
    };
    EXPECT_EQ(u16(find(rec::kSetup), 10) & 0x0002, 0);  // landscape
    EXPECT_EQ(u16(find(rec::kSetup), 0), 9);            // A4
    EXPECT_EQ(u16(find(rec::kSetup), 6), 1);            // one page wide
    EXPECT_EQ(u16(find(rec::kWsBool), 0) & 0x0100, 0x0100);
    EXPECT_EQ(u16(find(rec::kHCenter), 0), 1);
    EXPECT_EQ(find(rec::kLeftMargin), std::string("\0\0\0\0\0\0\xE0\x3F", 8));
    const std::string footer = find(rec::kFooter);
    EXPECT_EQ(u16(footer, 0), 8u);  // characters, stored as UTF-16
    EXPECT_EQ(footer[2], 1);
    // A sheet's records stay in their order: margins before SETUP, PANE after WINDOW2.
    std::vector<std::uint16_t> order;
    for (const Record& r : sheet1)
        if (r.type == rec::kFooter || r.type == rec::kLeftMargin || r.type == rec::kSetup || r.type == rec::kWindow2 ||
            r.type == rec::kPane || r.type == rec::kSelection)
            order.push_back(r.type);
    EXPECT_EQ(order, (std::vector<std::uint16_t>{rec::kFooter, rec::kLeftMargin, rec::kSetup, rec::kWindow2, rec::kPane,
                                                 rec::kSelection, rec::kSelection}));
}

}  // namespace
}  // namespace levara::xls
