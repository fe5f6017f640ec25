#include <gtest/gtest.h>

#include "books/tables/tables.h"
#include "records/records.h"
#include "tests/support/raw_lines.h"
#include "tests/support/sheet_text.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

void write(xls::Worksheet& sheet, std::string text)
{
    books::writeIntermediateTable(sheet, TextLines::fromText(std::move(text)));
}

const std::string bm1 = rawLine("BM1", "", "", "", "100.00000");
const std::string back = rawLine("BM1", "R ", "1.23456", "30.120", "");
const std::string p1 = rawLine("P1", "Rz", "1.50000", "12.480", "99.73456");

TEST(IntermediateTable, PointBackSightAndIntermediateSight)
{
    xls::Workbook book = templateWorkbook("exc1.xls");
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, lines({bm1, back, p1}));
    expectGolden(sheetText(sheet, 6), "tables-intermediate-example.txt");
}

TEST(IntermediateTable, SurveyThroughTheIntermediateSightFilter)
{
    // Two set-ups: the second stands on P2, an intermediate point of the first.
    // The "R " line also carrying a height is kept twice by the filter and is of
    // no kind here; the rejected reading is dropped by the filter.
    const std::string raw = lines({
        kStartLine,
        rawLine("BM1", "", "", "", "52.31000"),
        rawLine("BM1", "R ", "1.41230", "35.210", "", "#####"),
        rawLine("BM1", "R ", "1.41260", "35.220", ""),
        rawLine("P1", "Rz", "1.02400", "18.400", "52.69860"),
        rawLine("P2", "Rz", "2.11810", "40.050", "51.60450"),
        rawLine("P2", "R ", "0.98770", "22.310", ""),
        rawLine("P3", "Rz", "1.75520", "31.900", "50.83700"),
        rawLine("P3", "R ", "1.60000", "31.900", "50.83700"),
        rawLine("BM2", "", "", "", "50.12000"),
    });
    xls::Workbook book = templateWorkbook("exc1.xls");
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, filterLines(RecordFilter::IntermediateSights, TextLines::fromText(raw)));
    expectGolden(sheetText(sheet, 6), "tables-intermediate-survey.txt");
}

TEST(IntermediateTable, BackReadingOverwritesTheRowOfTheLastPoint)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, lines({bm1, back, rawLine("BM1", "R ", "1.50000", "30.120", "")}));
    EXPECT_EQ(sheetText(sheet, 6), std::vector<std::string>{"6  A=\"BM1\"  B=101.5  C=1.5  E=100  | borders A-G"});
}

TEST(IntermediateTable, LinesOfNoKindWriteNothingAndBorderTheLastPointAgain)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, lines({bm1, rawLine("TP", "Rb", "1.20000", "30.000", "98.80000"),  // reading code is not "Rz"
                        rawLine("TP", "RZ", "1.20000", "30.000", "98.80000"),       // capital Z
                        rawLine("TP", "R ", "1.20000", "30.000", "98.80000"),       // a single reading with a height
                        "For M5|Adr    12|KD1      BM1      10:21:402   1|R         1.23456 m   |HD",
                        "no separators at all", ""}));
    EXPECT_EQ(sheetText(sheet, 1), std::vector<std::string>{"6  A=\"BM1\"  E=100  | borders A-G"});
}

TEST(IntermediateTable, NothingBeforeTheFirstPointTouchesTheHeading)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    sheet.setText(5, 5, "高程");
    write(sheet, lines({kStartLine, back, bm1}));
    EXPECT_EQ(sheetText(sheet, 1), (std::vector<std::string>{"5  E=\"高程\"", "6  A=\"BM1\"  E=100  | borders A-G"}));
}

TEST(IntermediateTable, ReadingThatIsNoPlainNumberStaysTextAndCountsByItsLeadingNumber)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, lines({bm1, rawLine("BM1", "R ", "1.5m", "30.000", "")}));
    EXPECT_EQ(sheetText(sheet, 6), std::vector<std::string>{"6  A=\"BM1\"  B=101.5  C=\"1.5m\"  E=100  | borders A-G"});
}

TEST(IntermediateTable, EmptyTextWritesNothing)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, "");
    write(sheet, "\r\n\r\n");
    EXPECT_EQ(sheet.lastRow(), 0);
}

}  // namespace
}  // namespace levara::testing

namespace levara::testing {
namespace {

TEST(IntermediateTable, RejectedSightIsNoPointAndALineBackReadingGivesTheCollimation)
{
    // A leveling line's back reading (Rb) on BM1, a rejected sight and its repeat.
    const std::string raw = lines({
        rawLine("BM1", "", "", "", "100.00000"),
        rawLine("BM1", "Rb", "1.23456", "30.120", ""),
        rawLine("P1", "Rz", "1.50100", "12.480", "99.73356", "#####"),
        rawLine("P1", "Rz", "1.50000", "12.480", "99.73456"),
        rawLine("TP1", "Rf", "0.50000", "30.000", ""),
    });
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, filterLines(RecordFilter::IntermediateSights, TextLines::fromText(raw)));
    EXPECT_EQ(sheetText(sheet, 6), (std::vector<std::string>{
                                       "6  A=\"BM1\"  B=101.23456  C=1.23456  E=100  | borders A-G",
                                       "7  A=\"P1\"  D=1.5  E=99.73456  | borders A-G",
                                   }));
}

}  // namespace
}  // namespace levara::testing
