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
    const TempFolder temp(makeProgramDir(scratch));
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
}

// Under 四等 computed heights are kept to the millimetre, half to even, and the known
// heights to every digit they were given with.
TEST(SavedAdjustmentTable, HeightsToTheOrdersResolutionAndKnownHeightsAsGiven)
{
    ScratchDir scratch;
    const TempFolder temp(makeProgramDir(scratch));
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
