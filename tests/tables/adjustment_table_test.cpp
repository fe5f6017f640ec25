// The 高差配赋表 as a surveyor gets it: saved through the export frame into a copy of
// the built template, read back by the engine and by xlrd.
#include <gtest/gtest.h>

#include <cmath>

#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"
#include "tests/leveling/routes.h"
#include "tests/support/readers.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

// The pair route of route_test.cpp with a return run 10 mm off: its discrepancy and
// the misclosure (+5 mm against 二等's 4 mm) are both over their limits.
TEST(SavedAdjustmentTable, ReadsBackTheSameInEveryReader)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    const std::string text =
        routeText({{"A", "P1", 0.4, 400, 4}, {"P1", "A", -0.41, 420, 6}, {"P1", "B", 0.6, 590, 5}});
    const TextLines lines = TextLines::viewOf(text);
    leveling::KnownPoints known = leveling::parseKnownPoints("A 10\nB 11\n", scratch / "known.txt");
    const leveling::Standard second = leveling::chooseStandard(leveling::builtinLimits(2), false);
    const leveling::Adjustment adjustment = leveling::adjustRoute(leveling::readSections(lines), lines, &known,
                                                                  leveling::Distribution::ByDistance, &second);

    const auto file = scratch / "adjustment.xls";
    books::exportWorkbook(books::WorkbookKind::AdjustmentTable, temp, text, file, &second, {}, &adjustment);
    const xls::Workbook book = openWorkbook(file);
    const std::vector<std::string> engine = sheetText(book.sheet(0), 1, 8);
    EXPECT_EQ(xlrdSheetText(file, 0, 1, 8), engine);
    expectGolden(engine, "adjustment-table.txt");
    // The last height is the known one, to the last digit.
    EXPECT_EQ(book.sheet(0).value(6, 7), xls::Value(11.0));

    // 精度评定 beside it: the pair's Δ = 400 − 410 = −10.00 mm over R = 0.41 km,
    // ΔΔ/R = 243.90; M_Δ = √(243.90 / 4) = 7.81 mm, over 二等's 1.0. No loop.
    const std::vector<std::string> precision = sheetText(book.sheet(1), 1, 8);
    EXPECT_EQ(xlrdSheetText(file, 1, 1, 8), precision);
    expectGolden(precision, "precision-table.txt");
    EXPECT_NEAR(std::get<double>(book.sheet(1).value(4, 3)), -10.0, 0.005);
    EXPECT_NEAR(std::get<double>(book.sheet(1).value(4, 4)), 100 / 0.41, 0.005);
    EXPECT_NEAR(std::get<double>(book.sheet(1).value(7, 2)), std::sqrt(100 / 0.41 / 4), 0.005);
}

