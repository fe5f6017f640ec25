// The precision assessment and the loops the lines close, against figures worked out
// by hand in each test.
#include <gtest/gtest.h>

#include <cmath>

#include "leveling/leveling.h"
#include "tests/leveling/routes.h"

namespace levara::testing {
namespace {

leveling::CheckReport checked(const std::vector<HandSection>& sections, int order = 2)
{
    const TextLines lines = TextLines::fromText(routeText(sections));
    return leveling::checkSections(leveling::readSections(lines),
                                   leveling::chooseStandard(leveling::builtinLimits(order), false));
}

std::vector<leveling::Finding> findingsOf(const leveling::CheckReport& report, leveling::CheckItem item)
{
    std::vector<leveling::Finding> found;
    for (const leveling::Finding& finding : report.findings)
        if (finding.item == item)
            found.push_back(finding);
    return found;
}

TEST(Precision, RandomErrorFromTheForwardReturnPairs)
{
    // Δ = forward + return: −3.00 mm over 1 km, +2.00 over 2 km, +1.00 over 0.5 km.
    // [ΔΔ/R] = 9 + 2 + 2 = 13; M_Δ = √(13 / (4·3)) = 1.0408 mm, over 二等's 1.0.
    const leveling::CheckReport report = checked({{"A", "B", 0.5, 1000, 2},
                                                  {"B", "A", -0.503, 1000, 2},
                                                  {"B", "C", 0.2, 2000, 2},
                                                  {"C", "B", -0.198, 2000, 2},
                                                  {"C", "D", -0.1, 500, 2},
                                                  {"D", "C", 0.101, 500, 2}});
    const leveling::Precision& p = report.precision;
    ASSERT_EQ(p.pairs.size(), 3u);
    const double expected[][3] = {{1.0, -3.0, 9.0}, {2.0, 2.0, 2.0}, {0.5, 1.0, 2.0}};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_NEAR(p.pairs[k].lengthKm, expected[k][0], 0.005);
        EXPECT_NEAR(p.pairs[k].discrepancyMm, expected[k][1], 0.005);
        EXPECT_NEAR(p.pairs[k].weightedSquare, expected[k][2], 0.005);
    }
    EXPECT_EQ(p.pairs[0].from, "A");
    EXPECT_EQ(p.pairs[0].to, "B");
    ASSERT_TRUE(p.randomErrorMm);
    EXPECT_NEAR(*p.randomErrorMm, std::sqrt(13.0 / 12), 0.005);
    EXPECT_FALSE(p.totalErrorMm);  // no loop
    ASSERT_TRUE(report.randomErrorLimit);
    EXPECT_EQ(report.randomErrorLimit->maxMm, 1.0);
    EXPECT_EQ(findingsOf(report, leveling::CheckItem::RandomError).size(), 1u);
    // The three pairs follow each other as the route A–D: Σ Δ = 0.
    EXPECT_TRUE(findingsOf(report, leveling::CheckItem::RouteForwardReturn).empty());
    // Under 三等's 3.0 mm it passes.
    EXPECT_TRUE(findingsOf(checked({{"A", "B", 0.5, 1000, 2}, {"B", "A", -0.503, 1000, 2}}, 3),
                           leveling::CheckItem::RandomError)
                    .empty());
}

// Three lines round A: +100 + 50 − 140 = +10.00 mm over F = 4 km. Every sight 50 m,
// every reading within 二等's limits, the stations even: only the loop is over.
const std::vector<HandSection> kThreeLineLoop = {{"A", "B", 0.1, 1000, 10},
                                                 {"B", "C", 0.05, 1000, 10},
                                                 {"C", "A", -0.14, 2000, 20}};

TEST(Precision, ALoopOfThreeLinesIsCheckedAsTheAdjustmentClosesIt)
{
    const leveling::CheckReport report = checked(kThreeLineLoop);
    // The loop, and M_W of it.
    ASSERT_EQ(report.findings.size(), 2u);
    const leveling::Finding& loop = report.findings.front();
    ASSERT_EQ(loop.item, leveling::CheckItem::LoopMisclosure);
    EXPECT_NEAR(loop.value, 10.0, 1e-9);
    EXPECT_NEAR(*loop.upper, 8.0, 1e-9);  // 4√4
    EXPECT_EQ(loop.point, "A–B–C–A");

    const TextLines lines = TextLines::fromText(routeText(kThreeLineLoop, "10.00000"));
    const leveling::Standard standard = leveling::chooseStandard(leveling::builtinLimits(2), false);
    const leveling::Adjustment adjusted = leveling::adjustRoute(leveling::readSections(lines), lines, nullptr,
                                                                leveling::Distribution::ByDistance, &standard);
    EXPECT_EQ(adjusted.misclosure, leveling::HundredthsOfMm(1000));
    EXPECT_TRUE(adjusted.misclosureOver);

    // W = 10 mm, F = 4 km: M_W = √(100 / 4 / 1) = 5.00 mm, over 二等's 2.0.
    ASSERT_EQ(report.precision.loops.size(), 1u);
    EXPECT_NEAR(report.precision.loops[0].weightedSquare, 25.0, 0.005);
    EXPECT_NEAR(*report.precision.totalErrorMm, 5.0, 0.005);
    EXPECT_EQ(report.findings.back().item, leveling::CheckItem::TotalError);
}

TEST(Precision, TotalErrorFromTheLoopsOfANetwork)
{
    // A–B–C–A closes +10.00 mm over 4 km; B–D and D–C close the loop C–B–D–C:
    // −50 + 30 + 19.6 = −0.40 mm over 3 km. [WW/F] = 25 + 0.053333; N = 2;
    // M_W = √(25.053333 / 2) = 3.5393 mm.
    const leveling::CheckReport report = checked({{"A", "B", 0.1, 1000, 10},
                                                  {"B", "C", 0.05, 1000, 10},
                                                  {"C", "A", -0.14, 2000, 20},
                                                  {"B", "D", 0.03, 1000, 10},
                                                  {"D", "C", 0.0196, 1000, 10}});
    const leveling::Precision& p = report.precision;
    ASSERT_EQ(p.loops.size(), 2u);
    EXPECT_EQ(p.loops[0].loop, "A–B–C–A");
    EXPECT_NEAR(p.loops[0].misclosureMm, 10.0, 0.005);
    EXPECT_EQ(p.loops[1].loop, "C–B–D–C");
    EXPECT_NEAR(p.loops[1].perimeterKm, 3.0, 0.005);
    EXPECT_NEAR(p.loops[1].misclosureMm, -0.4, 0.005);
    EXPECT_NEAR(p.loops[1].weightedSquare, 0.16 / 3, 0.005);
    ASSERT_TRUE(p.totalErrorMm);
    EXPECT_NEAR(*p.totalErrorMm, std::sqrt((25 + 0.16 / 3) / 2), 0.005);
    EXPECT_EQ(findingsOf(report, leveling::CheckItem::LoopMisclosure).size(), 1u);
}

TEST(Precision, FormulasOfTheRows)
{
    EXPECT_FALSE(leveling::randomErrorPerKm({}));
    EXPECT_FALSE(leveling::totalErrorPerKm({}));
    std::vector<leveling::PairPrecision> pairs(2);
    pairs[0].weightedSquare = 8;
    pairs[1].weightedSquare = 24;
    EXPECT_NEAR(*leveling::randomErrorPerKm(pairs), 2.0, 1e-9);  // √(32 / 8)
    std::vector<leveling::LoopPrecision> loops(1);
    loops[0].weightedSquare = 9;
    EXPECT_NEAR(*leveling::totalErrorPerKm(loops), 3.0, 1e-9);
    // The sum of the printed rows, not their binary sum (0.30000000000000004).
    pairs[0].weightedSquare = 0.1;
    pairs[1].weightedSquare = 0.2;
    EXPECT_EQ(leveling::weightedSquareSum(pairs), 0.3);
}

TEST(Precision, RowsAreStoredAsPrinted)
{
    // Δ = −3.00 mm over 1,000.5 m each way: R prints 1.000 (half to even), so ΔΔ/R is
    // 9.00, not 8.9955, and M_Δ = √(9 / 4) = 1.50, not 1.4996.
    const leveling::Precision p = checked({{"A", "B", 0.5, 1000.5, 2}, {"B", "A", -0.503, 1000.5, 2}}).precision;
    ASSERT_EQ(p.pairs.size(), 1u);
    EXPECT_EQ(p.pairs[0].lengthKm, 1.0);
    EXPECT_EQ(p.pairs[0].discrepancyMm, -3.0);
    EXPECT_EQ(p.pairs[0].weightedSquare, 9.0);
    EXPECT_EQ(*p.randomErrorMm, 1.5);
}

}  // namespace
}  // namespace levara::testing
