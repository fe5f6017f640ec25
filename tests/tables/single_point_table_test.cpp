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
    books::writeSinglePointTable(sheet, TextLines::fromText(std::move(text)));
}

TEST(SinglePointTable, SurveyThroughTheSinglePointFilter)
{
    // Rejected readings are dropped by the filter; a reading carrying a height keeps it as 高程.
    const std::string raw = lines({
        kStartLine,
        rawLine("0012", "R ", "1.5", "25.321", ""),
        rawLine("13", "R ", "1.62840", "31.07", "", "#####"),
        rawLine("13", "R ", "1.62810", "31.070", ""),
        rawLine("BM1", "R ", "0.91200", "12.500", "48.00000"),
        rawLine("14", "R ", "2.04410", "8.955", ""),
    });
    xls::Workbook book = templateWorkbook("exc0.xls");
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, filterLines(RecordFilter::SinglePoints, TextLines::fromText(raw)));
    expectGolden(sheetText(sheet, 3), "tables-single-survey.txt");
}

TEST(SinglePointTable, UnfilteredTextGivesARowPerReadingLineAndFramesRowTwoFirst)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, lines({kStartLine, rawLine("BM1", "", "", "", "48.00000"), rawLine("7", "Rb", "1.20000", "30.000", ""),
                        rawLine("7", "Rz", "1.10000", "30.000", "48.10000"), "no separators at all"}));
    EXPECT_EQ(sheetText(sheet, 1), (std::vector<std::string>{
                                       "2  | borders A-F",
                                       "3  A=1  B=7  C=30  D=1.2  | borders A-F",
                                       "4  A=2  B=7  C=30  D=1.1  E=48.1  | borders A-F",
                                   }));
}

TEST(SinglePointTable, PointNumberThatIsNoNumberIsWrittenAsItsText)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, lines({rawLine("A-12", "R ", "1.5", "25.321", ""), rawLine("12 3", "R ", "1.5", "25.321", ""),
                        rawLine("-0.50", "R ", "abc", "", "")}));
    EXPECT_EQ(sheetText(sheet, 3), (std::vector<std::string>{
                                       "3  A=1  B=\"A-12\"  C=25.321  D=1.5  | borders A-F",
                                       "4  A=2  B=\"12 3\"  C=25.321  D=1.5  | borders A-F",
                                       "5  A=3  B=-0.5  D=\"abc\"  | borders A-F",
                                   }));
}

TEST(SinglePointTable, ReadingLineWithoutDistanceFieldStopsBeforeAnyCellIsWritten)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    const std::string good = rawLine("12", "R ", "1.5", "25.321", "");
    try {
        write(sheet, lines({good, "", "For M5|Adr    12|KD1       13      10:21:402   1|R         1.62810 m   "}));
        FAIL() << "no error";
    } catch (const InputError& error) {
        EXPECT_EQ(error.line(), LineNumber(3));
        EXPECT_STREQ(error.what(),
                     "line 3: reading line without a distance field (field 4); the single-point table needs one "
                     "on every reading line");
    }
    EXPECT_EQ(sheet.lastRow(), 0);
    // Without a reading tag the same short line is of no kind.
    write(sheet, lines({good, "For M5|Adr    12|KD1       13      10:21:402   1|", "For M5"}));
    EXPECT_EQ(sheetText(sheet, 1), std::vector<std::string>{"3  A=1  B=12  C=25.321  D=1.5  | borders A-F"});
}

TEST(SinglePointTable, EmptyTextWritesNothing)
{
    xls::Workbook book = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& sheet = book.sheet(0);
    write(sheet, "");
    write(sheet, "\r\n\r\n");
    EXPECT_EQ(sheet.lastRow(), 0);
}

}  // namespace
}  // namespace levara::testing
