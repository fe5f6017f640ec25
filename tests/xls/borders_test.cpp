// Thin borders and font colours: derived cell formats, cached and reused, and the
// limit on formats.
#include <gtest/gtest.h>

#include "tests/support/readers.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "tests/xls/xls_testing.h"
#include "xls/record_ids.h"

namespace levara::xls {
namespace {

using namespace testing;
using levara::testing::ScratchDir;

std::size_t xfCount(Workbook& book) { return recordsOfType(book.workbookStream(), rec::kXf).size(); }

TEST(Borders, EveryCellOfTheRangeBlankOnesToo)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    sheet.setNumber(6, 3, 1.5);
    sheet.merge({6, 1, 8, 1});
    sheet.setThinBorders({6, 1, 8, 1});
    sheet.setThinBorders({6, 2, 8, 10});
    for (int row = 6; row <= 8; ++row)
        for (int column = 1; column <= 10; ++column)
            EXPECT_EQ(sheet.borders(row, column), (Borders{1, 1, 1, 1})) << row << "," << column;
    EXPECT_EQ(sheet.borders(9, 1), Borders{});
    saveWorkbook(book, scratch / "b.xls");
    EXPECT_EQ(levara::testing::xlrdSheetText(scratch / "b.xls", 0, 1, 11),
              (std::vector<std::string>{"6  C=1.5  | borders A-J", "7  | borders A-J", "8  | borders A-J",
                                        "merge A6:A8"}));
}

// One bordered format per source format, whatever the number of ranges; the cell's
// own number format and font are kept.
TEST(Borders, FormatsAreDerivedOnceAndReused)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    CellStyle reading;
    reading.numberFormat = "0.00000";
    reading.font.bold = true;
    const StyleId readingStyle = book.addStyle(reading);
    Worksheet& sheet = book.sheet(0);
    for (int row = 1; row <= 300; ++row) {
        sheet.setNumber(row, 2, row);
        sheet.setStyle(row, 3, readingStyle);
    }
    const std::size_t before = xfCount(book);
    for (int row = 1; row <= 300; row += 3)
        sheet.setThinBorders({row, 1, row + 2, 3});
    EXPECT_EQ(xfCount(book), before + 2);
    sheet.setThinBorders({1, 1, 300, 3});  // bordered formats border to themselves
    EXPECT_EQ(xfCount(book), before + 2);

    CellStyle bordered = reading;
    bordered.thinBorders = true;
    EXPECT_LT(std::size_t(book.addStyle(bordered)), before + 2);  // the one made for the borders
    EXPECT_EQ(book.addStyle(reading), readingStyle);

    saveWorkbook(book, scratch / "r.xls");
    EXPECT_EQ(xlrd(R"(
sheet = book.sheet_by_index(0)
xf = book.xf_list[sheet.cell_xf_index(4, 2)]
b = xf.border
print(book.format_map[xf.format_key].format_str, book.font_list[xf.font_index].bold,
      b.left_line_style, b.right_line_style, b.top_line_style, b.bottom_line_style,
      b.left_colour_index, b.right_colour_index, b.top_colour_index, b.bottom_colour_index)
)",
                   scratch / "r.xls"),
              "0.00000 1 1 1 1 1 64 64 64 64\n");
}