// A network of two known points and a junction J, one section levelled forward and
// back: the 平差成果表 as the engine and xlrd read it back.
TEST(SavedNetworkTable, ReadsBackTheSameInEveryReader)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    const std::string text = routeText(
        {{"A", "J", 0.4, 400, 4}, {"J", "A", -0.4012, 420, 6}, {"J", "B", 0.6, 590, 5}, {"C", "J", -0.3, 810, 8}});
    const TextLines lines = TextLines::viewOf(text);
    leveling::KnownPoints known = leveling::parseKnownPoints("A 10\nB 11.0012\nC 10.7\n", scratch / "known.txt");
    const leveling::Standard second = leveling::chooseStandard(leveling::builtinLimits(2), false);
    books::NetworkReport report;
    report.adjustment = leveling::adjustNetwork(
        leveling::networkOf(leveling::readSections(lines), lines, &known, leveling::Distribution::ByDistance, &second));
    report.standard = "二等";
    report.knownFile = known.file;
    const auto precision = [&](const std::string& of, books::NetworkReport& into) {
        leveling::CheckReport check = leveling::checkSections(leveling::readSections(TextLines::viewOf(of)), second);
        into.precision = check.precision;
        into.randomErrorLimit = check.randomErrorLimit;
        into.totalErrorLimit = check.totalErrorLimit;
    };
    precision(text, report);

    const auto file = scratch / "network.xls";
    books::exportWorkbook(books::WorkbookKind::NetworkTable, temp, text, file, &second, {}, nullptr, &report);
    const xls::Workbook book = openWorkbook(file);
    const std::vector<std::string> engine = sheetText(book.sheet(0), 1, 9);
    EXPECT_EQ(xlrdSheetText(file, 0, 1, 9), engine);
    expectGolden(engine, "network-table.txt");
    // M_Δ from the one pair: Δ = 0.4 − 0.4012 = −1.2 mm over R = 0.41 km,
    // √(1.44 / 0.41 / 4) = 0.94 mm. No loop: M_W's cell is left empty.
    EXPECT_EQ(book.sheet(0).value(18, 5), xls::Value(0.94));
    EXPECT_EQ(book.sheet(0).value(19, 5), xls::Value());

    // A loop A–P–Q–A closing by +1.0 mm over F = 1.5 km: M_W = √(1 / 1.5) = 0.82 mm;
    // no pair: M_Δ's cell empty.
    const std::string loop = routeText({{"A", "P", 0.5, 500, 4}, {"P", "Q", 0.3, 400, 4}, {"Q", "A", -0.799, 600, 6}});
    const TextLines loopLines = TextLines::viewOf(loop);
    books::NetworkReport loopReport;
    loopReport.adjustment =
        leveling::adjustNetwork(leveling::networkOf(leveling::readSections(loopLines), loopLines, &known,
                                                    leveling::Distribution::ByDistance, &second));
    loopReport.standard = "二等";
    loopReport.knownFile = known.file;
    precision(loop, loopReport);
    books::exportWorkbook(books::WorkbookKind::NetworkTable, temp, loop, file, &second, {}, nullptr, &loopReport);
    const xls::Workbook loopBook = openWorkbook(file);
    const int below = 4 + 3 + 1 + 3 + 6;  // the points, the sections' heading and rows, six summary rows
    EXPECT_EQ(loopBook.sheet(0).value(below, 5), xls::Value());
    EXPECT_EQ(loopBook.sheet(0).value(below + 1, 5), xls::Value(0.82));
    const std::vector<std::string> rows = xlrdSheetText(file, 0, 1, 9);
    EXPECT_NE(rows[std::size_t(below) - 1].find("文本中无往返测段，不计算 M_Δ"), std::string::npos)
        << rows[std::size_t(below) - 1];
    EXPECT_NE(rows[std::size_t(below)].find(
                  "N = 1 个闭合环；限差 ±2.00 mm（GB/T 12897-2006，限差值未经公开来源证实）：未超限"),
              std::string::npos)
        << rows[std::size_t(below)];
}

// Under 四等 computed heights are kept to the millimetre, half to even, and the known
// heights to every digit they were given with.
TEST(SavedAdjustmentTable, HeightsToTheOrdersResolutionAndKnownHeightsAsGiven)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    const std::string text =
        routeText({{"A", "P1", 0.4, 400, 4}, {"P1", "A", -0.41, 420, 6}, {"P1", "B", 0.6, 590, 5}});
    const TextLines lines = TextLines::viewOf(text);
    leveling::KnownPoints known = leveling::parseKnownPoints("A 10.2187\nB 10.98165\n", scratch / "known.txt");
    const leveling::Standard fourth = leveling::chooseStandard(leveling::builtinLimits(4), false);
    const leveling::Adjustment adjustment = leveling::adjustRoute(leveling::readSections(lines), lines, &known,
                                                                  leveling::Distribution::ByDistance, &fourth);
    const auto file = scratch / "adjustment.xls";
    books::exportWorkbook(books::WorkbookKind::AdjustmentTable, temp, text, file, &fourth, {}, &adjustment);
    const xls::Workbook book = openWorkbook(file);
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(sheet.value(4, 7), xls::Value(10.2187));
    EXPECT_EQ(sheet.numberFormat(4, 7), "0.0000");
    const double p1 = leveling::toMetres(adjustment.points[1].height);
    EXPECT_EQ(sheet.value(5, 7), xls::Value(std::nearbyint(p1 * 1000) / 1000));
    EXPECT_EQ(sheet.numberFormat(5, 7), "0.000");
    EXPECT_EQ(sheet.value(6, 7), xls::Value(10.98165));
    EXPECT_EQ(sheet.numberFormat(6, 7), "0.00000");
}

}  // namespace
}  // namespace levara::testing
