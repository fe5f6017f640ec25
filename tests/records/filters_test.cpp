// The three filters: which lines each keeps, and how often.
#include <gtest/gtest.h>

#include <string>

#include "records/filters.h"
#include "records/opened_text.h"
#include "tests/support/raw_lines.h"

namespace levara {
namespace {

using testing::rawFields;

const std::string kAccepted = "     ";
const std::string kRejected = "#####";

std::string readingLine(const std::string& tag, const std::string& flag = kAccepted, const std::string& height = "")
{
    return rawFields("KD1      BM1" + flag + " 01:33:402   1", tag + "        1.85953 m", "HD         45.870 m",
                     height);
}

const std::string kHeight = "Z         0.38971 m";
const std::string kStart = testing::startLine("BFFB");
const std::string kEnd = testing::endLine();

LineOrigins numbered(std::initializer_list<int> lines)
{
    LineOrigins origins;
    for (const int line : lines)
        origins.push_back(LineNumber(line));
    return origins;
}

int copies(RecordFilter filter, const std::string& line) { return copiesKept(filter, MeasurementLine(line)); }

struct Case {
    const char* what;
    std::string line;
    int leveling, intermediate, single;
};

TEST(Filters, EachFilterKeepsItsLines)
{
    const Case cases[] = {
        {"start marker", kStart, 1, 0, 0},
        {"rejected start marker", rawFields("TO  Start-Line#####  BFFB     1"), 1, 0, 0},
        {"end marker", kEnd, 1, 0, 0},
        {"rejected end marker", rawFields("TO  End-Line#####             1"), 0, 0, 0},
        {"back reading", readingLine("Rb"), 1, 1, 0},
        {"fore reading", readingLine("Rf"), 1, 0, 0},
        {"rejected back reading", readingLine("Rb", kRejected), 0, 0, 0},
        {"rejected fore reading", readingLine("Rf", kRejected), 0, 0, 0},
        {"height line", rawFields("KD1       TP      01:35:46    1", "", "", kHeight), 1, 1, 0},
        {"rejected height line", rawFields("KD1       TP#####01:35:46    1", "", "", kHeight), 0, 1, 0},
        {"single reading", readingLine("R "), 0, 1, 1},
        {"rejected single reading", readingLine("R ", kRejected), 0, 0, 0},
        {"single reading with height", readingLine("R ", kAccepted, kHeight), 1, 2, 1},
        {"rejected single reading with height", readingLine("R ", kRejected, kHeight), 0, 1, 0},
        {"intermediate RZ", readingLine("RZ"), 0, 1, 0},
        {"intermediate Rz", readingLine("Rz"), 0, 0, 0},
        {"intermediate Rz with height", readingLine("Rz", kAccepted, kHeight), 0, 1, 0},
        {"intermediate RZ with height", readingLine("RZ", kAccepted, kHeight), 0, 2, 0},
        {"back reading with height", readingLine("Rb", kAccepted, kHeight), 2, 2, 0},
        {"rejected intermediate Rz with height", readingLine("Rz", kRejected, kHeight), 0, 1, 0},
        // The level's collimation check and other text records with values.
        {"text record with R and HD",
         rawFields("TO  Adjustment                 1", "R         1.60030 m", "HD         20.040 m"), 0, 0, 0},
        {"text record with Rb and Z", rawFields("TO  Check A1", "Rb        1.60030 m", "", kHeight), 0, 0, 0},
        {"text record with c_ DMS", rawFields("TO  Adjustment", "c_       4.5 DMS"), 0, 0, 0},
        {"line-end totals",
         rawFields("KD2      BM1        6         1", "Db         240.26 m", "Df 236.36 m", "Z         0.00019 m"), 1,
         1, 0},
        {"small z is not a height", rawFields("KD1       TP      01:35:46    1", "", "", "z  1.0"), 0, 0, 0},
        {"blank before the tag", readingLine(" Rb"), 0, 0, 0},
        {"blank before R", readingLine(" R "), 0, 0, 0},
        {"lower-case r", readingLine("rb"), 0, 0, 0},
        {"R and a letter", readingLine("RA"), 0, 0, 0},
        {"tag in the wrong field", rawFields("KD1      BM1", "", "Rb 1.5"), 0, 0, 0},
        {"line without bars", "Rb 1.5 Z 2.0 Start-Line", 0, 0, 0},
        {"empty line", "", 0, 0, 0},
        {"short line", "a|b|KD1|R ", 0, 1, 1},
        {"short line, tag R alone", "a|b|KD1|R", 0, 0, 0},
        {"short line, no field 3", "a|b|    Start-Line", 1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(copies(RecordFilter::Leveling, c.line), c.leveling) << c.what;
        EXPECT_EQ(copies(RecordFilter::IntermediateSights, c.line), c.intermediate) << c.what;
        EXPECT_EQ(copies(RecordFilter::SinglePoints, c.line), c.single) << c.what;
    }
}

TEST(Filters, ChineseCharactersBeforeTheFlagTakeTwoColumns)
{
    // Point name of three Chinese characters, right-aligned in columns 4 to 12.
    const std::string rejected = rawFields("KD1   水准点#####01:33:402   1", "Rb        1.85953 m");
    EXPECT_EQ(copies(RecordFilter::Leveling, rejected), 0);
    const std::string accepted = rawFields("KD1   水准点     01:33:402   1", "Rb        1.85953 m");
    EXPECT_EQ(copies(RecordFilter::Leveling, accepted), 1);
}

TEST(Filters, OutputKeepsOrderDoublesLinesAndEndsEachWithCrLf)
{
    const std::string rb = readingLine("Rb");
    const std::string rbHeight = readingLine("Rb", kAccepted, kHeight);
    const std::string rejected = readingLine("Rf", kRejected);
    const std::string single = readingLine("R ");
    // Line ends of every kind, blank lines and a last line without a line end.
    const std::string text =
        kStart + "\r\n" + rb + "\n\r\n" + rejected + "\r" + rbHeight + "\r\n" + single + "\r\nno bars here\r\n" + kEnd;
    const TextLines lines = TextLines::fromText(text);

    EXPECT_EQ(filterLines(RecordFilter::Leveling, lines),
              kStart + "\r\n" + rb + "\r\n" + rbHeight + "\r\n" + rbHeight + "\r\n" + kEnd + "\r\n");
    EXPECT_EQ(filterLines(RecordFilter::IntermediateSights, lines),
              rb + "\r\n" + rbHeight + "\r\n" + rbHeight + "\r\n" + single + "\r\n");
    EXPECT_EQ(filterLines(RecordFilter::SinglePoints, lines), single + "\r\n");
    EXPECT_EQ(filterLines(RecordFilter::Leveling, TextLines::fromText("")), "");
}

TEST(Filters, RunningAgainOnTheOutput)
{
    const std::string text = kStart + "\r\n" + readingLine("R ", kAccepted, kHeight) + "\r\n" + readingLine("R ") +
                             "\r\n" + readingLine("Rb") + "\r\n";
    // The single-point filter is stable; the intermediate one doubles doubled lines again.
    const std::string single = filterLines(RecordFilter::SinglePoints, TextLines::fromText(text));
    EXPECT_EQ(filterLines(RecordFilter::SinglePoints, TextLines::fromText(single)), single);
    const std::string once = filterLines(RecordFilter::IntermediateSights, TextLines::fromText(text));
    const std::string twice = filterLines(RecordFilter::IntermediateSights, TextLines::fromText(once));
    EXPECT_EQ(TextLines::fromText(once).size(), 4u);
    EXPECT_EQ(TextLines::fromText(twice).size(), 6u);
}

}  // namespace
}  // namespace levara

namespace levara {
namespace {

TEST(Filters, KeptLinesAndTheirCopiesKeepTheOriginOfTheirLine)
{
    // The file's lines 1 to 8 as the open command shows them: the empty line 3 left out.
    const OpenedText opened =
        openedText(testing::lines({testing::kStartLine, "header", "", readingLine("Rb", kAccepted, kHeight),
                                   readingLine("Rf", kRejected), readingLine("Rf"), kEnd}),
                   "raw.dat");
    EXPECT_EQ(opened.origins, numbered({1, 2, 4, 5, 6, 7}));
    const FilteredLines kept =
        filterLines(RecordFilter::Leveling, TextLines::viewOfTextAndLineEnd(opened.text), opened.origins);
    EXPECT_EQ(kept.origins, numbered({1, 4, 4, 6, 7}));  // the reading with a height twice
    EXPECT_EQ(filterLines(RecordFilter::Leveling, TextLines::viewOf(opened.text), {}).origins, LineOrigins{});
}

}  // namespace
}  // namespace levara
