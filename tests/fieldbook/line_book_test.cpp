#include <gtest/gtest.h>

#include "books/clear_rows.h"
#include "books/fieldbook/fieldbook.h"
#include "books/sheet_cells.h"
#include "records/records.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/sheet_text.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using leveling::ObservationOrder;

xls::Workbook lineBook(const std::vector<std::string>& lines, ObservationOrder order = ObservationOrder::BFFB)
{
    xls::Workbook book = templateWorkbook("exc.xls");
    books::writeLineBook(book.sheet(0), textOf(lines), order);
    return book;
}

std::vector<std::string> surveyedLine(const std::vector<std::vector<std::string>>& stations)
{
    return testing::surveyedLine("BFFB", stations);
}

// Computed values are stored as their decimal numbers, free of binary noise: the
// differences below are 0.11110999999999999, -0.040000000000040004 ... in doubles.
TEST(LineBookStation, WorkedExampleExactInTheStatedOrder)
{
    const xls::Workbook book = lineBook(surveyedLine({bffbStation(kB1, kF1, kF2, kB2)}));
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(numberIn(sheet, 8, 5), 0.11111);
    EXPECT_EQ(numberIn(sheet, 8, 6), 0.11113);
    EXPECT_EQ(numberIn(sheet, 6, 7), -0.04);
    EXPECT_EQ(numberIn(sheet, 7, 7), -0.02);
    EXPECT_EQ(numberIn(sheet, 8, 7), -0.02);
    EXPECT_EQ(numberIn(sheet, 8, 8), 0.11112);
    EXPECT_EQ(numberIn(sheet, 8, 3), 0.6);
    EXPECT_EQ(numberIn(sheet, 8, 4), 0.6);
    EXPECT_EQ(numberIn(sheet, 8, 9), 59.62);

    // Half to even from the exact decimals: h1 = 0.61774 and h2 = 0.61775 give the mean
    // 0.617745, stored as 0.61774; d = 1.0005 m and the length 59.0005 m end even too.
    const xls::Workbook halves =
        lineBook(surveyedLine({bffbStation({"BM1", "1.23062", "30.001"}, {"TP1", "0.61288", "29.000"},
                                           {"TP1", "0.61288", "29.000"}, {"BM1", "1.23063", "30.000"})}));
    EXPECT_EQ(numberIn(halves.sheet(0), 8, 8), 0.61774);
    EXPECT_EQ(numberIn(halves.sheet(0), 8, 3), 1.0);
    EXPECT_EQ(numberIn(halves.sheet(0), 8, 9), 59.0);
}

TEST(LineBookStation, PointNamesAreTheSecondReadingsNamesAsWritten)
{
    // Names that would read as numbers stay the texts they are, in the summary too;
    // nine characters are the most a point number window holds.
    const std::vector<std::pair<std::string, std::string>> backAndFore = {{"0012", "1-2"},
                                                                          {"1E3", "007"},
                                                                          {"123456789", "12.50"}};
    std::vector<std::vector<std::string>> stations;
    for (const auto& [back, fore] : backAndFore)
        stations.push_back(
            bffbStation({"A1", "1.5", "30"}, {"C1", "1.4", "30"}, {fore, "1.4", "30"}, {back, "1.5", "30"}));
    const xls::Workbook book = lineBook(surveyedLine(stations));
    const xls::Worksheet& sheet = book.sheet(0);
    for (std::size_t k = 0; k < backAndFore.size(); ++k) {
        EXPECT_EQ(textIn(sheet, 6 + 3 * int(k), 2), backAndFore[k].first);
        EXPECT_EQ(textIn(sheet, 7 + 3 * int(k), 2), backAndFore[k].second);
    }
    EXPECT_EQ(textIn(sheet, 15, 3), "0012");
    EXPECT_EQ(textIn(sheet, 16, 3), "12.50");
}

TEST(LineBookSearch, StationMayStartWithRf)
{
    const auto rfFirst = stationLines({{"Rf", kB1}, {"Rf", kF1}, {"Rb", kF2}, {"Rb", kB2}});
    EXPECT_EQ(sheetText(lineBook(surveyedLine({rfFirst})).sheet(0)),
              sheetText(lineBook(surveyedLine({bffbStation(kB1, kF1, kF2, kB2)})).sheet(0)));
}

