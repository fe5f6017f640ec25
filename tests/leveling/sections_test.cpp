// The sections of a text as the checks and adjustments read them, and the checks of
// a whole section: computation check, loop, forward/return pair, Σd passing its limit.
#include <gtest/gtest.h>

#include <cmath>

#include "leveling/leveling.h"
#include "tests/support/stations.h"

namespace levara::testing {
namespace {

using leveling::CheckItem;
using leveling::ObservationOrder;

leveling::Standard standard(int order) { return leveling::chooseStandard(leveling::builtinLimits(order), false); }

std::vector<leveling::Finding> findingsOf(const leveling::CheckReport& report, CheckItem item)
{
    std::vector<leveling::Finding> found;
    for (const leveling::Finding& finding : report.findings)
        if (finding.item == item)
            found.push_back(finding);
    return found;
}

TEST(Sections, EachLineWithItsMethodStationsPointsLengthAndHeightDifference)
{
    // A heading, a BFFB line of two stations, then a BF line of one.
    std::vector<HandStation> first = chain(2, "BM1", "BM2");
    first[0].backReading1 = 1.52345, first[0].backReading2 = 1.52349;  // h 0.12345, 0.12349
    first[0].backDistance1 = 30.1, first[0].backDistance2 = 30.12;     // back mean 30.11
    std::vector<std::string> lines = {rawFields("TO  Proj: test")};
    for (std::string& line : levelingLine(first))
        lines.push_back(std::move(line));
    lines.push_back(startLine("BF"));
    lines.push_back(readingLine("BM2", "Rb", "1.20000", "25.000"));
    lines.push_back(readingLine("BM3", "Rf", "1.00000", "24.000"));
    lines.push_back(endLine());
    const TextLines text = TextLines::fromText(textOfLines(lines));

    const std::vector<leveling::Section> sections = leveling::readSections(text);
    ASSERT_EQ(sections.size(), 2u);
    const leveling::Section& bffb = sections[0];
    EXPECT_EQ(bffb.firstLine, LineNumber(2));
    EXPECT_EQ(bffb.lastLine, LineNumber(11));
    EXPECT_EQ(bffb.lineName, "1");
    EXPECT_EQ(bffb.methodText, "BFFB");
    EXPECT_EQ(bffb.order, ObservationOrder::BFFB);
    EXPECT_EQ(bffb.stationCount(), 2);
    EXPECT_EQ(bffb.startPoint, "BM1");
    EXPECT_EQ(bffb.endPoint, "BM2");
    // Means of back and fore distances: 30.11 + 20, fore 20 + 20.
    EXPECT_DOUBLE_EQ(bffb.backDistance, 50.11);
    EXPECT_DOUBLE_EQ(bffb.foreDistance, 40);
    EXPECT_DOUBLE_EQ(bffb.length(), 90.11);
    // (0.12345 + 0.12349) / 2 + 0.1
    EXPECT_DOUBLE_EQ(bffb.heightDifference, 0.22347);
    const leveling::Station& station = bffb.stations[0];
    EXPECT_EQ(station.number, 1);
    EXPECT_EQ(station.readings.back1.line, LineNumber(3));
    EXPECT_EQ(station.readings.fore1.line, LineNumber(4));
    EXPECT_EQ(station.readings.fore2.line, LineNumber(5));
    EXPECT_EQ(station.readings.back2.line, LineNumber(6));
    EXPECT_DOUBLE_EQ(station.distanceDifference, 10.11);
    EXPECT_DOUBLE_EQ(station.heightDifference1, 0.12345);
    EXPECT_DOUBLE_EQ(station.heightDifference2, 0.12349);
    EXPECT_DOUBLE_EQ(station.heightDifferencesDiffer, -0.04);
    EXPECT_DOUBLE_EQ(station.meanHeightDifference, 0.12347);

    const leveling::Section& bf = sections[1];
    EXPECT_EQ(bf.firstLine, LineNumber(12));
    EXPECT_EQ(bf.lastLine, LineNumber(15));
    EXPECT_EQ(bf.order, ObservationOrder::BF);
    EXPECT_EQ(bf.stationCount(), 1);
    EXPECT_EQ(bf.startPoint, "BM2");
    EXPECT_EQ(bf.endPoint, "BM3");
    EXPECT_DOUBLE_EQ(bf.length(), 49);
    EXPECT_DOUBLE_EQ(bf.heightDifference, 0.2);
    EXPECT_DOUBLE_EQ(bf.stations[0].distanceDifferenceSum, 1);
}

TEST(Sections, ALineThatNamesNoMethodIsReadByItsTagsOrNamedUnlessTheOrderIsGiven)
{
    const std::vector<std::string> stations = stationLines(HandStation{});
    // Back readings only: no book reads them as recorded.
    const std::string back = stations[0];
    struct Case {
        std::vector<std::string> lines;
        int line;  // the one named; 0: read in the order its tags show, BFFB
        const char* words;
    };
    const Case cases[] = {
        // No Start-Line record: the first reading line.
        {{rawFields("TO  Proj: test"), back, back, back, back}, 2, "--order"},
        {{rawFields("TO  Proj: test"), stations[0], stations[1], stations[2], stations[3]}, 0, ""},
        // A record naming none.
        {{startLine(""), back, back, back, back}, 1, "names no observation method"},
        {{startLine(""), stations[0], stations[1], stations[2], stations[3]}, 0, ""},
        // One that Levara does not read.
        {{startLine("aBF"), stations[0], stations[1], stations[2], stations[3]}, 1, "\"aBF\""},
    };
    for (const Case& c : cases) {
        const TextLines text = TextLines::fromText(textOfLines(c.lines));
        if (c.line == 0) {
            const std::vector<leveling::Section> sections = leveling::readSections(text);
            ASSERT_EQ(sections.size(), 1u);
            EXPECT_EQ(sections[0].order, ObservationOrder::BFFB);
            EXPECT_EQ(sections[0].stationCount(), 1);
            continue;
        }
        try {
            leveling::readSections(text);
            ADD_FAILURE() << "no InputError for line " << c.line;
        } catch (const InputError& error) {
            EXPECT_EQ(error.line(), LineNumber(c.line)) << error.what();
            EXPECT_NE(std::string(error.what()).find(c.words), std::string::npos) << error.what();
        }
        if (c.lines[1] == back)
            continue;
        const std::vector<leveling::Section> sections = leveling::readSections(text, ObservationOrder::BFFB);
        ASSERT_EQ(sections.size(), 1u);
        EXPECT_EQ(sections[0].stationCount(), 1);
    }
    // A text without readings needs no method.
    EXPECT_EQ(leveling::readSections(TextLines::fromText(textOfLines({startLine(""), endLine()})))[0].stationCount(),
              0);
}

TEST(Sections, AStationRecordedInAnotherOrderThanItIsReadInIsRefused)
{
    // Two stations recorded BFFB, the second with its fore readings first (FBBF).
    std::vector<std::string> lines = levelingLine(chain(2, "BM1", "BM2"));
    std::swap(lines[5], lines[6]);
    std::swap(lines[7], lines[8]);
    struct Case {
        std::string method;
        std::optional<ObservationOrder> order;
        int line;  // the station named; 0: read
        const char* words;
        std::vector<ObservationOrder> fitting;
    };
    const Case cases[] = {
        // A line saved BFFB and read as BBFF: its first station.
        {"BFFB", ObservationOrder::BBFF, 2, "order BFFB, which the book, reading BBFF", {}},
        {"BFFB", ObservationOrder::BF, 4, "order FB, which the book, reading BF", {}},
        // The second station is recorded FBBF: only the alternating book reads it.
        {"aBFFB", {}, 0, "", {ObservationOrder::aBFFB}},
        {"BFFB",
         {},
         6,
         "station 2, starting on line 6: its staffs were recorded in the order FBBF",
         {ObservationOrder::aBFFB}},
    };
    for (const Case& c : cases) {
        lines[0] = startLine(c.method);
        std::vector<std::string> text = lines;
        if (c.order)  // the first station alone, as recorded
            text = levelingLine(chain(1, "BM1", "BM2"), c.method);
        const TextLines view = TextLines::fromText(textOfLines(text));
        if (c.line == 0) {
            EXPECT_EQ(leveling::readSections(view, c.order)[0].stationCount(), 2);
        } else {
            try {
                leveling::readSections(view, c.order);
                ADD_FAILURE() << c.method;
            } catch (const InputError& error) {
                EXPECT_EQ(error.line(), LineNumber(c.line)) << error.what();
                EXPECT_NE(std::string(error.what()).find(c.words), std::string::npos) << error.what();
            }
        }
        if (!c.order) {
            EXPECT_EQ(leveling::ordersFitting(view), c.fitting) << c.method;
        }
    }
    // A line of back-first stations fits BFFB and the alternating book.
    EXPECT_EQ(leveling::ordersFitting(TextLines::fromText(textOfLines(levelingLine(chain(2, "A", "B"))))),
              (std::vector<ObservationOrder>{ObservationOrder::BFFB, ObservationOrder::aBFFB}));
}

TEST(Sections, ARawTextIsReadByTheLevelingFiltersRules)
{
    // Two stations of +0.1 m each. The level's own lines around them: a collimation
    // check with values, a rejected fore reading and its repeat, an intermediate sight
    // with its height, the heights, and the line-end row with Db/Df.
    std::vector<std::string> lines = levelingLine(chain(2, "BM1", "BM2"));
    lines.insert(lines.begin() + 9, heightLine("P1", "10.10000"));
    lines.insert(lines.begin() + 9, rawLine("Q", "Rz", "0.90000", "12.000", "10.60000"));
    lines.insert(lines.begin() + 2, readingLine("P1", "Rf", "1.90000", "20.000"));
    lines[2].replace(lines[2].find("P1") + 2, 5, "#####");
    lines.insert(lines.end() - 1, rawFields("KD2      BM2                  1", valueField("Db", "80.000"),
                                            valueField("Df", "80.000"), valueField("Z", "10.20000", 16)));
    lines.insert(lines.begin(), rawFields("TO  Adjustment", valueField("R", "1.60030"), valueField("HD", "20.040")));
    const TextLines raw = TextLines::fromText(textOfLines(lines));
    const std::string filtered = filterLines(RecordFilter::Leveling, raw);
    ASSERT_NE(filtered.size(), textOfLines(lines).size());

    for (const TextLines& text : {raw, TextLines::viewOf(filtered)}) {
        const std::vector<leveling::Section> sections = leveling::readSections(text);
        ASSERT_EQ(sections.size(), 1u);
        EXPECT_EQ(sections[0].stationCount(), 2);
        EXPECT_DOUBLE_EQ(sections[0].heightDifference, 0.2);
    }
    // In the raw text, the lines named are the text's own; a book reads every line.
    const leveling::Section section = leveling::readSections(raw)[0];
    EXPECT_EQ(section.stations[0].readings.fore1.line, LineNumber(5));
    EXPECT_EQ(section.stations[1].readings.back1.line, LineNumber(8));
    // A book reads every line: the height row is taken for a reading.
    EXPECT_THROW(leveling::readSections(raw, {}, leveling::LinesRead::AsBook), InputError);
}

// Readings as exact decimals: a double would lie a hair off 0.0000005 and its halves.
TEST(ExactUnits, DecimalsReadExactlyAndRoundedHalfToEven)
{
    const std::pair<const char*, leveling::Micrometres> texts[] = {
        {"1.23062", 1230620},
        {" 45.870 ", 45870000},
        {".5", 500000},
        {"-0.61288", -612880},
        {"+2.5E2", 250000000},
        {"1e-3", 1000},
        {"0.0000005", 0},
        {"0.0000015", 2},
        {"-0.0000025", -2},
        {"0.00000050001", 1},
        {"999999.999999", 999999999999},
    };
    for (const auto& [text, value] : texts)
        EXPECT_EQ(leveling::micrometres(text), value) << text;
    for (const auto& [numerator, quotient] :
         {std::pair{5, 2}, {7, 4}, {-5, -2}, {-7, -4}, {-3, -2}, {4, 2}, {6, 3}, {-1, 0}, {1, 0}, {3, 2}})
        EXPECT_EQ(leveling::halfEvenQuotient(numerator, 2), quotient) << numerator;
    EXPECT_EQ(leveling::roundedTo(617745, leveling::kHundredthMm), 617740);
    // micrometresOf rounds as std::llround does: halves away from zero, the inline
    // path and the one for values past 2^52 alike.
    for (const double metres : {1.67078, -1.67078, 0.0000005, -0.0000005, 0.0000015, 2.5e-7, -0.0, 999999.999999,
                                -45.8705, 0.49999999999999994e-6, 4.6e9, -4.6e9})
        EXPECT_EQ(leveling::micrometresOf(metres), std::llround(metres * 1e6)) << metres;
}

TEST(Checks, TheComputationCheckCatchesAWrongStoredHeightDifference)
{
    const TextLines text = TextLines::fromText(textOfLines(levelingLine(chain(2, "A", "B"))));
    std::vector<leveling::Section> sections = leveling::readSections(text);
    EXPECT_TRUE(findingsOf(leveling::checkSections(sections, standard(2)), CheckItem::ComputationCheck).empty());

    // A stored mean 0.01 mm off is within the check; 0.02 mm is caught.
    sections[0].stations[1].meanHeightDifference += 0.00001;
    EXPECT_TRUE(findingsOf(leveling::checkSections(sections, standard(2)), CheckItem::ComputationCheck).empty());
    sections[0].stations[1].meanHeightDifference += 0.00001;
    const auto caught = findingsOf(leveling::checkSections(sections, standard(2)), CheckItem::ComputationCheck);
    ASSERT_EQ(caught.size(), 1u);
    // Σ back readings 6.0, Σ fore 5.6: (6.0 - 5.6) / 2 = 0.2 m against 0.20002 m stored.
    EXPECT_NEAR(caught[0].value, -0.02, 1e-9);
    EXPECT_EQ(caught[0].line, LineNumber(10));  // the End-Line record
    EXPECT_EQ(caught[0].point, "B");
    EXPECT_EQ(*caught[0].upper, leveling::kComputationToleranceMm);
}

TEST(Checks, ALoopAndAForwardReturnPairAreNamedByTheirLastLineAndPoint)
{
    // A loop A to A of 2 stations of 4 × 20 m sights, 80 m, rising 0.6 mm: 2√0.08 =
    // 0.566 mm allowed in 一等.
    std::vector<HandStation> loop = chain(2, "A", "A");
    loop[0].backReading1 = loop[0].backReading2 = 1.4006;
    loop[1].backReading1 = loop[1].backReading2 = 1.4;
    // Then B to C and back C to B, 80 m each, differing by 1.0 mm: 1.8√0.08 = 0.509 mm.
    std::vector<HandStation> forward = chain(2, "B", "C"), back = chain(2, "C", "B");
    forward[0].backReading1 = forward[0].backReading2 = 1.401;  // +0.201 m
    back[0].backReading1 = back[0].backReading2 = 1.2;          // -0.200 m
    std::vector<std::string> lines = levelingLine(loop);
    for (const auto* stations : {&forward, &back})
        for (std::string& line : levelingLine(*stations))
            lines.push_back(std::move(line));
    const leveling::CheckReport report =
        leveling::checkSections(leveling::readSections(TextLines::fromText(textOfLines(lines))), standard(1));

    const auto loops = findingsOf(report, CheckItem::LoopMisclosure);
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_NEAR(loops[0].value, 0.6, 1e-9);
    EXPECT_NEAR(*loops[0].upper, 2 * std::sqrt(0.08), 1e-12);
    EXPECT_EQ(loops[0].line, LineNumber(10));
    EXPECT_EQ(loops[0].point, "A");
    const auto pairs = findingsOf(report, CheckItem::ForwardReturn);
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_NEAR(pairs[0].value, 1.0, 1e-9);
    EXPECT_NEAR(*pairs[0].upper, 1.8 * std::sqrt(0.08), 1e-12);
    EXPECT_EQ(pairs[0].line, LineNumber(30));
    EXPECT_EQ(pairs[0].point, "B");
    EXPECT_EQ(pairs[0].section, 2);
    EXPECT_EQ(report.sections, 3);
    EXPECT_EQ(report.stations, 6);
}

TEST(Checks, AccumulatedDifferenceIsFlaggedEachTimeItPassesItsLimit)
{
    // d of 1 m each but one: Σd 1 2 3 4 3 4 5 against 一等's 3 m. It passes at station
    // 4, is back on the limit at 5 and passes again at 6.
    const double d[] = {1, 1, 1, 1, -1, 1, 1};
    std::vector<HandStation> stations = chain(7, "A", "B");
    for (std::size_t k = 0; k < 7; ++k)
        stations[k].backDistance1 = stations[k].backDistance2 = 20 + d[k];
    const TextLines text = TextLines::fromText(textOfLines(levelingLine(stations)));
    const auto passes = findingsOf(leveling::checkSections(leveling::readSections(text), standard(1)),
                                   CheckItem::DistanceDifferenceSum);
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(passes[0].station, 4);
    EXPECT_EQ(passes[0].line, LineNumber(14));
    EXPECT_NEAR(passes[0].value, 4, 1e-9);
    EXPECT_EQ(passes[1].station, 6);
    EXPECT_NEAR(passes[1].value, 4, 1e-9);
}

TEST(Sections, TheTwoWayBookReadsForwardAndReturnStationsAsTwoSections)
{
    // Back-first stations go A to B, fore-first ones come back B to A.
    std::vector<std::string> lines = {startLine("aBFFB")};
    const auto station = [&](const char* first, const char* second, const char* from, const char* fromReading,
                             const char* to, const char* toReading) {
        lines.push_back(readingLine(from, first, fromReading, "20.000"));
        lines.push_back(readingLine(to, second, toReading, "20.000"));
        lines.push_back(readingLine(to, second, toReading, "20.000"));
        lines.push_back(readingLine(from, first, fromReading, "20.000"));
    };
    station("Rb", "Rf", "A", "1.10000", "B", "1.00000");  // forward A to B: +0.1 m
    station("Rf", "Rb", "B", "1.00000", "A", "1.10000");  // the return's fore-first station on the same points
    lines.push_back(endLine());
    const TextLines text = TextLines::fromText(textOfLines(lines));  // the sections view it
    const std::vector<leveling::Section> sections = leveling::readTwoWaySections(text);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].stationCount(), 1);
    EXPECT_EQ(sections[0].startPoint, "A");
    EXPECT_EQ(sections[0].endPoint, "B");
    EXPECT_DOUBLE_EQ(sections[0].heightDifference, 0.1);
    EXPECT_EQ(sections[1].stationCount(), 1);
    // The return book books the recorded fore staff as its back.
    EXPECT_EQ(sections[1].startPoint, "B");
    EXPECT_EQ(sections[1].endPoint, "A");
    EXPECT_DOUBLE_EQ(sections[1].heightDifference, -0.1);
    EXPECT_EQ(sections[1].stations[0].readings.firstLine(), LineNumber(6));
}

}  // namespace
}  // namespace levara::testing