// A red variant of a format keeps everything else of it and the cell's value; one
// variant and one font per source, however many cells.
TEST(FontColours, ARedVariantIsDerivedOnceAndKeepsTheRestOfTheFormat)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    CellStyle reading;
    reading.numberFormat = "0.000";
    reading.font.bold = true;
    reading.thinBorders = true;
    const StyleId readingStyle = book.addStyle(reading);
    Worksheet& sheet = book.sheet(0);
    for (int row = 1; row <= 100; ++row) {
        sheet.setStyle(row, 1, readingStyle);
        sheet.setNumber(row, 1, row + 0.5);
    }
    const std::size_t before = xfCount(book);
    const std::size_t fonts = recordsOfType(book.workbookStream(), rec::kFont).size();
    for (int row = 1; row <= 100; row += 2)
        sheet.setFontColour({row, 1, row, 1}, kRedFontColour);
    sheet.setFontColour({1, 1, 1, 1}, kRedFontColour);  // a red format stays itself
    EXPECT_EQ(xfCount(book), before + 1);
    EXPECT_EQ(recordsOfType(book.workbookStream(), rec::kFont).size(), fonts + 1);
    EXPECT_EQ(sheet.fontColour(3, 1), kRedFontColour);
    EXPECT_EQ(sheet.fontColour(4, 1), kAutomaticFontColour);
    EXPECT_EQ(sheet.value(3, 1), Value(3.5));
    EXPECT_EQ(sheet.numberFormat(3, 1), "0.000");
    EXPECT_EQ(sheet.borders(3, 1), (Borders{1, 1, 1, 1}));

    saveWorkbook(book, scratch / "red.xls");
    EXPECT_EQ(openWorkbook(scratch / "red.xls").sheet(0).fontColour(3, 1), kRedFontColour);
    EXPECT_EQ(xlrd(R"(
sheet = book.sheet_by_index(0)
for row in (2, 3):
    xf = book.xf_list[sheet.cell_xf_index(row, 0)]
    font = book.font_list[xf.font_index]
    print(sheet.cell_value(row, 0), font.colour_index, font.bold, book.format_map[xf.format_key].format_str,
          xf.border.top_line_style)
)",
                   scratch / "red.xls"),
              "3.5 10 1 0.000 1\n4.5 32767 1 0.000 1\n");
}

// Formats borrowed from a column default that is a style XF become cell XFs.
TEST(Borders, ColumnDefaultsGiveTheSourceFormat)
{
    const std::filesystem::path file = fixtureDir("app-saved") / "exc_gnm.xls";
    ScratchDir scratch;
    Workbook book = openWorkbook(file);
    book.sheet(0).setThinBorders({300, 1, 302, 10});
    book.sheet(0).setNumber(300, 5, 1.23456);
    saveWorkbook(book, scratch / "g.xls");
    EXPECT_EQ(xlrd(R"(
sheet = book.sheet_by_index(0)
for c in range(10):
    xf = book.xf_list[sheet.cell_xf_index(299, c)]
    assert not xf.is_style and xf.border.top_line_style == 1, c
print(sheet.cell_value(299, 4))
)",
                   scratch / "g.xls"),
              "1.23456\n");
}

TEST(Borders, TooManyFormatsIsALimitErrorBeforeAnythingChanges)
{
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    CellStyle style;
    int made = 0;
    try {
        for (;; ++made) {
            style.numberFormat = "0." + std::string(std::size_t(made % 200 + 1), '0') + std::to_string(made / 200);
            sheet.setStyle(made + 1, 1, book.addStyle(style));
        }
    } catch (const LimitError&) {
    }
    EXPECT_EQ(std::size_t(made) + 21, kMaxXfs);  // a new workbook has 21
    const std::string before = book.workbookStream();
    EXPECT_THROW(sheet.setThinBorders({1, 1, 5, 1}), LimitError);
    EXPECT_EQ(book.workbookStream(), before);

    // XFCRC counts the formats as they are now.
    const std::filesystem::path file = fixtureDir("excel-saved") / "xf_class.xls";
    Workbook excel = openWorkbook(file);
    excel.sheet(0).setThinBorders({1, 1, 40, 12});
    const std::string stream = excel.workbookStream();
    const std::vector<Record> crc = recordsOfType(stream, rec::kXfCrc);
    ASSERT_EQ(crc.size(), 1u);
    EXPECT_EQ(u16(crc[0].body, 14), recordsOfType(stream, rec::kXf).size());
    EXPECT_GT(recordsOfType(stream, rec::kXf).size(), 63u);
}

}  // namespace
}  // namespace levara::xls
