#include <gtest/gtest.h>

#include "books/clear_rows.h"
#include "books/fieldbook/fieldbook.h"
#include "books/sheet_cells.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/sheet_text.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

xls::Workbook alternatingBook(const std::vector<std::string>& lines)
{
    xls::Workbook book = templateWorkbook("exc.xls");
    books::writeAlternatingBook(book.sheet(0), textOf(lines));
    return book;
}

xls::Workbook bffbBook(const std::vector<std::string>& lines)
{
    xls::Workbook book = templateWorkbook("exc.xls");
    books::writeLineBook(book.sheet(0), textOf(lines), leveling::ObservationOrder::BFFB);
    return book;
}

std::vector<std::string> line(const std::vector<std::vector<std::string>>& stations)
{
    return surveyedLine("aBFFB", stations);
}

Observed station(int i) { return observedStation(i); }

TEST(AlternatingBook, ForeFirstStationGivesTheBackFirstBlockMarkedWithItsOrder)
{
    const xls::Workbook book = alternatingBook({fbbfStation(kF1, kB1, kB2, kF2)});
    const xls::Workbook backFirstBook = alternatingBook(bffbStation(kB1, kF1, kF2, kB2));
    const xls::Worksheet& fore = book.sheet(0);
    EXPECT_EQ(sheetText(fore, 6, 9), sheetText(backFirstBook.sheet(0), 6, 9));
    EXPECT_EQ(textIn(fore, 6, 10), "前后后前");
    EXPECT_EQ(textIn(backFirstBook.sheet(0), 6, 10), "后前前后");
    EXPECT_TRUE(books::isEmpty(fore.value(7, 10)));  // the block's other remarks stay free
    EXPECT_TRUE(books::isEmpty(fore.value(8, 10)));
    EXPECT_EQ(numberIn(fore, 8, 5), 0.11111);
    EXPECT_EQ(numberIn(fore, 8, 6), 0.11113);
    EXPECT_EQ(numberIn(fore, 6, 7), -0.04);
    EXPECT_EQ(numberIn(fore, 7, 7), -0.02);
}

TEST(AlternatingBook, AlternatingStationsLandInTheirRows)
{
    const Observed s1 = station(1), s2 = station(2);
    const xls::Workbook book = alternatingBook(line({backFirst(s1), foreFirst(s2), backFirst(station(3))}));
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(numberIn(sheet, 9, 1), 2);
    // Station 2's second and third lines in the back row, its first and fourth in the fore row.
    EXPECT_EQ(numberIn(sheet, 9, 5), 1.52345);
    EXPECT_EQ(numberIn(sheet, 9, 6), 1.52349);
    EXPECT_EQ(numberIn(sheet, 10, 5), 1.42234);
    EXPECT_EQ(numberIn(sheet, 10, 6), 1.42236);
    EXPECT_EQ(textIn(sheet, 9, 2), "S2B");
    EXPECT_EQ(textIn(sheet, 10, 2), "S2F");
    EXPECT_EQ(numberIn(sheet, 12, 1), 3);
}

TEST(AlternatingBook, AllBackFirstIsTheBffbBook)
{
    const auto lines = line({backFirst(station(1)), backFirst(station(2)), backFirst(station(3))});
    const xls::Workbook book = alternatingBook(lines);
    EXPECT_EQ(sheetText(book.sheet(0), 6, 9), sheetText(bffbBook(lines).sheet(0), 6, 9));
    for (int row : {6, 9, 12})
        EXPECT_EQ(textIn(book.sheet(0), row, 10), "后前前后");
    EXPECT_TRUE(books::isEmpty(bffbBook(lines).sheet(0).value(6, 10)));
}

TEST(AlternatingBook, RfFourthLineAlsoStartsAForeFirstStation)
{
    // B1 F1 F2 and an "Rf" fourth line, which is then F1 of the next station.
    std::vector<std::string> lines = stationLines({{"Rb", kB1}, {"Rf", kF1}, {"Rf", kF2}, {"Rf", kB2}});
    append(lines, stationLines({{"Rb", kB1}, {"Rb", kB2}, {"Rf", kF2}}));
    const xls::Workbook book = alternatingBook(lines);
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(numberIn(sheet, 6, 6), 1.52349);  // B2 from the "Rf" line
    EXPECT_EQ(numberIn(sheet, 9, 1), 2);
    EXPECT_EQ(numberIn(sheet, 10, 5), 1.52349);  // the same line as F1
    EXPECT_EQ(numberIn(sheet, 9, 5), 1.52345);
    EXPECT_EQ(numberIn(sheet, 10, 6), 1.41236);
    EXPECT_EQ(textIn(sheet, 12, 1), "测段计算");
}

