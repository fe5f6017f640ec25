// Values written, saved and read back by the engine and by xlrd; the format's limits.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "tests/xls/xls_testing.h"

namespace levara::xls {
namespace {

using namespace testing;
using levara::testing::ScratchDir;

// Integers of every RK range, hundredths, values only NUMBER holds, the edges.
// clang-format off
const double kNumbers[] = {0,       1,          -1,         536870911,    -536870912, 536870912,  1e9,
                           30.1,    -0.3,       1.52345,    0.5,          1.0 / 3,    1e-300,     -2.5e300,
                           0.01,    123456.78,  -0.0,       1.41230,      4294967296.0, 1234567.89, 5e-324,
                           std::numeric_limits<double>::max()};
// clang-format on

TEST(Cells, NumbersComeBackBitForBit)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    int row = 1;
    for (double number : kNumbers)
        book.sheet(0).setNumber(row++, 2, number);
    saveWorkbook(book, scratch / "n.xls");

    Workbook reopened = openWorkbook(scratch / "n.xls");
    std::string expected;
    row = 1;
    for (double number : kNumbers) {
        const Value value = reopened.sheet(0).value(row++, 2);
        ASSERT_TRUE(std::holds_alternative<double>(value));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(std::get<double>(value)), std::bit_cast<std::uint64_t>(number))
            << number;
        char text[40];
        std::snprintf(text, sizeof text, "%.17g\n", number);
        expected += text;
    }
    EXPECT_EQ(
        xlrd("for r in range(book.sheet_by_index(0).nrows): print('%.17g' % book.sheet_by_index(0).cell_value(r, 1))",
             scratch / "n.xls"),
        expected);
}

TEST(Cells, TextsComeBackAsWritten)
{
    const std::vector<std::string> texts = {"BM1",     "水准测量",
                                            "café",    "Ωmega and ASCII",
                                            "𝄞 music", std::string(300, 'x'),
                                            "第 1 页", " leading and trailing "};
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    for (std::size_t i = 0; i < texts.size(); ++i)
        book.sheet(0).setText(rowOfValue(i), 1, texts[i]);
    saveWorkbook(book, scratch / "t.xls");

    Workbook reopened = openWorkbook(scratch / "t.xls");
    std::string expected;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(reopened.sheet(0).value(rowOfValue(i), 1), Value(texts[i]));
        expected += texts[i] + "|\n";
    }
    EXPECT_EQ(
        xlrd(
            "for r in range(book.sheet_by_index(0).nrows): sys.stdout.buffer.write((book.sheet_by_index(0).cell_value(r, 0) + '|\\n').encode())",
            scratch / "t.xls"),
        expected);
}

// "Clear contents": the value goes, the cell and its format (here borders) stay.
TEST(Cells, ClearingKeepsTheCellsFormat)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    sheet.setNumber(2, 2, 7);
    sheet.setText(2, 3, "x");
    sheet.setThinBorders({2, 2, 2, 3});
    sheet.clearValue(2, 2);
    sheet.setText(2, 3, "");
    sheet.clearValue(9, 9);  // no cell there: nothing made
    EXPECT_EQ(sheet.value(2, 2), Value());
    EXPECT_EQ(sheet.value(2, 3), Value());
    EXPECT_EQ(sheet.borders(2, 3), (Borders{1, 1, 1, 1}));
    EXPECT_EQ(sheet.lastRow(), 2);
    saveWorkbook(book, scratch / "c.xls");
    EXPECT_EQ(xlrd(R"(
sheet = book.sheet_by_index(0)
for c in (1, 2):
    cell = sheet.cell(1, c)
    b = book.xf_list[cell.xf_index].border
    print(cell.ctype == xlrd.XL_CELL_BLANK, b.left_line_style, b.right_line_style, b.top_line_style, b.bottom_line_style)
print(sheet.nrows)
)",
                   scratch / "c.xls"),
              "True 1 1 1 1\nTrue 1 1 1 1\n2\n");
}

// Row and column defaults give new cells their format, as typing into them would.
TEST(Cells, NewCellsTakeTheirColumnsFormat)
{
    Workbook book = Workbook::create({"S"});
    CellStyle reading;
    reading.numberFormat = "0.00000";
    const StyleId style = book.addStyle(reading);
    book.sheet(0).setColumns(3, 4, 11, style);
    book.sheet(0).setNumber(8, 3, 1.5);
    book.sheet(0).setNumber(8, 5, 1.5);
    ScratchDir scratch;
    saveWorkbook(book, scratch / "f.xls");
    EXPECT_EQ(xlrd(R"(
sheet = book.sheet_by_index(0)
for c in (2, 4):
    print(book.format_map[book.xf_list[sheet.cell_xf_index(7, c)].format_key].format_str)
print(sheet.colinfo_map[2].width, sheet.colinfo_map[3].width)
)",
                   scratch / "f.xls"),
              "0.00000\nGeneral\n2816 2816\n");
}

TEST(Cells, OutsideTheFormatsLimitsIsALimitErrorAndChangesNothing)
{
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    sheet.setNumber(65536, 256, 1);  // the last cell is fine
    const std::string before = book.workbookStream();
    EXPECT_THROW(sheet.setNumber(65537, 1, 1), LimitError);
    EXPECT_THROW(sheet.setText(1, 257, "x"), LimitError);
    EXPECT_THROW(sheet.setText(0, 1, "x"), LimitError);
    EXPECT_THROW(sheet.setText(1, 1, std::string(32768, 'a')), LimitError);
    EXPECT_THROW(
        sheet.setText(
            1, 1,
            std::string(10923, 'a') +
                "水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水水" +
                std::string(21800, 'b')),
        LimitError);
    EXPECT_THROW(sheet.merge({1, 1, 70000, 1}), LimitError);
    EXPECT_THROW(sheet.setThinBorders({1, 250, 2, 300}), LimitError);
    EXPECT_THROW(sheet.setNumber(1, 1, std::nan("")), Error);
    EXPECT_THROW(sheet.setText(1, 1, "\xff\xfe"), Error);
    EXPECT_EQ(book.workbookStream(), before);
    sheet.setText(1, 1, std::string(32767, 'a'));
    EXPECT_EQ(std::get<std::string>(sheet.value(1, 1)).size(), 32767u);
}

}  // namespace
}  // namespace levara::xls
