#include <gtest/gtest.h>

#include "books/fieldbook/fieldbook.h"
#include "books/sheet_cells.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/sheet_text.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

xls::Workbook bfBook(const std::vector<std::string>& lines)
{
    xls::Workbook book = templateWorkbook("exc2.xls");
    books::writeBfBook(book.sheet(0), textOf(lines));
    return book;
}

std::vector<std::string> bfStation(const Sight& back, const Sight& fore)
{
    return stationLines({{"Rb", back}, {"Rf", fore}});
}

std::vector<std::string> bfLine(const std::vector<std::vector<std::string>>& stations)
{
    return surveyedLine("BF", stations);
}

const Sight kBack{"BM1", "1.52345", "30.120"};
const Sight kFore{"TP1", "1.41234", "29.500"};

TEST(BfBook, WorkedExample)
{
    const xls::Workbook book = bfBook(bfLine({bfStation(kBack, kFore)}));
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(numberIn(sheet, 6, 5), 0.11111);
    EXPECT_EQ(numberIn(sheet, 8, 3), 0.62);
    EXPECT_EQ(numberIn(sheet, 6, 6), 59.62);
    EXPECT_EQ(numberIn(sheet, 6, 4), 1.52345);
    EXPECT_EQ(numberIn(sheet, 7, 3), 29.5);

    // One station: the summary on row 9 holds that station's values.
    EXPECT_EQ(textIn(sheet, 9, 3), "BM1");
    EXPECT_EQ(textIn(sheet, 10, 3), "TP1");
    EXPECT_EQ(numberIn(sheet, 10, 6), numberIn(sheet, 8, 3));
    EXPECT_EQ(numberIn(sheet, 11, 6), numberIn(sheet, 6, 5));
    EXPECT_EQ(numberIn(sheet, 11, 3), 0.03012);
    EXPECT_EQ(numberIn(sheet, 12, 3), 0.0295);
    EXPECT_EQ(numberIn(sheet, 12, 6), 0.05962);
}

TEST(BfBook, DistanceDifferencesAccumulate)
{
    const xls::Workbook book =
        bfBook(bfLine({bfStation(kBack, kFore), bfStation({"TP1", "1.2", "29.800"}, {"TP2", "1.3", "30.200"})}));
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(numberIn(sheet, 8, 4), 0.62);
    EXPECT_EQ(numberIn(sheet, 11, 4), 0.22);
    EXPECT_EQ(textIn(sheet, 13, 5), "视距累计差");
    EXPECT_EQ(numberIn(sheet, 13, 6), 0.22);
    // Σd shares column D with the readings but shows millimetres.
    EXPECT_EQ(sheet.numberFormat(11, 4), "0.000");
    EXPECT_EQ(sheet.numberFormat(10, 4), "0.00000");
}

TEST(BfBook, ElevationsFollowFromTheStartHeight)
{
    const auto stations = {bfStation(kBack, kFore), bfStation({"TP1", "1.2", "29.800"}, {"TP2", "1.3", "30.200"})};
    const xls::Workbook book = bfBook(bfLine(stations));  // BM1 at 100.00000
    EXPECT_EQ(numberIn(book.sheet(0), 6, 7), 100.11111);
    EXPECT_EQ(numberIn(book.sheet(0), 9, 7), 100.01111);
    // Without the start point's height line the column stays empty.
    std::vector<std::string> noHeight;
    for (const auto& station : stations)
        append(noHeight, station);
    const xls::Workbook without = bfBook(noHeight);
    EXPECT_TRUE(books::isEmpty(without.sheet(0).value(6, 7)));
    EXPECT_TRUE(books::isEmpty(without.sheet(0).value(9, 7)));
}

TEST(BfBook, SecondLineIsTheForeReadingWhateverItsTag)
{
    // An "Rf" first line is the back reading; two "Rb" lines make one station.
    const auto expected = sheetText(bfBook(bfLine({bfStation(kBack, kFore), bfStation(kBack, kFore)})).sheet(0));
    EXPECT_EQ(sheetText(bfBook(bfLine({stationLines({{"Rf", kBack}, {"Rb", kFore}}),
                                       stationLines({{"Rb", kBack}, {"Rb", kFore}})}))
                            .sheet(0)),
              expected);
}

TEST(BfBook, LooksLikeTheGoldenBook)
{
    expectGolden(sheetText(bfBook(goldenBfLine()).sheet(0), 6), "fieldbook-bf.txt");
}

TEST(BfBook, IncompleteStations)
{
    expectInputError(
        [] {
            bfBook({readingLine("BM1", "Rb", "1.5", "30"), "", readingLine("TP1", "Rf", "1.4", "30")});
        },
        2, {"station 1", "empty line"});
    auto lines = bfStation(kBack, kFore);
    lines.push_back(readingLine("TP1", "Rb", "1.5", "30"));
    expectInputError([&] { bfBook(lines); }, 3, {"station 2", "ends inside", "1 of its 2"});
    expectInputError(
        [] {
            bfBook(bfStation(kBack, {"TP1", "1.4", "30,5"}));
        },
        2, {"distance \"30,5\" is not a number"});
}

}  // namespace
}  // namespace levara::testing