TEST(AlternatingBook, IncompleteStation)
{
    auto lines = foreFirst(station(1));
    lines.insert(lines.begin() + 3, "");
    expectInputError([&] { alternatingBook(lines); }, 4, {"station 1", "empty line"});
}

// The two-way book, both worksheets.
struct TwoWay {
    xls::Workbook book = templateWorkbook("exc3.xls");

    explicit TwoWay(const std::vector<std::string>& lines) { write(lines); }
    void write(const std::vector<std::string>& lines)
    {
        books::writeTwoWayBook(book.sheet(0), book.sheet(1), textOf(lines));
    }
    const xls::Worksheet& forward() { return book.sheet(0); }
    const xls::Worksheet& back() { return book.sheet(1); }
};

TEST(TwoWayBook, StrictAlternationSplitsIntoForwardAndReturnStations)
{
    TwoWay book(line({backFirst(station(1)), foreFirst(station(2)), backFirst(station(3)), foreFirst(station(4)),
                      backFirst(station(5))}));
    EXPECT_EQ(textIn(book.forward(), 6, 2), "S1B");
    EXPECT_EQ(textIn(book.forward(), 9, 2), "S3B");
    EXPECT_EQ(textIn(book.forward(), 12, 2), "S5B");
    EXPECT_EQ(textIn(book.forward(), 15, 1), "测段计算");

    // The return book starts from the last fore-first station and books its fore staff as back.
    EXPECT_EQ(numberIn(book.back(), 6, 1), 1);
    EXPECT_EQ(textIn(book.back(), 6, 2), "S4F");
    EXPECT_EQ(textIn(book.back(), 7, 2), "S4B");
    EXPECT_EQ(textIn(book.back(), 9, 2), "S2F");
    EXPECT_EQ(textIn(book.back(), 10, 2), "S2B");
    EXPECT_EQ(textIn(book.back(), 12, 1), "测段计算");
    EXPECT_EQ(textIn(book.back(), 12, 3), "S4F");
    EXPECT_EQ(textIn(book.back(), 13, 3), "S2B");
}

TEST(TwoWayBook, ReturnBookArithmetic)
{
    // Observed F1' 1.41234, B1' 1.52345, B2' 1.52349, F2' 1.41236.
    TwoWay book(line({fbbfStation({"TP1", "1.41234", "29.500"}, {"BM1", "1.52345", "30.100"},
                                  {"BM1", "1.52349", "30.120"}, {"TP1", "1.41236", "29.520"})}));
    const xls::Worksheet& sheet = book.back();
    EXPECT_EQ(numberIn(sheet, 8, 5), -0.11111);
    EXPECT_EQ(numberIn(sheet, 8, 6), -0.11113);
    EXPECT_EQ(numberIn(sheet, 6, 7), -0.02);
    EXPECT_EQ(numberIn(sheet, 7, 7), -0.04);
    EXPECT_EQ(numberIn(sheet, 8, 7), 0.02);
    EXPECT_EQ(numberIn(sheet, 8, 8), -0.11112);
    EXPECT_EQ(numberIn(sheet, 8, 3), -0.6);
    EXPECT_EQ(numberIn(sheet, 8, 9), 59.62);
    // Marked as the level recorded the station: fore staff first.
    EXPECT_EQ(textIn(sheet, 6, 10), "前后后前");
    EXPECT_EQ(textIn(sheet, 9, 3), "TP1");
    EXPECT_EQ(textIn(sheet, 10, 3), "BM1");
}

TEST(TwoWayBook, ReversedWorkFileHoldsTheNonEmptyLinesLastFirst)
{
    EXPECT_EQ(books::reversedWorkText(textOf({"A1", "", "A2", "   ", "A3"})), "A3\r\n   \r\nA2\r\nA1\r\n");
}

