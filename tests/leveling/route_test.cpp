// The route's misclosure and its distribution on hand-made routes, each figure worked
// out by hand beside its case. Units in the expectations: 0.01 mm.
#include <gtest/gtest.h>

#include <cmath>

#include "leveling/leveling.h"
#include "records/records.h"
#include "tests/leveling/routes.h"
#include "tests/support/test_files.h"

namespace levara::testing {
namespace {

using leveling::Distribution;
using leveling::HundredthsOfMm;
using leveling::RouteKind;

struct RouteCase {
    const char* name;
    std::vector<HandSection> sections;
    std::string known;        // the known-points file, or "" to take the recorded start height
    std::string startHeight;  // recorded in the text
    Distribution distribution = Distribution::ByDistance;
    int standard = 0;  // the order, 0 none
    RouteKind kind{};
    std::optional<HundredthsOfMm> misclosure;
    std::vector<HundredthsOfMm> corrections;
    std::vector<HundredthsOfMm> heights;  // the start, then each section's end
    std::optional<double> limitMm;
    bool over = false;
};

// A → P1 → P2 → P3 → B, 2 km: Σh = 0.5 + 0.3 − 0.2 + 0.41 = 1.01 m against
// H_B − H_A = 1 m, so f_h = +10 mm; −1000 units by length 400 : 600 : 800 : 200 m
// are −200, −300, −400, −100 with nothing left over.
const std::vector<HandSection> kConnecting = {{"A", "P1", 0.5, 400, 2},
                                              {"P1", "P2", 0.3, 600, 6},
                                              {"P2", "P3", -0.2, 800, 8},
                                              {"P3", "B", 0.41, 200, 4}};
const std::string kConnectingKnown = "A,100\nB,101\n";

const std::vector<RouteCase> kRoutes = {
    {"ConnectingByDistance",
     kConnecting,
     kConnectingKnown,
     "",
     Distribution::ByDistance,
     4,
     RouteKind::Connecting,
     1000,
     {-200, -300, -400, -100},
     // 100 + 0.49800 = 100.49800, + 0.29700 = 100.79500, − 0.20400 = 100.59100, + 0.40900 = 101.
     {10000000, 10049800, 10079500, 10059100, 10100000},
     // 四等: 20 √2 = 28.28 mm.
     28.284271247,
     false},
    // The same by stations 2 : 6 : 8 : 4 of 20: −100, −300, −400, −200.
    {"ConnectingByStations",
     kConnecting,
     kConnectingKnown,
     "",
     Distribution::ByStations,
     4,
     RouteKind::Connecting,
     1000,
     {-100, -300, -400, -200},
     {10000000, 10049900, 10079600, 10059200, 10100000},
     28.284271247,
     false},
    // 二等: 4 √2 = 5.66 mm < 10 mm: over, and distributed all the same.
    {"MisclosureOverTheLimit",
     kConnecting,
     kConnectingKnown,
     "",
     Distribution::ByDistance,
     2,
     RouteKind::Connecting,
     1000,
     {-200, -300, -400, -100},
     {10000000, 10049800, 10079500, 10059100, 10100000},
     5.656854249,
     true},
    // A loop of three 300 m sections: Σh = 0.5 − 0.2 − 0.29989 = +0.11 mm = 11 units;
    // −11 / 3 = −3.67 each, cut to −3, and the 2 units left go to the first two (all
    // equally long, the earlier first): −4, −4, −3. Heights 50 + 0.49996 = 50.49996,
    // − 0.20004 = 50.29992, − 0.29992 = 50.
    {"LoopWithTheRemainderToTheEarlierOfEquals",
     {{"A", "P1", 0.5, 300, 3}, {"P1", "P2", -0.2, 300, 3}, {"P2", "A", -0.29989, 300, 3}},
     "",
     "50.00000",
     Distribution::ByDistance,
     0,
     RouteKind::Loop,
     11,
     {-4, -4, -3},
     {5000000, 5049996, 5029992, 5000000},
     {},
     false},
    // By stations 3 : 5 : 3 of 11: Σh = 0.1 + 0.2 − 0.30007 = −0.07 mm against 0, so +7
    // units: 7·3/11 = 1.9 → 1, 7·5/11 = 3.2 → 3, 1; the 2 left go to the most stations
    // (the second) and then to the first of the two equal others: +2, +4, +1.
    {"RemainderToTheMostStations",
     {{"A", "P1", 0.1, 120, 3}, {"P1", "P2", 0.2, 100, 5}, {"P2", "B", -0.30007, 300, 3}},
     "A 20\nB 20\n",
     "",
     Distribution::ByStations,
     0,
     RouteKind::Connecting,
     -7,
     {2, 4, 1},
     {2000000, 2010002, 2030006, 2000000},
     {},
     false},
    // A → P1 forward +0.40000 over 400 m and back −0.40200 over 420 m: the mean
    // +0.40100 over 410 m and 4 stations; then P1 → B +0.6 over 590 m. f_h = 1.001 − 1
    // = +1 mm: −100 by 820 : 1180 (both doubled) = −41, −59. P1 = 10.40059, B = 11.
    {"ForwardReturnPairAsTheirMean",
     {{"A", "P1", 0.4, 400, 4}, {"P1", "A", -0.402, 420, 4}, {"P1", "B", 0.6, 590, 5}},
     "A;10\nB;11\n",
     "",
     Distribution::ByDistance,
     2,
     RouteKind::Connecting,
     100,
     {-41, -59},
     {1000000, 1040059, 1100000},
     // 二等: 4 √1 = 4 mm.
     4,
     false},
    // Without a known end: the recorded start height carried through, no misclosure.
    {"OpenRouteWithoutAKnownEnd",
     {{"A", "P1", 0.4, 400, 4}, {"P1", "B", 0.6, 590, 5}},
     "",
     "12.34500",
     Distribution::ByDistance,
     4,
     RouteKind::Open,
     {},
     {0, 0},
     {1234500, 1274500, 1334500},
     {},
     false},
};

class Routes : public ::testing::TestWithParam<RouteCase> {};

TEST_P(Routes, DistributeTheMisclosureToTheKnownEnd)
{
    const RouteCase& c = GetParam();
    const std::string text = routeText(c.sections, c.startHeight);
    const TextLines lines = TextLines::viewOf(text);
    std::optional<leveling::KnownPoints> known;
    if (!c.known.empty())
        known = leveling::parseKnownPoints(c.known, "known.txt");
    std::optional<leveling::Standard> standard;
    if (c.standard)
        standard = leveling::chooseStandard(leveling::builtinLimits(c.standard), false);
    const leveling::Adjustment a =
        leveling::adjustRoute(leveling::readSections(lines), lines, known ? &*known : nullptr, c.distribution,
                              standard ? &*standard : nullptr);

    EXPECT_EQ(a.kind, c.kind);
    EXPECT_EQ(a.misclosure, c.misclosure);
    std::vector<HundredthsOfMm> corrections, heights;
    HundredthsOfMm sum = 0;
    for (const leveling::RouteSection& s : a.sections) {
        corrections.push_back(s.correction);
        sum += s.correction;
    }
    for (const leveling::RoutePoint& p : a.points)
        heights.push_back(p.height);
    EXPECT_EQ(corrections, c.corrections);
    EXPECT_EQ(heights, c.heights);
    EXPECT_EQ(sum, -a.misclosure.value_or(0));
    EXPECT_EQ(a.limitMm.has_value(), c.limitMm.has_value());
    if (a.limitMm && c.limitMm) {
        EXPECT_NEAR(*a.limitMm, *c.limitMm, 1e-9);
    }
    EXPECT_EQ(a.overLimit(), c.over);

    // The network adjustment of the same sections gives the same heights, to 0.01 mm.
    const leveling::NetworkAdjustment network =
        leveling::adjustNetwork(leveling::networkOf(leveling::readSections(lines), lines, known ? &*known : nullptr,
                                                    c.distribution, standard ? &*standard : nullptr));
    for (const leveling::RoutePoint& p : a.points) {
        const auto same = std::find_if(network.points.begin(), network.points.end(),
                                       [&](const leveling::NetworkPoint& n) { return n.name == p.name; });
        ASSERT_NE(same, network.points.end()) << p.name;
        EXPECT_LE(std::abs(same->height - leveling::toMetres(p.height)), 0.00001 + 1e-9) << p.name;
    }
}

INSTANTIATE_TEST_SUITE_P(HandMade, Routes, ::testing::ValuesIn(kRoutes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Routes, APairKeepsItsMeanLengthStationsAndDiscrepancy)
{
    const std::string text =
        routeText({{"A", "P1", 0.4, 400, 4}, {"P1", "A", -0.41, 420, 6}, {"P1", "B", 0.6, 590, 5}});
    const TextLines lines = TextLines::viewOf(text);
    const leveling::KnownPoints known = leveling::parseKnownPoints("A 10\nB 11\n", "known.txt");
    const leveling::Standard second = leveling::chooseStandard(leveling::builtinLimits(2), false);
    const leveling::Adjustment a =
        leveling::adjustRoute(leveling::readSections(lines), lines, &known, Distribution::ByDistance, &second);
    ASSERT_EQ(a.sections.size(), 2u);
    const leveling::RouteSection& pair = a.sections[0];
    EXPECT_DOUBLE_EQ(pair.lengthKm, 0.41);
    EXPECT_DOUBLE_EQ(pair.stations, 5);
    ASSERT_TRUE(pair.pair);
    // 0.4 − 0.41 = −10 mm against 4 √0.41 = 2.56 mm.
    EXPECT_DOUBLE_EQ(pair.pair->discrepancyMm, -10);
    EXPECT_NEAR(*pair.pair->limitMm, 2.561249695, 1e-9);
    EXPECT_TRUE(pair.pair->over);
    // (0.4 + 0.41) / 2 + 0.6 − 1 = +5 mm.
    EXPECT_EQ(a.misclosure, 500);
    EXPECT_TRUE(a.overLimit());

    // A pair's mean that ends in half of 0.01 mm is rounded half to even from the exact
    // sums: 1.199215 to 1.19922 and 0.801395 to 0.80140, not by the double's accident.
    const std::string halves = routeText({{"A", "P1", 1.19921, 400, 4},
                                          {"P1", "A", -1.19922, 400, 4},
                                          {"P1", "B", 0.80139, 400, 4},
                                          {"B", "P1", -0.80140, 400, 4}});
    const std::vector<leveling::Leg> legs = leveling::legsOf(leveling::readSections(TextLines::viewOf(halves)));
    ASSERT_EQ(legs.size(), 2u);
    EXPECT_EQ(legs[0].measured, 119922);
    EXPECT_EQ(legs[1].measured, 80140);

    // The table prints lengths to the metre and ΣL as their sum: 400.4, 400.4 and
    // 400.5 m (half to even) print 0.400 km each, ΣL 1.200 km, not the 1.201 of the
    // lengths in millimetres; −fh / ΣL takes the printed ΣL. The limit stays 4 √1.2013.
    const std::string metres =
        routeText({{"A", "P1", 0.5, 400.4, 1}, {"P1", "P2", 0.2, 400.4, 1}, {"P2", "B", 0.31, 400.5, 1}});
    const TextLines metreLines = TextLines::viewOf(metres);
    const leveling::Adjustment printed = leveling::adjustRoute(leveling::readSections(metreLines), metreLines, &known,
                                                               Distribution::ByDistance, &second);
    for (const leveling::RouteSection& s : printed.sections)
        EXPECT_EQ(s.lengthKm, 0.4) << s.to;
    EXPECT_EQ(printed.lengthKm, 1.2);
    EXPECT_EQ(printed.misclosure, 1000);
    EXPECT_NEAR(*printed.correctionPerUnitMm(), -10 / 1.2, 1e-9);
    EXPECT_NEAR(*printed.limitMm, 4 * std::sqrt(1.2013), 1e-9);
}

struct FaultCase {
    const char* name;
    std::vector<HandSection> sections;
    std::string known;
    std::string startHeight;
    std::string message;
    // The text's lines numbered from this line of their file on, as a filter or a GSI
    // conversion leaves them; 0 for the text's own lines.
    int firstFileLine = 0;
};

const std::vector<FaultCase> kFaults = {
    {"AGap",
     {{"A", "P1", 0.4, 400, 4}, {"P2", "B", 0.6, 590, 5}},
     "A 1\nB 2\n",
     "",
     "line 19: the section of lines 19–40 starts at P2, but the section before it (lines 1–18) ends at P1: the "
     "sections must follow each other as one route or one loop, each starting where the one before ends"},
    {"AStartTheFileDoesNotKnow",
     {{"A", "P1", 0.4, 400, 4}},
     "B 2\n",
     "",
     "known.txt: gives no height for A, the start of the route (line 1)"},
    {"AKnownPointInsideTheRoute",
     {{"A", "P1", 0.4, 400, 4}, {"P1", "B", 0.6, 590, 5}},
     "A 1\nP1 1.4\nB 2\n",
     "",
     "line 18: known.txt gives a height for P1 inside the route too: Levara distributes the misclosure of one route "
     "with known heights at its ends only; save the sections for adjustment software to adjust a network"},
    {"NoRecordedHeight",
     {{"A", "P1", 0.4, 400, 4}},
     "",
     "",
     "line 1: the text records no height for the route's start: choose a known-points file"},
    // The file's own lines, whatever the text's.
    {"ABadStartHeightNamedByItsFileLine",
     {{"A", "P1", 0.4, 400, 4}},
     "",
     "x1",
     "line 12: the height \"x1\" is not a number",
     11},
    {"NoSectionNamedByTheFileLine", {}, "", "", "line 7: the text holds no leveling section to adjust", 7},
    // Beyond what the route's 0.01 mm fixed point carries: no wrong height instead.
    {"ARecordedHeightBeyondTheBound",
     {{"A", "P1", 0.4, 400, 4}},
     "",
     "1e300",
     "line 2: the height \"1e300\" is beyond ±10000000 m: no point is that high or that deep"},
};

class RouteFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(RouteFaults, NameTheLinesAndPoints)
{
    const FaultCase& c = GetParam();
    const std::string text = c.sections.empty() ? "no section\r\n" : routeText(c.sections, c.startHeight);
    TextLines lines = TextLines::viewOf(text);
    LineOrigins origins;
    for (std::size_t i = 0; i < lines.size(); ++i)
        origins.push_back(LineNumber(c.firstFileLine + int(i)));
    if (c.firstFileLine > 0)
        lines.numberBy(origins);
    std::optional<leveling::KnownPoints> known;
    if (!c.known.empty())
        known = leveling::parseKnownPoints(c.known, "known.txt");
    try {
        leveling::adjustRoute(leveling::readSections(lines), lines, known ? &*known : nullptr, Distribution::ByDistance,
                              nullptr);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message().english(), c.message);
    }
    // The network of no section names the file's line as the route does.
    if (c.sections.empty()) {
        try {
            leveling::networkOf(leveling::readSections(lines), lines, nullptr, Distribution::ByDistance, nullptr);
            FAIL() << "no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.message().english(), c.message);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(HandMade, RouteFaults, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

struct KnownCase {
    const char* name;
    std::string bytes;
    std::vector<std::pair<std::string, double>> points;  // or, when empty, the message
    std::string message;
};

const std::vector<KnownCase> kKnownFiles = {
    {"EverySeparatorAndComments",
     "# benchmarks\nA,1.5\r\nB\t2\n\nC   3.25 # levelled 2024\nD;-4\n",
     {{"A", 1.5}, {"B", 2}, {"C", 3.25}, {"D", -4}},
     ""},
    {"Utf8WithABom", "\xEF\xBB\xBF水准点甲,43.2187\n", {{"水准点甲", 43.2187}}, ""},
    // 水准点乙 in GB18030.
    {"Gb18030", "\xCB\xAE\xD7\xBC\xB5\xE3\xD2\xD2 41.87\n", {{"水准点乙", 41.87}}, ""},
    {"TheSameHeightTwice", "A 1\nA 1.0\n", {{"A", 1}}, ""},
    {"AHeightThatIsNoNumber",
     "A 1\nB 1,5m\n",
     {},
     "known.txt: line 2: \"B 1,5m\" is not a point name and a height in metres"},
    {"ANameWithoutAHeight", "A\n", {}, "known.txt: line 1: \"A\" is not a point name and a height in metres"},
    {"TwoHeightsForOnePoint",
     "A 1\nB 2\nA 1.5\n",
     {},
     "known.txt: line 3: \"A 1.5\" gives point A another height than line 1 (1 m)"},
    // Names with blanks in double quotes, "" for a quote; a separator after the height.
    {"QuotedNames",
     "\"水准点 甲\",43.2187\n\"B, \"\"2\"\"\" 2 # c\n\"C#1\"\t3,\nD;4;\n",
     {{"水准点 甲", 43.2187}, {"B, \"2\"", 2}, {"C#1", 3}, {"D", 4}},
     ""},
    {"AQuoteLeftOpen", "\"A 1\n", {}, "known.txt: line 1: \"\"A 1\" is not a point name and a height in metres"},
    {"TextAfterAQuote", "\"A\"B 1\n", {}, "known.txt: line 1: \"\"A\"B 1\" is not a point name and a height in metres"},
    {"AnEmptyQuotedName", "\"\" 1\n", {}, "known.txt: line 1: \"\"\" 1\" is not a point name and a height in metres"},
    // UTF-16 with its mark, as raw files may be: 水准点甲,43.2 little- and big-endian.
    {"Utf16Le",
     std::string("\xFF\xFE\x34\x6C\xC6\x51\xB9\x70\x32\x75,\0"
                 "4\0"
                 "3\0.\0"
                 "2\0\n\0",
                 22),
     {{"水准点甲", 43.2}},
     ""},
    {"Utf16Be",
     std::string("\xFE\xFF\x6C\x34\x51\xC6\x70\xB9\x75\x32\0,\0"
                 "4\0"
                 "3\0.\0"
                 "2\0\n",
                 22),
     {{"水准点甲", 43.2}},
     ""},
    // Beyond what a height may be; the quoted input cut.
    {"AHugeHeight",
     "A 1e300\n",
     {},
     "known.txt: line 1: the height \"1e300\" is beyond ±10000000 m: no point is "
     "that high or that deep"},
    {"ALongLine",
     "A " + std::string(100, '9') + "x\n",
     {},
     "known.txt: line 1: \"A " + std::string(38, '9') + "…\" is not a point name and a height in metres"},
};

class KnownPointsFiles : public ::testing::TestWithParam<KnownCase> {};

// The start height the text records is the height line before the first station;
// after it, the level writes the heights it computes.
TEST(Routes, TheStartHeightIsTheHeightLineBeforeTheFirstStation)
{
    std::vector<std::string> lines = levelingLine(chain(1, "A", "B"));
    lines.insert(lines.begin() + 5, heightLine("A", "10.00000"));  // after the station's four lines
    try {
        leveling::recordedStartHeight(textOf(lines), "A");
        FAIL() << "no error";
    } catch (const InputError& error) {
        EXPECT_EQ(error.message().english(),
                  "line 1: the text records no height for the route's start: choose a known-points file");
    }
    lines.insert(lines.begin() + 1, heightLine("A", "9.00000"));
    const leveling::RecordedHeight recorded = leveling::recordedStartHeight(textOf(lines), "A");
    EXPECT_EQ(recorded.height, 9);
    EXPECT_EQ(recorded.line, LineNumber(2));
}

TEST_P(KnownPointsFiles, ReadAsWritten)
{
    const KnownCase& c = GetParam();
    if (!c.message.empty()) {
        try {
            leveling::parseKnownPoints(c.bytes, "known.txt");
            FAIL() << "no error";
        } catch (const FileError& error) {
            EXPECT_EQ(error.message().english(), c.message);
        }
        return;
    }
    const leveling::KnownPoints known = leveling::parseKnownPoints(c.bytes, "known.txt");
    std::vector<std::pair<std::string, double>> points;
    for (const leveling::KnownPoint& p : known.points)
        points.emplace_back(p.name, p.height);
    EXPECT_EQ(points, c.points);
}

INSTANTIATE_TEST_SUITE_P(Cases, KnownPointsFiles, ::testing::ValuesIn(kKnownFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KnownPointsFile, AListMadeByHandIsFoundWhole)
{
    leveling::KnownPoints known;
    for (int k = 0; k < 100; ++k)
        known.points.push_back({"P" + std::to_string(k), double(k), LineNumber(k + 1)});
    EXPECT_EQ(known.find("P42")->height, 42);
    EXPECT_EQ(known.add({"Q", 7, LineNumber(101)}).height, 7);
    EXPECT_EQ(known.add({"P5", 9, LineNumber(102)}).height, 5);  // given before: kept as it was
    for (const char* name : {"P0", "P99", "Q"})
        EXPECT_NE(known.find(name), nullptr) << name;
    EXPECT_EQ(known.find("R"), nullptr);
    EXPECT_EQ(known.points.size(), 101u);
}

TEST(KnownPointsFile, OneNoRealListReachesIsRefusedBeforeItIsRead)
{
    ScratchDir scratch;
    writeBytes(scratch / "known.txt", "A 1\n");
    std::filesystem::resize_file(scratch / "known.txt", (std::uintmax_t{64} << 20) + 1);
    try {
        leveling::readKnownPoints(scratch / "known.txt");
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.message().english(), (scratch / "known.txt").string() +
                                                 ": cannot read: it is larger than 64 MiB, more than any known-points "
                                                 "or limits file holds");
    }
}

}  // namespace
}  // namespace levara::testing