TEST(LineBookSearch, LinesTwoToFourAreReadingsWhateverTheirTags)
{
    std::vector<std::string> lines = {readingLine("BM1", "Rb", "1.52345", "30.100"),
                                      lineEndTotals("TP9", "0.00019", "-0.00019"),
                                      readingLine("TP1", "Rz", "1.41236", "29.520"),
                                      readingLine("BM1", "Rf", "1.52349", "30.120")};
    append(lines, bffbStation(kB1, kF1, kF2, kB2));
    const xls::Workbook book = lineBook(lines);
    const xls::Worksheet& sheet = book.sheet(0);

    EXPECT_EQ(numberIn(sheet, 7, 5), 0.00019);
    EXPECT_EQ(numberIn(sheet, 7, 3), -0.00019);
    EXPECT_EQ(numberIn(sheet, 7, 6), 1.41236);
    EXPECT_EQ(numberIn(sheet, 6, 6), 1.52349);
    // The "Rf" fourth line does not start a station: the next one is station 2.
    EXPECT_EQ(numberIn(sheet, 9, 1), 2);
    EXPECT_EQ(numberIn(sheet, 9, 5), 1.52345);
    EXPECT_EQ(textIn(sheet, 12, 1), "测段计算");
}

TEST(LineBookSearch, PassesOverLinesThatAreNotReadings)
{
    std::vector<std::string> lines = {"Levara test line, observed 2024-05-02", "", startLine("BFFB"),
                                      heightLine("BM1", "100.00000"), "a|b|c"};
    append(lines, bffbStation(kB1, kF1, kF2, kB2));
    append(lines, {"", "   ", readingLine("P7", "Rz", "1.04744", "9.964"), heightLine("TP1", "100.1")});
    append(lines, bffbStation(kB1, kF1, kF2, kB2));
    append(lines, {endLine(), ""});
    const xls::Workbook book = lineBook(lines);
    const xls::Worksheet& sheet = book.sheet(0);

    EXPECT_EQ(numberIn(sheet, 6, 1), 1);
    EXPECT_EQ(numberIn(sheet, 9, 1), 2);
    EXPECT_EQ(textIn(sheet, 12, 1), "测段计算");
    EXPECT_EQ(sheet.lastRow(), 21);
}

TEST(LineBookOrders, BbffAndBfbfGiveTheBffbSheet)
{
    const Sight b1{"BM1", "1.52345", "30.100"}, f1{"TP1", "1.41234", "29.500"};
    const Sight f2{"TP1", "1.41236", "29.520"}, b2{"BM1", "1.52349", "30.120"};
    const Sight b3{"TP1", "0.98765", "41.300"}, f3{"TP2", "1.87654", "40.900"};
    const Sight f4{"TP2", "1.87650", "40.950"}, b4{"TP1", "0.98770", "41.310"};

    const auto bffb = lineBook(surveyedLine({bffbStation(b1, f1, f2, b2), bffbStation(b3, f3, f4, b4)}));
    const auto bbff = lineBook(surveyedLine({stationLines({{"Rb", b1}, {"Rb", b2}, {"Rf", f1}, {"Rf", f2}}),
                                             stationLines({{"Rb", b3}, {"Rb", b4}, {"Rf", f3}, {"Rf", f4}})}),
                               ObservationOrder::BBFF);
    const auto bfbf = lineBook(surveyedLine({stationLines({{"Rb", b1}, {"Rf", f1}, {"Rb", b2}, {"Rf", f2}}),
                                             stationLines({{"Rb", b3}, {"Rf", f3}, {"Rb", b4}, {"Rf", f4}})}),
                               ObservationOrder::BFBF);
    EXPECT_EQ(sheetText(bbff.sheet(0)), sheetText(bffb.sheet(0)));
    EXPECT_EQ(sheetText(bfbf.sheet(0)), sheetText(bffb.sheet(0)));
}

TEST(LineBookSummary, OneStationSummaryStartsOnRowNine)
{
    const xls::Workbook book = lineBook(surveyedLine({bffbStation(kB1, kF1, kF2, kB2)}));
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(textIn(sheet, 9, 1), "测段计算");
    EXPECT_EQ(textIn(sheet, 9, 3), "BM1");
    EXPECT_EQ(textIn(sheet, 10, 3), "TP1");
    EXPECT_EQ(numberIn(sheet, 11, 3), 0.03011);
    EXPECT_EQ(numberIn(sheet, 12, 3), 0.02951);
    EXPECT_EQ(numberIn(sheet, 10, 6), numberIn(sheet, 8, 4));
    EXPECT_EQ(numberIn(sheet, 11, 6), numberIn(sheet, 8, 8));
    EXPECT_EQ(numberIn(sheet, 12, 6), numberIn(sheet, 8, 9) / 1000);
    // The check rows, then the sign-off.
    EXPECT_EQ(textIn(sheet, 13, 1), "检查计算");
    EXPECT_EQ(textIn(sheet, 13, 2), "Σh1 + Σh2 = 0.11111 + 0.11113 = 0.22224");
    EXPECT_EQ(textIn(sheet, 14, 2), "Σ后视 - Σ前视 = 3.04694 - 2.82470 = 0.22224 = Σh1 + Σh2");
    EXPECT_EQ(textIn(sheet, 15, 2), "2Σh中数 = 2 × 0.11112 = 0.22224 = Σh1 + Σh2");
    EXPECT_EQ(textIn(sheet, 18, 1), "测量责任人：");
    EXPECT_EQ(sheet.lastRow(), 18);
}

