// Cutting lines into fields and reading the fixed windows.
#include <gtest/gtest.h>

#include <string>

#include "records/measurement_line.h"

namespace levara {
namespace {

TEST(MeasurementLine, WindowsOfInstrumentLines)
{
    const MeasurementLine reading(
        "For M5|Adr     4|KD1      BM1      01:33:402   1|Rb        1.85953 m   |HD         45.870 m   |                      | ");
    EXPECT_EQ(reading.fieldCount(), 7u);
    EXPECT_EQ(reading.pointNumber(), "BM1");
    EXPECT_EQ(reading.widePointNumber(), "      BM1      ");
    EXPECT_EQ(reading.rejectFlag(), "");
    EXPECT_EQ(reading.repetitions(), "2");  // after the time
    EXPECT_EQ(reading.readingTag(), "Rb");
    EXPECT_EQ(reading.readingTagLetter(), "R");
    EXPECT_EQ(reading.reading(), "1.85953");  // the unit lies beyond the window
    EXPECT_EQ(reading.distance(), "45.870");
    EXPECT_EQ(reading.heightTag(), "");
    EXPECT_EQ(reading.height(), "");
    EXPECT_FALSE(reading.rejected());

    EXPECT_FALSE(reading.isTextRecord());

    const MeasurementLine start("For M5|Adr     2|TO  Start-Line       BBFF     1|                      |");
    EXPECT_EQ(start.startTag(), "Start-Line");
    EXPECT_EQ(start.endTag(), "Start-Li");
    EXPECT_EQ(start.readingTag(), "");
    EXPECT_TRUE(start.isTextRecord());
    EXPECT_EQ(start.text(), "Start-Line       BBFF     1");
    EXPECT_EQ(start.observationMethod(), "BBFF");
    EXPECT_EQ(start.lineNumber(), "1");
    const MeasurementLine numbered("For M5|Adr     2|TO  Start-Line         BF  0214|                      |");
    EXPECT_EQ(numbered.observationMethod(), "BF");
    EXPECT_EQ(numbered.lineNumber(), "0214");
    // The method and number are read by words wherever they stand.
    const struct {
        const char* block;
        const char* method;
        const char* number;
    } starts[] = {
        {"TO  Start-Line         BFFB    1", "BFFB", "1"},
        {"TO  Start-Line      aBFFB     4", "aBFFB", "4"},
        {"TO  Start-Line#####  BFFB     1", "BFFB", "1"},
        {"TO  Start-Line BF", "BF", ""},
        {"TO  Start-Line  XY  bbff  L1", "bbff", "L1"},
        {"TO  Start-Line    FFFF     7", "", "7"},
        {"TO  Start-Line", "", ""},
    };
    for (const auto& start : starts) {
        const std::string text = "For M5|Adr     2|" + std::string(start.block) + "|                      |";
        const MeasurementLine line(text);
        EXPECT_EQ(line.observationMethod(), start.method) << start.block;
        EXPECT_EQ(line.lineNumber(), start.number) << start.block;
    }

    const MeasurementLine end("For M5|Adr    36|TO  End-Line                  1|                      |");
    EXPECT_EQ(end.endTag(), "End-Line");
    EXPECT_EQ(end.startTag(), "End-Line  ");

    const MeasurementLine height(
        "For M5|Adr    12|KD1      3.1      03:19:301   1|Rz        1.04744 m   |HD          9.964 m   |Z         1.21187 m   | ");
    EXPECT_EQ(height.heightTag(), "Z");
    EXPECT_EQ(height.height(), "1.21187");
    EXPECT_EQ(height.readingTag(), "Rz");
}

TEST(MeasurementLine, RejectionFlagAndLongValuesAreCutAtTheirWindows)
{
    const MeasurementLine line(
        "F|A|KD1      BM1#####01:33:402   1|Rb   123456789012345678|HD12345678901234567890|Z12345678901234567890");
    EXPECT_EQ(line.rejectFlag(), "#####");
    EXPECT_EQ(MeasurementLine("F|A|KD1      BM1      01:33:40    1|").repetitions(), "");  // none recorded
    EXPECT_EQ(MeasurementLine("F|A|KD1      BM1      01:33:400   1|").repetitions(), "");  // no count
    EXPECT_TRUE(line.rejected());
    EXPECT_EQ(line.pointNumber(), "BM1");
    EXPECT_EQ(line.reading(), "123456789012");  // characters 3 to 17 of field 3
    EXPECT_EQ(line.distance(), "123456789012345");
    EXPECT_EQ(line.height(), "1234567890123456");
    // A flag that only contains "#####" after other characters is not the flag.
    EXPECT_FALSE(MeasurementLine("F|A|KD1      BM1 ####01:33:402   1|").rejected());
}

TEST(MeasurementLine, OnlyLeadingBlanksAreStripped)
{
    EXPECT_EQ(stripLeadingBlanks("   a b  "), "a b  ");
    EXPECT_EQ(stripLeadingBlanks("\ta"), "\ta");  // blanks are spaces only
    EXPECT_EQ(stripLeadingBlanks("    "), "");
    // " Rb" is characters 1 and 2, " R", which strips to "R".
    EXPECT_EQ(MeasurementLine("a|b|c| Rb   1.5").readingTag(), "R");
    // "R " keeps its blank: it is what tells a single reading from "Rb".
    EXPECT_EQ(MeasurementLine("a|b|c|R         1.5").readingTag(), "R ");
    EXPECT_EQ(MeasurementLine("a|b|c|Rb  1.5  m |").reading(), "1.5  m ");
}

TEST(MeasurementLine, SplitsAtEveryBar)
{
    const MeasurementLine none("no bars at all");
    EXPECT_EQ(none.fieldCount(), 1u);
    EXPECT_EQ(none.field(0), "no bars at all");
    EXPECT_EQ(none.field(2), "");
    EXPECT_EQ(none.readingTag(), "");
    EXPECT_EQ(none.startTag(), "");

    EXPECT_EQ(MeasurementLine("").fieldCount(), 1u);

    const MeasurementLine many("0|1||3|4|5|6|7||9|");
    EXPECT_EQ(many.fieldCount(), 11u);
    EXPECT_EQ(many.field(2), "");
    EXPECT_EQ(many.field(5), "5");
    EXPECT_EQ(many.field(6), "6");
    EXPECT_EQ(many.field(7), "7");
    EXPECT_EQ(many.field(8), "");
    EXPECT_EQ(many.field(9), "9");
    EXPECT_EQ(many.field(10), "");
    EXPECT_FALSE(many.hasField(11));
    EXPECT_EQ(many.field(11), "");

    const MeasurementLine six("0|1|2|3|4|5");
    EXPECT_EQ(six.fieldCount(), 6u);
    EXPECT_EQ(six.field(5), "5");
    EXPECT_FALSE(six.hasField(6));
}

TEST(MeasurementLine, ShortFieldsGiveShortOrEmptyWindows)
{
    const MeasurementLine line("a|b|KD1  P1|R|H|");
    EXPECT_EQ(line.pointNumber(), "P1");
    EXPECT_EQ(line.rejectFlag(), "");
    EXPECT_EQ(line.readingTag(), "R");
    EXPECT_EQ(line.distance(), "");

    EXPECT_EQ(slice("abc", 3, 5), "c");
    EXPECT_EQ(slice("abc", 4, 5), "");
    EXPECT_EQ(slice("abc", 9, 5), "");
    EXPECT_EQ(slice("abcdef", 2, 0), "");
}

// The row filled with blanks to 117 display columns (a Chinese character two), then
// "|" and a blank: 119 columns, as the level lays a row out in GB18030 bytes.
std::string widthOfTheLevel(std::string row)
{
    std::size_t columns = 0;
    for (unsigned char c : row)
        columns += c < 0x80 ? 1 : (c & 0xC0) == 0xC0 ? 2 : 0;
    return row + std::string(117 - columns, ' ') + "| ";
}

TEST(MeasurementLine, PositionsCountColumnsAChineseCharacterTakingTwo)
{
    // Three Chinese characters in the point number take columns 7 to 12, as the level
    // writes them in GB18030: the flag still sits at 13 to 17.
    const std::string row = widthOfTheLevel(
        "For M5|Adr     4|KD1   水准点#####01:33:402   1|Rb        1.85953 m   |HD         45.870 m   |Z  1.5");
    const MeasurementLine line(row);
    EXPECT_EQ(line.pointNumber(), "水准点");
    EXPECT_EQ(line.widePointNumber(), "   水准点#####0");
    EXPECT_TRUE(line.rejected());
    EXPECT_EQ(line.readingTag(), "Rb");

    EXPECT_EQ(slice("中文abc", 3, 3), "文a");
    EXPECT_EQ(slice("中文abc", 2, 3), "文");  // 中 starts before the window, c after it
    EXPECT_EQ(slice("中文abc", 7, 1), "c");
    EXPECT_EQ(slice("中文abc", 8, 1), "");
    EXPECT_EQ(slice("ab😀cd", 3, 3), "😀c");
    // Reading fields with a Chinese unit: the window ends by columns too.
    std::string meters;
    for (int k = 0; k < 12; ++k)
        meters += "米";
    const std::string line2 = widthOfTheLevel("a|b|c|Rb 1.5" + meters);
    EXPECT_EQ(MeasurementLine(line2).reading(), "1.5" + meters.substr(0, 6 * 3));  // 15 columns, one blank stripped
}

TEST(MeasurementLine, RowsLaidOutByCharactersAreReadByCharacters)
{
    // The same names in both layouts: right-aligned in 9 columns, or in 9 characters
    // of a row 119 characters long, or of a field 2 of 31 characters in a row whose
    // trailing blanks were cut.
    const std::string byColumns = widthOfTheLevel(
        "For M5|Adr     4|KD1 水准点甲     01:33:402   1|Rb        1.85953 m   |HD         45.870 m   |");
    std::string byCharacters =
        "For M5|Adr     4|KD1     水准点甲     01:33:402   1|Rb        1.85953 m   |HD         45.870 m   |";
    std::size_t characters = 0;
    for (unsigned char c : byCharacters)
        characters += (c & 0xC0) != 0x80;
    byCharacters += std::string(117 - characters, ' ') + "| ";
    const std::string shortened = "For M5|Adr     5|KD1      转点1##### 01:33:402   1|Rf        1.46981 m";
    const struct {
        std::string row;
        const char* point;
        bool rejected;
    } rows[] = {{byColumns, "水准点甲", false}, {byCharacters, "水准点甲", false}, {shortened, "转点1", true}};
    for (const auto& row : rows) {
        const MeasurementLine line(row.row);
        EXPECT_EQ(line.pointNumber(), row.point) << row.row;
        EXPECT_EQ(line.rejected(), row.rejected) << row.row;
        EXPECT_EQ(line.reading(), row.rejected ? "1.46981" : "1.85953") << row.row;
    }
}

}  // namespace
}  // namespace levara
