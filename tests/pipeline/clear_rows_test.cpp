// Old data rows of a template: what is cleared and where clearing stops.
#include <gtest/gtest.h>

#include "books/clear_rows.h"
#include "tests/support/sheet_text.h"

namespace levara::testing {
namespace {

TEST(ClearOldRows, StopsAtTheFirstEmptyColumnOneAndKeepsColumnsPastTen)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    sheet.setText(5, 1, "heading");
    for (int row = 6; row <= 8; ++row)
        for (int column = 1; column <= 11; ++column)
            sheet.setNumber(row, column, row * 100 + column);
    sheet.setNumber(7, 1, 0);  // a zero is a value, not an empty cell
    sheet.setText(9, 2, "after the gap");
    sheet.setText(10, 1, "after the gap");
    books::clearOldRows(sheet);
    EXPECT_EQ(sheetText(sheet, 1, 11), (std::vector<std::string>{
                                           "5  A=\"heading\"",
                                           "6  K=611",
                                           "7  K=711",
                                           "8  K=811",
                                           "9  B=\"after the gap\"",
                                           "10  A=\"after the gap\"",
                                       }));
}

TEST(ClearOldRows, ClearsOldMergedStationBlocksWhole)
{
    // Two old station blocks: only the merged cell's top row holds column 1's value.
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    sheet.merge({4, 1, 5, 1});  // heading merge stays
    for (int first : {6, 9}) {
        sheet.setNumber(first, 1, first);
        sheet.merge({first, 1, first + 2, 1});
        sheet.merge({first, 2, first + 2, 2});
        for (int row = first; row <= first + 2; ++row)
            sheet.setNumber(row, 3, row);
    }
    sheet.setText(12, 3, "next to an empty column 1");
    books::clearOldRows(sheet);
    EXPECT_EQ(sheetText(sheet, 1), (std::vector<std::string>{
                                       "12  C=\"next to an empty column 1\"",
                                       "merge A4:A5",
                                   }));
}

TEST(ClearOldRows, AnEmptyRowSixLeavesEverythingBelow)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    sheet.setText(7, 1, "old");
    books::clearOldRows(sheet);
    EXPECT_EQ(sheetText(sheet, 1), (std::vector<std::string>{"7  A=\"old\""}));
}

}  // namespace
}  // namespace levara::testing