TEST(TwoWayBook, StationsOfOneOrderOnly)
{
    TwoWay backOnly(line({backFirst(station(1)), backFirst(station(2))}));
    EXPECT_EQ(textIn(backOnly.back(), 6, 1), "测段计算");
    EXPECT_TRUE(books::isEmpty(backOnly.back().value(6, 3)));
    EXPECT_TRUE(books::isEmpty(backOnly.back().value(7, 3)));
    EXPECT_EQ(numberIn(backOnly.back(), 9, 6), 0);
    EXPECT_EQ(backOnly.back().lastRow(), 15);
    EXPECT_EQ(textIn(backOnly.forward(), 12, 1), "测段计算");

    TwoWay foreOnly(line({foreFirst(station(1)), foreFirst(station(2))}));
    EXPECT_EQ(foreOnly.forward().lastRow(), 15);
    EXPECT_EQ(numberIn(foreOnly.forward(), 7, 6), 0);
    EXPECT_EQ(textIn(foreOnly.back(), 12, 1), "测段计算");
}

TEST(TwoWayBook, WritingAgainGivesTheSameBooks)
{
    const auto lines = line({backFirst(station(1)), foreFirst(station(2)), backFirst(station(3))});
    TwoWay once(lines);
    TwoWay twice(lines);
    twice.book.sheet(1).setText(14, 1, "left over");  // below the return book: cleared as old rows
    books::clearOldRows(twice.book.sheet(0));
    books::clearOldRows(twice.book.sheet(1));
    twice.write(lines);
    EXPECT_EQ(sheetText(twice.forward()), sheetText(once.forward()));
    EXPECT_EQ(sheetText(twice.back()), sheetText(once.back()));
}

TEST(TwoWayBook, PassedOverStationsAreCheckedWholeButNotComputed)
{
    // A fore-first station with a reading that is not a number: the forward book passes
    // it over, the return book writes it and stops on it, naming the line of the text.
    auto bad = foreFirst(station(2));
    bad[2] = readingLine("S2B", "Rb", "n/a", "32.300");
    std::vector<std::string> lines = backFirst(station(1));
    append(lines, bad);
    xls::Workbook book = xls::Workbook::create({"往测", "返测"});
    expectInputError([&] { books::writeTwoWayBook(book.sheet(0), book.sheet(1), textOf(lines)); }, 7,
                     {"station 1 of the return book", "starting on line 8", "\"n/a\" is not a number"});

    // An empty line inside a passed-over station stops the forward book.
    auto gap = foreFirst(station(2));
    gap.insert(gap.begin() + 1, "");
    lines = backFirst(station(1));
    append(lines, gap);
    expectInputError([&] { books::writeTwoWayBook(book.sheet(0), book.sheet(1), textOf(lines)); }, 6,
                     {"fore-first station starting on line 5", "passed over by the forward book", "empty line"});
}

TEST(TwoWayBook, ReturnStationAcrossAnEmptyLineIsIncomplete)
{
    // Line 5 is the second line of a forward station, but opens a return station that
    // reaches back over the empty line 2, which the reversed file leaves out.
    const std::vector<std::string> lines = {readingLine("P1", "Rz", "1.1", "10.0"),
                                            "",
                                            readingLine("P2", "Rz", "1.2", "10.0"),
                                            readingLine("TP1", "Rb", "1.3", "20.0"),
                                            readingLine("TP2", "Rf", "1.4", "20.0"),
                                            readingLine("P3", "Rz", "1.5", "10.0"),
                                            readingLine("P4", "Rz", "1.6", "10.0")};
    xls::Workbook book = xls::Workbook::create({"往测", "返测"});
    expectInputError([&] { books::writeTwoWayBook(book.sheet(0), book.sheet(1), textOf(lines)); }, 2,
                     {"station 1 of the return book", "starting on line 5", "empty line"});
}

TEST(TwoWayBook, LooksLikeTheGoldenBooks)
{
    TwoWay book(goldenTwoWayLine());
    std::vector<std::string> lines = {"worksheet 1"};
    append(lines, sheetText(book.forward(), 6));
    lines.push_back("worksheet 2");
    append(lines, sheetText(book.back(), 6));
    expectGolden(lines, "fieldbook-two-way.txt");
}

}  // namespace
}  // namespace levara::testing
