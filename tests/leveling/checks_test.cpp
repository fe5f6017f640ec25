// The checks against each built-in standard, on hand-made lines: for every item and
// profile one case exactly at the limit (passes) and one just past it (flagged). The
// values in the table are the limits of leveling/profiles/*.json.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "leveling/leveling.h"
#include "tests/support/stations.h"

namespace levara::testing {
namespace {

using leveling::CheckItem;

// A line whose checked quantity is `value`, every other value well within all limits.
using Scenario = std::function<std::string(double value)>;

std::string oneStation(const std::function<void(HandStation&)>& change)
{
    HandStation station;
    change(station);
    return textOfLines(levelingLine({station}));
}

const Scenario kAllDistances = [](double value) {
    return oneStation(
        [&](HandStation& s) { s.backDistance1 = s.backDistance2 = s.foreDistance1 = s.foreDistance2 = value; });
};
const Scenario kAllReadings = [](double value) {
    return oneStation(
        [&](HandStation& s) { s.backReading1 = s.backReading2 = s.foreReading1 = s.foreReading2 = value; });
};
// d = value: the back staff farther.
const Scenario kBackFarther = [](double value) {
    return oneStation([&](HandStation& s) { s.backDistance1 = s.backDistance2 = 20 + value; });
};
// The first back reading value mm above the second.
const Scenario kFirstBackHigher = [](double value) {
    return oneStation([&](HandStation& s) { s.backReading1 = 1.5 + value / 1000; });
};

// Σd = value after five stations: four of step each, the last making up the rest.
Scenario accumulated(double step)
{
    return [step](double value) {
        std::vector<HandStation> stations = chain(5, "A", "B");
        for (int k = 0; k < 5; ++k) {
            const double d = k < 4 ? step : value - 4 * step;
            stations[std::size_t(k)].backDistance1 = stations[std::size_t(k)].backDistance2 = 20 + d;
        }
        return textOfLines(levelingLine(stations));
    };
}

// Twenty stations of 25 m sights: 1.000 km, whose first rises value mm.
std::vector<HandStation> kilometre(const std::string& from, const std::string& to, double value)
{
    std::vector<HandStation> stations = chain(20, from, to);
    for (HandStation& s : stations)
        s.backDistance1 = s.backDistance2 = s.foreDistance1 = s.foreDistance2 = 25;
    stations[0].backReading1 = stations[0].backReading2 = 1.4 + value / 1000;
    for (std::size_t k = 1; k < stations.size(); ++k)
        stations[k].backReading1 = stations[k].backReading2 = 1.4;
    return stations;
}

// A loop of L = 1 km from A back to A: the misclosure limit is the factor itself.
const Scenario kLoop = [](double value) { return textOfLines(levelingLine(kilometre("A", "A", value))); };
// A forward line A to B rising value mm and a level return line B to A, K = 1 km.
const Scenario kForwardReturn = [](double value) {
    std::vector<std::string> lines = levelingLine(kilometre("A", "B", value));
    for (std::string& line : levelingLine(kilometre("B", "A", 0)))
        lines.push_back(std::move(line));
    return textOfLines(lines);
};
// A line A to B level, K = 1 km, measured again rising value mm.
const Scenario kRemeasured = [](double value) {
    std::vector<std::string> lines = levelingLine(kilometre("A", "B", 0));
    for (std::string& line : levelingLine(kilometre("A", "B", value)))
        lines.push_back(std::move(line));
    return textOfLines(lines);
};
// Two forward/return pairs, A–B and B–C, each K = 1 km with half of value as its
// discrepancy: the route A–C, K = 2 km, has value.
const Scenario kRouteForwardReturn = [](double value) {
    std::vector<std::string> lines;
    for (const auto& [from, to] : {std::pair{"A", "B"}, std::pair{"B", "C"}}) {
        for (std::string& line : levelingLine(kilometre(from, to, value / 2)))
            lines.push_back(std::move(line));
        for (std::string& line : levelingLine(kilometre(to, from, 0)))
            lines.push_back(std::move(line));
    }
    return textOfLines(lines);
};
// A line of value stations.
const Scenario kStations = [](double value) { return textOfLines(levelingLine(chain(int(value), "A", "B"))); };

struct Case {
    const char* name;
    int order;
    bool mountain;
    CheckItem item;
    const Scenario* scenario;
    double value;
    int flagged;  // findings of the item: 0 when within
    double lower, upper;
};

std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

const Scenario kSightSum1 = accumulated(0.6), kSightSum2 = accumulated(1.2), kSightSum3 = accumulated(1.0),
               kSightSum4 = accumulated(2.0);

using enum CheckItem;
const Case kCases[] = {
    // Sight length: each of the station's four readings.
    {"order1_sight_at_30", 1, false, SightLength, &kAllDistances, 30.000, 0, 4, 30},
    {"order1_sight_over_30", 1, false, SightLength, &kAllDistances, 30.001, 4, 4, 30},
    {"order1_sight_at_4", 1, false, SightLength, &kAllDistances, 4.000, 0, 4, 30},
    {"order1_sight_under_4", 1, false, SightLength, &kAllDistances, 3.999, 4, 4, 30},
    {"order2_sight_at_50", 2, false, SightLength, &kAllDistances, 50.000, 0, 3, 50},
    {"order2_sight_over_50", 2, false, SightLength, &kAllDistances, 50.001, 4, 3, 50},
    {"order2_sight_at_3", 2, false, SightLength, &kAllDistances, 3.000, 0, 3, 50},
    {"order2_sight_under_3", 2, false, SightLength, &kAllDistances, 2.999, 4, 3, 50},
    {"order3_sight_at_100", 3, false, SightLength, &kAllDistances, 100.000, 0, 0, 100},
    {"order3_sight_over_100", 3, false, SightLength, &kAllDistances, 100.001, 4, 0, 100},
    {"order3_short_sight_has_no_limit", 3, false, SightLength, &kAllDistances, 0.5, 0, 0, 100},
    {"order4_sight_at_150", 4, false, SightLength, &kAllDistances, 150.000, 0, 0, 150},
    {"order4_sight_over_150", 4, false, SightLength, &kAllDistances, 150.001, 4, 0, 150},
    // Line-of-sight height: each staff reading.
    {"order1_reading_at_2.80", 1, false, LineOfSightHeight, &kAllReadings, 2.80000, 0, 0.65, 2.8},
    {"order1_reading_over_2.80", 1, false, LineOfSightHeight, &kAllReadings, 2.80001, 4, 0.65, 2.8},
    {"order1_reading_at_0.65", 1, false, LineOfSightHeight, &kAllReadings, 0.65000, 0, 0.65, 2.8},
    {"order1_reading_under_0.65", 1, false, LineOfSightHeight, &kAllReadings, 0.64999, 4, 0.65, 2.8},
    {"order2_reading_at_2.80", 2, false, LineOfSightHeight, &kAllReadings, 2.80000, 0, 0.55, 2.8},
    {"order2_reading_over_2.80", 2, false, LineOfSightHeight, &kAllReadings, 2.80001, 4, 0.55, 2.8},
    {"order2_reading_at_0.55", 2, false, LineOfSightHeight, &kAllReadings, 0.55000, 0, 0.55, 2.8},
    {"order2_reading_under_0.55", 2, false, LineOfSightHeight, &kAllReadings, 0.54999, 4, 0.55, 2.8},
    {"order3_reading_has_no_limit", 3, false, LineOfSightHeight, &kAllReadings, 0.10000, 0, 0, 0},
    {"order4_reading_has_no_limit", 4, false, LineOfSightHeight, &kAllReadings, 3.50000, 0, 0, 0},
    // d of a station.
    {"order1_d_at_1.0", 1, false, DistanceDifference, &kBackFarther, 1.000, 0, -1, 1},
    {"order1_d_over_1.0", 1, false, DistanceDifference, &kBackFarther, 1.001, 1, -1, 1},
    {"order1_d_under_-1.0", 1, false, DistanceDifference, &kBackFarther, -1.001, 1, -1, 1},
    {"order2_d_at_1.5", 2, false, DistanceDifference, &kBackFarther, 1.500, 0, -1.5, 1.5},
    {"order2_d_over_1.5", 2, false, DistanceDifference, &kBackFarther, 1.501, 1, -1.5, 1.5},
    {"order3_d_at_2.0", 3, false, DistanceDifference, &kBackFarther, 2.000, 0, -2, 2},
    {"order3_d_over_2.0", 3, false, DistanceDifference, &kBackFarther, 2.001, 1, -2, 2},
    {"order4_d_at_3.0", 4, false, DistanceDifference, &kBackFarther, 3.000, 0, -3, 3},
    {"order4_d_over_3.0", 4, false, DistanceDifference, &kBackFarther, 3.001, 1, -3, 3},
    // Σd of a section, flagged at the station where it passes.
    {"order1_sum_at_3.0", 1, false, DistanceDifferenceSum, &kSightSum1, 3.000, 0, -3, 3},
    {"order1_sum_over_3.0", 1, false, DistanceDifferenceSum, &kSightSum1, 3.001, 1, -3, 3},
    {"order2_sum_at_6.0", 2, false, DistanceDifferenceSum, &kSightSum2, 6.000, 0, -6, 6},
    {"order2_sum_over_6.0", 2, false, DistanceDifferenceSum, &kSightSum2, 6.001, 1, -6, 6},
    {"order3_sum_at_5.0", 3, false, DistanceDifferenceSum, &kSightSum3, 5.000, 0, -5, 5},
    {"order3_sum_over_5.0", 3, false, DistanceDifferenceSum, &kSightSum3, 5.001, 1, -5, 5},
    {"order4_sum_at_10.0", 4, false, DistanceDifferenceSum, &kSightSum4, 10.000, 0, -10, 10},
    {"order4_sum_over_10.0", 4, false, DistanceDifferenceSum, &kSightSum4, 10.001, 1, -10, 10},
    // A station's two height differences, in mm.
    {"order1_heights_at_0.4", 1, false, HeightDifferences, &kFirstBackHigher, 0.40, 0, -0.4, 0.4},
    {"order1_heights_over_0.4", 1, false, HeightDifferences, &kFirstBackHigher, 0.41, 1, -0.4, 0.4},
    {"order2_heights_at_0.6", 2, false, HeightDifferences, &kFirstBackHigher, 0.60, 0, -0.6, 0.6},
    {"order2_heights_over_0.6", 2, false, HeightDifferences, &kFirstBackHigher, 0.61, 1, -0.6, 0.6},
    {"order3_heights_at_1.5", 3, false, HeightDifferences, &kFirstBackHigher, 1.50, 0, -1.5, 1.5},
    {"order3_heights_over_1.5", 3, false, HeightDifferences, &kFirstBackHigher, 1.51, 1, -1.5, 1.5},
    {"order4_heights_at_5.0", 4, false, HeightDifferences, &kFirstBackHigher, 5.00, 0, -5, 5},
    {"order4_heights_over_5.0", 4, false, HeightDifferences, &kFirstBackHigher, 5.01, 1, -5, 5},
    // A loop's misclosure, L = 1 km: the limit is the factor.
    {"order1_loop_at_2", 1, false, LoopMisclosure, &kLoop, 2.00, 0, -2, 2},
    {"order1_loop_over_2", 1, false, LoopMisclosure, &kLoop, 2.01, 1, -2, 2},
    {"order2_loop_at_4", 2, false, LoopMisclosure, &kLoop, 4.00, 0, -4, 4},
    {"order2_loop_over_4", 2, false, LoopMisclosure, &kLoop, 4.01, 1, -4, 4},
    {"order3_loop_at_12", 3, false, LoopMisclosure, &kLoop, 12.00, 0, -12, 12},
    {"order3_loop_over_12", 3, false, LoopMisclosure, &kLoop, 12.01, 1, -12, 12},
    {"order3_mountain_loop_at_15", 3, true, LoopMisclosure, &kLoop, 15.00, 0, -15, 15},
    {"order3_mountain_loop_over_15", 3, true, LoopMisclosure, &kLoop, 15.01, 1, -15, 15},
    {"order4_loop_at_20", 4, false, LoopMisclosure, &kLoop, 20.00, 0, -20, 20},
    {"order4_loop_over_20", 4, false, LoopMisclosure, &kLoop, -20.01, 1, -20, 20},
    {"order4_mountain_loop_at_25", 4, true, LoopMisclosure, &kLoop, 25.00, 0, -25, 25},
    {"order4_mountain_loop_over_25", 4, true, LoopMisclosure, &kLoop, 25.01, 1, -25, 25},
    // A forward/return pair, K = 1 km: the limit is the factor.
    {"order1_pair_at_1.8", 1, false, ForwardReturn, &kForwardReturn, 1.80, 0, -1.8, 1.8},
    {"order1_pair_over_1.8", 1, false, ForwardReturn, &kForwardReturn, 1.81, 1, -1.8, 1.8},
    {"order2_pair_at_4", 2, false, ForwardReturn, &kForwardReturn, 4.00, 0, -4, 4},
    {"order2_pair_over_4", 2, false, ForwardReturn, &kForwardReturn, 4.01, 1, -4, 4},
    {"order3_pair_at_12", 3, false, ForwardReturn, &kForwardReturn, 12.00, 0, -12, 12},
    {"order3_pair_over_12", 3, false, ForwardReturn, &kForwardReturn, 12.01, 1, -12, 12},
    {"order4_pair_at_20", 4, false, ForwardReturn, &kForwardReturn, 20.00, 0, -20, 20},
    {"order4_pair_over_20", 4, false, ForwardReturn, &kForwardReturn, 20.01, 1, -20, 20},
    // A section measured again, R = 1 km: the limit is the factor.
    {"order1_remeasured_at_3", 1, false, Remeasured, &kRemeasured, 3.00, 0, -3, 3},
    {"order1_remeasured_over_3", 1, false, Remeasured, &kRemeasured, 3.01, 1, -3, 3},
    {"order2_remeasured_at_6", 2, false, Remeasured, &kRemeasured, -6.00, 0, -6, 6},
    {"order2_remeasured_over_6", 2, false, Remeasured, &kRemeasured, -6.01, 1, -6, 6},
    {"order3_remeasured_over_20", 3, false, Remeasured, &kRemeasured, 20.01, 1, -20, 20},
    {"order4_remeasured_at_30", 4, false, Remeasured, &kRemeasured, 30.00, 0, -30, 30},
    // Two pairs within their limits whose route of 2 km is not: 4√2 = 5.66 mm.
    {"order2_route_pairs_within", 2, false, RouteForwardReturn, &kRouteForwardReturn, 5.64, 0, 0, 0},
    {"order2_route_over", 2, false, RouteForwardReturn, &kRouteForwardReturn, 7.00, 1, -4 * std::sqrt(2.0),
     4 * std::sqrt(2.0)},
    {"order3_route_over", 3, false, RouteForwardReturn, &kRouteForwardReturn, 17.00, 1, -12 * std::sqrt(2.0),
     12 * std::sqrt(2.0)},
    // Stations per section: even in 一等 and 二等 only.
    {"order1_two_stations", 1, false, StationCount, &kStations, 2, 0, 0, 0},
    {"order1_three_stations", 1, false, StationCount, &kStations, 3, 1, 0, 0},
    {"order2_two_stations", 2, false, StationCount, &kStations, 2, 0, 0, 0},
    {"order2_three_stations", 2, false, StationCount, &kStations, 3, 1, 0, 0},
    {"order3_three_stations", 3, false, StationCount, &kStations, 3, 0, 0, 0},
    {"order4_three_stations", 4, false, StationCount, &kStations, 3, 0, 0, 0},
};

class LimitCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(LimitCaseTest, AtTheLimitPassesPastItIsFlagged)
{
    const Case& c = GetParam();
    const TextLines lines = TextLines::fromText((*c.scenario)(c.value));
    const leveling::CheckReport report =
        leveling::checkSections(leveling::readSections(lines),
                                leveling::chooseStandard(leveling::builtinLimits(c.order), c.mountain));
    std::vector<leveling::Finding> flagged;
    for (const leveling::Finding& finding : report.findings)
        if (finding.item == c.item)
            flagged.push_back(finding);
    ASSERT_EQ(int(flagged.size()), c.flagged);
    for (const leveling::Finding& finding : flagged) {
        EXPECT_NEAR(finding.value, c.value, 1e-9);
        if (c.item == StationCount)
            continue;
        ASSERT_TRUE(finding.upper);
        EXPECT_NEAR(*finding.upper, c.upper, 1e-9);
        EXPECT_NEAR(finding.lower.value_or(0), c.lower, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(ItemsAndProfiles, LimitCaseTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

}  // namespace
}  // namespace levara::testing
