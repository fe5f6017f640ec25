// The built workbook templates, read back by the engine, xlrd and LibreOffice, and
// the generator that makes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "tests/support/readers.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "xls/xls.h"

namespace levara::testing {
namespace {

struct Template {
    std::string file;
    std::vector<std::string> sheets;
    int headingRows;
    int columns;  // the columns its output writes or borders
    // Labels an output writes into the data columns: "sheet:first:last:text" (columns
    // from 1), which must fit the column widths too.
    std::vector<std::string> outputLabels;
    // The names the outputs fill the heading through, as xlrd reads them.
    std::vector<std::string> names;
};

// The heading fields of a line book's sheet and their cells.
std::vector<std::string> lineBookNames(const std::string& sheet, const std::string& sheetName)
{
    std::vector<std::string> names;
    for (const auto& [name, cell] : {std::pair{"工程名称", "$A$2"},
                                     {"线路名称", "$D$2"},
                                     {"测段", "$F$2"},
                                     {"观测顺序", "$I$2"},
                                     {"仪器", "$A$3"},
                                     {"日期", "$D$3"},
                                     {"时间", "$F$3"},
                                     {"检核标准", "$I$3"}})
        names.push_back(sheet + " " + name + " " + sheetName + "!" + cell);
    return names;
}

std::vector<std::string> twoWayNames()
{
    std::vector<std::string> names = lineBookNames("0", "往测");
    for (const std::string& name : lineBookNames("1", "返测"))
        names.push_back(name);
    return names;
}

const std::vector<std::string> kLineBookLabels = {"0:2:2:测段起点", "0:2:2:测段终点",     "0:2:2:累计后距",
                                                  "0:2:2:累计前距", "0:5:5:累计视距差",   "0:5:5:累计高差",
                                                  "0:5:5:测段距离", "0:1:3:测量责任人：", "0:5:5:检查者：",
                                                  "0:8:8:日期："};

std::vector<std::string> onSheet(const std::vector<std::string>& labels, int sheet)
{
    std::vector<std::string> result;
    for (const std::string& label : labels)
        result.push_back(std::to_string(sheet) + label.substr(1));
    return result;
}

std::vector<std::string> twoWayLabels()
{
    std::vector<std::string> labels = kLineBookLabels;
    for (const std::string& label : onSheet(kLineBookLabels, 1))
        labels.push_back(label);
    return labels;
}

const std::vector<Template> kTemplates = {
    {"exc.xls", {"水准测量"}, 5, 10, kLineBookLabels, lineBookNames("0", "水准测量")},
    {"exc2.xls",
     {"水准测量"},
     5,
     8,
     {"0:2:2:测段起点", "0:2:2:累计前距", "0:5:5:视距累计差", "0:5:5:测段距离", "0:1:2:测量责任人：", "0:4:5:检查者：",
      "0:7:7:日期："},
     {"0 工程名称 水准测量!$A$2", "0 线路名称 水准测量!$D$2", "0 测段 水准测量!$F$2", "0 仪器 水准测量!$A$3",
      "0 日期 水准测量!$C$3", "0 时间 水准测量!$E$3", "0 检核标准 水准测量!$G$3"}},
    {"exc3.xls", {"往测", "返测"}, 5, 10, twoWayLabels(), twoWayNames()},
    {"exc1.xls", {"中间点"}, 5, 7, {}, {"0 工程名称 中间点!$A$2", "0 仪器 中间点!$D$2", "0 日期 中间点!$A$3"}},
    {"exc0.xls", {"单点测量"}, 2, 6, {}, {}},
    {"exc4.xls", {"高差配赋表", "精度评定"}, 3, 8, {}, {}},
    {"exc5.xls", {"平差成果表"}, 3, 9, {}, {}},
};

std::filesystem::path built(const std::string& file) { return binaryDir() / "temp" / file; }

std::filesystem::path generator() { return binaryDir() / "make_template"; }

std::filesystem::path source(const std::string& file)
{
    return sourceDir() / "templates/sources" / (std::filesystem::path(file).stem().string() + ".tpl");
}

std::string text(const xls::Value& value)
{
    const std::string* s = std::get_if<std::string>(&value);
    return s ? *s : std::string{};
}

// LibreOffice quotes a cell holding a line break and writes the break as it is.
std::vector<std::string> csvRecords(const CsvSheet& lines)
{
    std::vector<std::string> records;
    bool open = false;
    for (const std::string& line : lines) {
        if (open)
            records.back() += "\n" + line;
        else
            records.push_back(line);
        for (char c : line)
            if (c == '"')
                open = !open;
    }
    return records;
}

// What xlrd sees of a template's column formats, frozen rows and print titles, and
// any heading or output label too wide for its columns.
const char* const kInspect = R"(
import sys, unicodedata, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
# Column widths count the digit width of the standard font (宋体 11 pt, 8 px); a wide
# character takes a whole em, a narrow one half of it.
def needs(text, points):
    halves = max(sum(2 if unicodedata.east_asian_width(c) in 'WF' else 1 for c in line) for line in text.split('\n'))
    return halves * points / 12.0
def span(sheet, first, last):
    return sum(sheet.computed_column_width(c) / 256.0 for c in range(first, last + 1))
titles = {n.scope for n in book.name_obj_list if n.name == 'Print_Titles'}
for n in book.name_obj_list:
    if not n.builtin:
        sys.stdout.buffer.write(('name %d %s %s\n' % (n.scope, n.name, n.result.text)).encode())
for index, sheet in enumerate(book.sheets()):
    print('sheet %d rows %d frozen %d titles %s' % (index, sheet.nrows,
          sheet.horz_split_pos if sheet.panes_are_frozen else 0, index in titles))
    for c in range(int(sys.argv[2])):
        info = sheet.colinfo_map.get(c)
        xf = book.xf_list[info.xf_index] if info else None
        print('column %d format %s font %s' % (c + 1,
              book.format_map[xf.format_key].format_str if xf else '-',
              book.font_list[xf.font_index].name if xf else '-'))
    merged = {(r, c): (c1, c2 - 1) for r1, r2, c1, c2 in sheet.merged_cells
              for r in range(r1, r2) for c in range(c1, c2)}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            value = sheet.cell_value(r, c)
            if isinstance(value, str) and value:
                first, last = merged.get((r, c), (c, c))
                font = book.font_list[book.xf_list[sheet.cell_xf_index(r, c)].font_index]
                if needs(value, font.height / 20.0) > span(sheet, first, last):
                    print('too narrow: row %d %r' % (r + 1, value))
for label in sys.argv[3:]:
    index, first, last, value = label.split(':', 3)
    if needs(value, 11) > span(book.sheet_by_index(int(index)), int(first) - 1, int(last) - 1):
        print('too narrow: output label %r' % value)
)";

TEST(Templates, OpenWithTheEngineShowingOnlyTheirHeading)
{
    for (const Template& t : kTemplates) {
        SCOPED_TRACE(t.file);
        xls::Workbook book = openWorkbook(built(t.file));
        ASSERT_EQ(book.sheetCount(), t.sheets.size());
        for (std::size_t s = 0; s < t.sheets.size(); ++s) {
            const xls::Worksheet& sheet = book.sheet(s);
            EXPECT_EQ(sheet.name(), t.sheets[s]);
            // Outputs write from the row after the heading; nothing may wait there.
            EXPECT_EQ(sheet.lastRow(), t.headingRows);
            EXPECT_FALSE(text(sheet.value(1, 1)).empty()) << "no title";
            const auto title = sheet.mergeAt(1, 1);
            ASSERT_TRUE(title);
            EXPECT_EQ(title->lastColumn, t.columns) << "the title spans the table";
            // Every column the output fills is labelled in the heading's last rows,
            // and the column heading is ruled like the rows below it.
            const int last = t.headingRows;
            const int first = std::min(t.headingRows, 4);
            for (int column = 1; column <= t.columns; ++column) {
                bool labelled = false;
                for (int row = first; row <= last; ++row) {
                    const auto merge = sheet.mergeAt(row, column);
                    const int r = merge ? merge->firstRow : row, c = merge ? merge->firstColumn : column;
                    labelled = labelled || !text(sheet.value(r, c)).empty();
                    EXPECT_EQ(sheet.borders(row, column), (xls::Borders{1, 1, 1, 1}))
                        << "row " << row << " column " << column;
                }
                EXPECT_TRUE(labelled) << "column " << column << " has no heading";
            }
        }
    }
}

TEST(Templates, BothBooksOfTheTwoWayTemplateShareOneLayout)
{
    xls::Workbook twoWay = openWorkbook(built("exc3.xls"));
    xls::Workbook single = openWorkbook(built("exc.xls"));
    for (std::size_t s = 0; s < 2; ++s)
        for (int row = 2; row <= 5; ++row)
            for (int column = 1; column <= 10; ++column) {
                EXPECT_EQ(twoWay.sheet(s).value(row, column), single.sheet(0).value(row, column))
                    << "sheet " << s << " row " << row << " column " << column;
                EXPECT_EQ(twoWay.sheet(s).mergeAt(row, column), single.sheet(0).mergeAt(row, column));
            }
    EXPECT_NE(twoWay.sheet(0).value(1, 1), twoWay.sheet(1).value(1, 1)) << "forward and return titled alike";
}

TEST(Templates, XlrdSeesColumnFormatsFrozenHeadingPrintTitlesNamesAndLabelsThatFit)
{
    for (const Template& t : kTemplates) {
        SCOPED_TRACE(t.file);
        std::vector<std::string> argv = {"/usr/bin/python3", "-c", kInspect, built(t.file).string(),
                                         std::to_string(t.columns)};
        argv.insert(argv.end(), t.outputLabels.begin(), t.outputLabels.end());
        std::string output;
        ASSERT_EQ(runProgram(argv, &output), 0) << output;

        std::istringstream lines(output);
        int sheets = 0;
        std::vector<std::string> names;
        for (std::string line; std::getline(lines, line);) {
            SCOPED_TRACE(line);
            EXPECT_EQ(line.find("too narrow"), std::string::npos);
            if (line.rfind("name ", 0) == 0)
                names.push_back(line.substr(5));
            if (line.rfind("sheet ", 0) == 0) {
                ++sheets;
                const std::string rows = std::to_string(t.headingRows);
                EXPECT_NE(line.find(" rows " + rows + " "), std::string::npos);
                EXPECT_NE(line.find(" frozen " + rows + " "), std::string::npos);
                EXPECT_NE(line.find(" titles True"), std::string::npos);
            } else if (line.rfind("column ", 0) == 0) {
                // Rows past the heading take the column formats, however many there are.
                EXPECT_EQ(line.find("format -"), std::string::npos) << "no column format";
                EXPECT_NE(line.find("font 宋体"), std::string::npos);
            }
        }
        EXPECT_EQ(sheets, int(t.sheets.size()));
        EXPECT_EQ(names, t.names);
    }
}

TEST(Templates, LibreOfficeReadsEveryHeadingAndNoDataRows)
{
    std::vector<std::filesystem::path> files;
    for (const Template& t : kTemplates)
        files.push_back(built(t.file));
    const auto csv = libreOfficeCsv(files);
    ASSERT_EQ(csv.size(), kTemplates.size());
    for (std::size_t i = 0; i < kTemplates.size(); ++i) {
        const Template& t = kTemplates[i];
        SCOPED_TRACE(t.file);
        ASSERT_EQ(csv[i].size(), t.sheets.size());
        xls::Workbook book = openWorkbook(built(t.file));
        for (std::size_t s = 0; s < t.sheets.size(); ++s) {
            const std::vector<std::string> records = csvRecords(csv[i][s]);
            ASSERT_EQ(int(records.size()), t.headingRows);
            // Every heading text on its own row, line breaks and all.
            for (int row = 1; row <= t.headingRows; ++row)
                for (int column = 1; column <= t.columns; ++column) {
                    const std::string label = text(book.sheet(s).value(row, column));
                    const std::string& record = records[std::size_t(row - 1)];
                    if (!label.empty()) {
                        EXPECT_NE(record.find(label), std::string::npos) << label << " missing in " << record;
                    }
                }
        }
    }
}

// Values as the outputs write them, and how the column formats must show them.
struct Shown {
    int column;
    double value;
    std::string text;
};

const std::map<std::string, std::vector<Shown>> kSamples = {
    {"exc.xls",
     {{1, 1, "1"},
      {2, 12, "12"},
      {3, 30.1, "30.100"},
      {3, -0.6, "-0.600"},
      {4, 46.426, "46.426"},
      {4, 0.5, "0.500"},
      {5, 1.5, "1.50000"},
      {5, -0.11111, "-0.11111"},
      {6, 1.41236, "1.41236"},
      {7, -0.04, "-0.04"},
      {8, 0.11112, "0.11112"},
      {9, 59.62, "59.620"}}},
    {"exc2.xls",
     {{3, 45.87, "45.870"},
      {4, 1.85953, "1.85953"},
      {5, 0.38971, "0.38971"},
      {6, 91.296, "91.296"},
      {6, 0.2, "0.200"},
      {7, 100.11111, "100.11111"}}},
    {"exc1.xls",
     {{2, 101.23456, "101.23456"}, {3, 1.23456, "1.23456"}, {4, 1.5, "1.50000"}, {5, 99.73456, "99.73456"}}},
    {"exc0.xls", {{1, 3, "3"}, {2, 12, "12"}, {2, 0.5, "0.5"}, {3, 25.321, "25.321"}, {4, 1.5, "1.50000"}}},
    {"exc4.xls",
     {{2, 1.383134, "1.383"},
      {3, 20, "20"},
      {3, 4.5, "4.5"},
      {4, -1.35307, "-1.35307"},
      {5, 4.37, "4.37"},
      {6, -1.3487, "-1.34870"},
      {7, 41.87, "41.870"}}},
};

TEST(Templates, DataRowsLookAlikeHoweverFarDown)
{
    ScratchDir scratch;
    std::vector<std::filesystem::path> files;
    std::vector<std::vector<int>> rows;
    for (const auto& [file, samples] : kSamples) {
        xls::Workbook book = openWorkbook(built(file));
        xls::Worksheet& sheet = book.sheet(0);
        const int headingRows = file == "exc0.xls" ? 2 : file == "exc4.xls" ? 3 : 5;
        // One sample per row, right below the heading and again thousands of rows down.
        std::vector<int> used;
        for (int base : {headingRows + 1, 6000})
            for (std::size_t i = 0; i < samples.size(); ++i) {
                sheet.setNumber(base + int(i), samples[i].column, samples[i].value);
                used.push_back(base + int(i));
            }
        files.push_back(scratch / file);
        saveWorkbook(book, files.back());
        rows.push_back(used);
    }
    const auto csv = libreOfficeCsv(files);
    std::size_t i = 0;
    for (const auto& [file, samples] : kSamples) {
        SCOPED_TRACE(file);
        ASSERT_EQ(csv[i].size(), file == "exc4.xls" ? 2u : 1u);  // the 高差配赋表 and its 精度评定
        const std::vector<std::string> records = csvRecords(csv[i][0]);
        for (std::size_t k = 0; k < rows[i].size(); ++k) {
            const Shown& sample = samples[k % samples.size()];
            const int row = rows[i][k];
            ASSERT_LT(std::size_t(row - 1), records.size());
            // The row's fields up to the sample's column: empty ones, then the sample.
            const std::string expected = std::string(std::size_t(sample.column - 1), ',') + sample.text;
            EXPECT_EQ(records[std::size_t(row - 1)].substr(0, expected.size()), expected)
                << "row " << row << " value " << sample.value;
        }
        ++i;
    }
}

// The widest value each column holds, in the number format the outputs give it
// (empty: the column's own). The bounds are those of a real line of up to 21,842
// stations or 65,534 points: sights below 1 km, readings and station height
// differences within ±10 m, reading checks within ±10 m in mm, Σd within ±100 km,
// Σh and elevations within ±10 km, kilometre totals below 10,000 km.
struct Widest {
    int column;
    double value;
    std::string format;
};

const std::vector<Widest> kLineBookWidest = {
    {1, 21842, ""},    {3, -999.999, ""},           {3, 9999.99999, "0.00000"}, {4, -99999.999, ""},
    {5, -9.99999, ""}, {6, -9999.99999, "0.00000"}, {6, -99999.999, "0.000"},   {6, 9999.99999, "0.00000"},
    {7, -9999.99, ""}, {8, -9.99999, ""},           {9, 1999.998, ""},
};

const std::map<std::string, std::vector<Widest>> kWidest = {
    {"exc.xls", kLineBookWidest},
    {"exc3.xls", kLineBookWidest},
    {"exc2.xls",
     {{1, 21842, ""},
      {3, -999.999, ""},
      {3, 9999.99999, "0.00000"},
      {4, -9.99999, ""},
      {4, -99999.999, "0.000"},
      {5, -9.99999, ""},
      {6, 1999.998, ""},
      {6, -99999.999, "0.000"},
      {6, -9999.99999, "0.00000"},
      {6, 9999.99999, "0.00000"},
      {7, -9999.99999, ""}}},
    {"exc1.xls", {{2, 9999.99999, ""}, {3, -9.99999, ""}, {4, -9.99999, ""}, {5, -9999.99999, ""}, {6, -9999.999, ""}}},
    {"exc0.xls", {{1, 65534, ""}, {2, 123456789, ""}, {3, 999.999, ""}, {4, -9.99999, ""}, {5, -9999.999, ""}}},
    // A route's sums and its misclosure: lengths below 10,000 km, corrections within
    // ±10 m, the limit row's "±" format.
    {"exc4.xls",
     {{2, 9999.999, ""},
      {3, 21842, ""},
      {3, 10920.5, ""},
      {4, -9999.99999, ""},
      {5, -9999.99, ""},
      {6, -9999.99999, ""},
      {7, -9999.999, ""},
      {4, 9999.99, "\"±\"0.00"},
      {4, -9999.99, "0.00"}}},
    // A network's sections and heights: σ and v within ±10 m, residuals within ±1000.
    {"exc5.xls",
     {{3, 9999.999, ""},
      {4, 21842, ""},
      {5, -9999.99999, ""},
      {6, -9999.99, ""},
      {7, -9999.99999, ""},
      {8, -999.99, ""}}},
};

TEST(Templates, PrintedValuesFitTheirColumns)
{
    ScratchDir scratch;
    std::vector<std::string> argv = {"soffice",      "-env:UserInstallation=file://" + (scratch / "profile").string(),
                                     "--headless",   "--norestore",
                                     "--convert-to", "pdf",
                                     "--outdir",     (scratch / "pdf").string()};
    for (const auto& [file, widest] : kWidest) {
        xls::Workbook book = openWorkbook(built(file));
        for (std::size_t s = 0; s < book.sheetCount(); ++s)
            for (std::size_t i = 0; i < widest.size(); ++i) {
                const int row = 6 + int(i);
                book.sheet(s).setNumber(row, widest[i].column, widest[i].value);
                if (!widest[i].format.empty())
                    book.sheet(s).setNumberFormat({row, widest[i].column, row, widest[i].column}, widest[i].format);
            }
        saveWorkbook(book, scratch / file);
        argv.push_back((scratch / file).string());
    }
    std::string output;
    ASSERT_EQ(runProgram(argv, &output), 0) << output;
    for (const auto& [file, widest] : kWidest) {
        SCOPED_TRACE(file);
        const auto pdf = scratch / "pdf" / (std::filesystem::path(file).stem().string() + ".pdf");
        ASSERT_EQ(runProgram({"pdftotext", "-layout", pdf.string(), "-"}, &output), 0) << output;
        EXPECT_EQ(output.find("###"), std::string::npos) << output;
        EXPECT_NE(output.find("9999.99"), std::string::npos) << output;
    }
}

TEST(Generator, SameSourceSameBytes)
{
    ScratchDir scratch;
    for (const Template& t : kTemplates) {
        SCOPED_TRACE(t.file);
        std::string output;
        ASSERT_EQ(runProgram({generator().string(), source(t.file).string(), (scratch / "a.xls").string()}, &output), 0)
            << output;
        ASSERT_EQ(runProgram({generator().string(), source(t.file).string(), (scratch / "b.xls").string()}, &output), 0)
            << output;
        EXPECT_EQ(readBytes(scratch / "a.xls"), readBytes(scratch / "b.xls"));
        EXPECT_EQ(readBytes(scratch / "a.xls"), readBytes(built(t.file))) << "the built template is stale";
    }
}

TEST(Generator, FaultsInASourceNameTheFileAndLineAndWriteNothing)
{
    struct Case {
        std::string source;
        std::string message;
    };
    const std::string style = "style s font=\"宋体\"\n";
    const std::vector<Case> cases = {
        {style + "cell A1 s \"x\"\n", "bad.tpl:2: this belongs to a sheet"},
        {"sheet \"a\"\ncell A1 missing \"x\"\n", "bad.tpl:2: no style named missing"},
        {style + "sheet \"a\"\ncell A1 s \"open\n", "bad.tpl:3: text without its closing quote"},
        {style + "sheet \"a\"\ncell B2:A1 s\n", "bad.tpl:3: the range B2:A1 must run"},
        {style + "sheet \"a\"\ncell A65537 s\n", "bad.tpl:3: row 65537 is outside"},
        {style + "sheet \"a\"\ncolumns IW width=8\n", "bad.tpl:3: column IW is past"},
        {style + "sheet \"a\"\ncolumns A width=wide\n", "bad.tpl:3: width must be a number"},
        {"style s size=big\n", "bad.tpl:1: size must be a number"},
        {"style s colour=red\n", "bad.tpl:1: unknown style setting \"colour\""},
        {style + "style s bold\n", "bad.tpl:2: style s is defined twice"},
        {style + "sheet \"a\"\npage paper=b5\n", "bad.tpl:3: paper must be"},
        {style + "sheet \"a\"\nsheet \"a\"\n", "bad.tpl:3: two sheets are named a"},
        {"sheet \"a/b\"\n", "bad.tpl:1: a sheet name may not hold"},
        {"sheet \"水准测量记录手簿水准测量记录手簿水准测量记录手簿水准测量记录手簿\"\n", "at most 31 characters"},
        {"include \"absent.inc\"\n", "bad.tpl:1: "},
        {"include \"bad.tpl\"\n", "includes itself"},
        {"frame A1\n", "bad.tpl:1: unknown statement \"frame\""},
        {style + "sheet \"a\"\npage fit=width scale=80\n", "bad.tpl:3: a page is either scaled or fitted"},
        {style + "sheet \"a\"\npage scale=5\n", "bad.tpl:3: scale must lie between 10 and 400"},
        {style + "sheet \"a\"\nname \"x\" Q\n", "bad.tpl:3: \"Q\" is not a cell"},
        {style + "sheet \"a\"\nname \"x\" 1\nname \"x\" 2\n", "bad.tpl:4: the sheet names x twice"},
        {style + "sheet \"a\"\nname \"A1\" 1\n", "\"A1\" cannot be a defined name"},
        {style, "bad.tpl: defines no sheet"},
    };
    ScratchDir scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        writeBytes(scratch / "bad.tpl", c.source);
        std::string output;
        EXPECT_EQ(runProgram({generator().string(), (scratch / "bad.tpl").string(), (scratch / "out.xls").string()},
                             &output),
                  1);
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
        EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
    }
}

}  // namespace
}  // namespace levara::testing