TEST(LineBookSummary, WithoutStationsTotalsAreZeroAndPointsEmpty)
{
    const xls::Workbook book = lineBook({startLine("BFFB"), heightLine("BM1", "100.00000"), endLine()});
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(textIn(sheet, 6, 1), "测段计算");
    EXPECT_EQ(textIn(sheet, 6, 2), "测段起点");
    EXPECT_TRUE(books::isEmpty(sheet.value(6, 3)));
    EXPECT_TRUE(books::isEmpty(sheet.value(7, 3)));
    for (auto [row, column] : {std::pair{8, 3}, {9, 3}, {7, 6}, {8, 6}, {9, 6}})
        EXPECT_EQ(numberIn(sheet, row, column), 0) << row << "," << column;
    EXPECT_EQ(textIn(sheet, 15, 8), "日期：");
    EXPECT_EQ(sheet.lastRow(), 15);
}

TEST(LineBookSummary, ExportingAgainGivesTheSameSheet)
{
    const auto lines = surveyedLine({bffbStation(kB1, kF1, kF2, kB2), bffbStation(kB2, kF2, kF1, kB1)});
    const xls::Workbook onceBook = lineBook(lines);
    const xls::Worksheet& once = onceBook.sheet(0);
    xls::Workbook twiceBook = lineBook(lines);
    xls::Worksheet& twice = twiceBook.sheet(0);
    books::clearOldRows(twice);
    books::writeLineBook(twice, textOf(lines), ObservationOrder::BFFB);
    EXPECT_EQ(sheetText(twice), sheetText(once));
}

TEST(LineBookGolden, TwoStationsAndSummary)
{
    expectGolden(sheetText(lineBook(goldenBffbLine()).sheet(0), 6), "fieldbook-bffb-two-stations.txt");
}

void expectLineBookError(const std::vector<std::string>& lines, int line, const std::vector<std::string>& words)
{
    expectInputError([&] { lineBook(lines); }, line, words);
}

TEST(LineBookFaults, IncompleteStations)
{
    auto good = bffbStation(kB1, kF1, kF2, kB2);
    auto withEmpty = good;
    withEmpty.insert(withEmpty.begin() + 2, "");
    expectLineBookError(withEmpty, 3, {"station 1", "empty line"});

    auto cut = good;
    cut.pop_back();
    std::vector<std::string> lines = good;
    append(lines, cut);
    expectLineBookError(lines, 5, {"station 2", "starting on line 5", "ends inside", "3 of its 4"});
    // As the work file holds it, one more line end after the text's own.
    lines.push_back("");
    expectLineBookError(lines, 5, {"station 2", "starting on line 5", "ends inside", "3 of its 4"});

    auto short1 = good;
    short1[3] = "For M5|Adr     9|KD1      BM1      01:33:402   1|Rb        1.52349 m   ";
    expectLineBookError(short1, 4, {"station 1", "4 fields"});
}

TEST(LineBookFaults, ReadingsAndDistancesMustBeNumbers)
{
    expectLineBookError(bffbStation(kB1, {"TP1", "1.4x234", "29.5"}, kF2, kB2), 2,
                        {"station 1", "reading \"1.4x234\" is not a number"});
    expectLineBookError(bffbStation(kB1, kF1, kF2, {"BM1", "1.5", ""}), 4, {"station 1", "distance is empty"});
    expectLineBookError(bffbStation(kB1, kF1, {"TP1", "", "29.5"}, kB2), 3, {"reading is empty"});
}

TEST(LineBookFaults, TooManyStationsForOneWorksheet)
{
    // Short lines keep the text small; only the windows are read.
    const std::string back = "x|y|KD1      BM1|Rb        1.52345|HD        30.100|";
    const std::string fore = "x|y|KD1      TP1|Rf        1.41234|HD        29.500|";
    std::string text;
    // The heading's five rows, the summary's four, five check rows and the sign-off row.
    constexpr int kFitting = (65536 - 15) / 3;
    for (int k = 0; k < kFitting; ++k)
        text += back + "\n" + fore + "\n" + fore + "\n" + back + "\n";

    xls::Workbook fullBook = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& full = fullBook.sheet(0);
    books::writeLineBook(full, TextLines::fromText(text), ObservationOrder::BFFB);
    EXPECT_EQ(full.lastRow(), 65535);
    EXPECT_EQ(textIn(full, 65535, 8), "日期：");

    text += back + "\n" + fore + "\n" + fore + "\n" + back + "\n";
    xls::Workbook overBook = xls::Workbook::create({"Sheet1"});
    xls::Worksheet& over = overBook.sheet(0);
    expectInputError([&] { books::writeLineBook(over, TextLines::fromText(text), ObservationOrder::BFFB); },
                     4 * kFitting + 1, {"station 21841", "too many stations"});
    EXPECT_EQ(over.lastRow(), 0);
}

}  // namespace
}  // namespace levara::testing
