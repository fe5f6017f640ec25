// GSI files as the open command reads them: told by their content, converted to the
// raw lines in tests/golden/gsi-*.txt, refused with the file, line and word at fault.
#include <gtest/gtest.h>

#include "records/records.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"

namespace levara::testing {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

struct GsiFile {
    const char* name;
    int readings;
    bool gsi16;
    int checkReadings = 0, unfinishedReadings = 0, closingBlocks = 0;
};

TEST(GsiConversion, HandMadeFilesGiveTheGoldenRawLines)
{
    const GsiFile files[] = {
        {"bffb_results", 12, true},
        {"bf_line", 6, false},
        {"abffb_line", 16, true},
        {"units", 8, true},
        {"intermediate", 9, false},
        // A check before the line, sights before and after the fore, 390 from 2 to
        // 10, a line-closing block with a text, addresses that restart and jump, a
        // station left unfinished, a loop, a line whose second station is missing.
        {"oddities", 15, true, 4, 1, 1},
    };
    for (const GsiFile& file : files) {
        SCOPED_TRACE(file.name);
        const TextLines lines = TextLines::read(sourceDir() / "tests/data/gsi" / (std::string(file.name) + ".gsi"));
        ASSERT_TRUE(isGsiText(lines));
        const GsiConversion conversion = convertGsi(lines, file.name);
        EXPECT_EQ(conversion.readings, file.readings);
        EXPECT_EQ(conversion.gsi16, file.gsi16);
        EXPECT_EQ(conversion.gsi8, !file.gsi16);
        EXPECT_EQ(conversion.checkReadings, file.checkReadings);
        EXPECT_EQ(conversion.unfinishedReadings, file.unfinishedReadings);
        EXPECT_EQ(conversion.closingBlocks, file.closingBlocks);
        const std::vector<std::string> converted = linesOf(conversion.text);
        for (const std::string& line : converted) {
            ASSERT_EQ(line.size(), 119u) << line;
            for (std::size_t bar : {7, 17, 49, 72, 95, 118})
                EXPECT_EQ(line[bar - 1], '|') << line;
        }
        expectGolden(converted, "gsi-" + std::string(file.name) + ".txt");
    }
}

TEST(GsiConversion, TheFirstLineThatIsNoCommentTellsAGsiFile)
{
    const std::pair<const char*, bool> texts[] = {
        {"410001+?......1 \r\n", true},
        {"! job\r\n\r\n# note\r\n   \r\n110001+0000000A 83..58+00000000\r\n", true},
        {"*110001+000000000000000A\r\n", true},
        {"For M5|Adr     1|TO  Start-Line       BFFB     1|                      |\r\n410001+?......1 \r\n", false},
        {"11....+0000000A 83..58+00000000\r\n", false},   // GSI-8 needs the block address
        {"110001+0000000A 83..58+0000000\r\n", false},    // a word one short
        {"110001+0000000A  83..58+00000000\r\n", false},  // two blanks
        {"*hello\r\n", false},
        {"! only comments\r\n", false},
        {"", false},
        {"! lone CR\r110001+0000000A 83..58+00000000", true},
    };
    for (const auto& [text, gsi] : texts) {
        EXPECT_EQ(isGsiText(TextLines::fromText(text)), gsi) << text;
        EXPECT_EQ(isGsiText(std::string_view(text)), gsi) << text;
    }
}

struct Fault {
    const char* name;
    std::string text;
    int line;
    const char* message;  // a part of it
};

const std::string kBffb = "410001+?......2 \n110002+00000BM1 83..58+05000000 \n";
const std::string kB1 = "110003+00000BM1 32...8+01824936 331.08+00159977 \n";
const std::string kF1 = "110004+00000TP1 32...8+01934475 332.08+00138073 \n";
const std::string kF2 = "110005+00000TP1 32...8+01934527 336.08+00138071 \n";

TEST(GsiConversion, FaultsNameTheFileTheLineAndTheWord)
{
    const Fault faults[] = {
        {"short word", kBffb + "110003+00000BM1 32...8+0182493 331.08+00159977 \n", 3,
         "malformed GSI word \"32...8+0182493\": it has 14 characters; a GSI-8 word has 15"},
        {"sign", kBffb + "110003+00000BM1 32...8*01824936 \n", 3, "\"32...8*01824936\": character 7"},
        {"two blanks", kBffb + "110003+00000BM1  32...8+01824936 \n", 3, "\"110003+00000BM1\": more than one blank"},
        {"blank after the star", "*410001+00000000?......2 \n* 110002+000000000000000G \n", 2, "a blank follows \"*\""},
        {"data no number", kBffb + "110003+00000BM1 32...8+018249A6 331.08+00159977 \n", 3,
         "\"32...8+018249A6\": its data is not a number"},
        {"unknown unit", kBffb + "110003+00000BM1 32...8+01824936 331.09+00159977 \n", 3,
         "\"331.09+00159977\" has the unknown unit digit \"9\""},
        {"angle unit", kBffb + "110003+00000BM1 32...2+01824936 331.08+00159977 \n", 3,
         "\"32...2+01824936\" carries an angle unit"},
        {"no unit", kBffb + "110003+00000BM1 32...8+01824936 331...+00159977 \n", 3, "\"331...+00159977\" has no unit"},
        {"no distance", kBffb + "110003+00000BM1 331.08+00159977 \n", 3,
         "the reading \"331.08+00159977\" has no distance (word 32)"},
        {"two distances", kBffb + "110003+00000BM1 32...8+01824936 32...8+01824937 331.08+00159977 \n", 3,
         "second distance word \"32...8+01824937\""},
        {"missing B2", kBffb + kB1 + kF1 + kF2 + "110006+00000TP1 83..08+05021906 \n", 6,
         "the BFFB station from line 3 ends without its B2 reading (word 335)"},
        {"reading twice", kBffb + kB1 + kB1, 4, "the BFFB station from line 3 ends without its F1 reading (word 332)"},
        {"file ends in a station", kBffb + kB1 + kF1, 4, "station from line 3 ends without its F2 reading"},
        {"block start", kBffb + "21.102+16734320 \n", 3, "the block starts with \"21.102+16734320\""},
        {"unknown method", "410001+?......7 \n", 1, "unknown leveling method \"?......7\""},
        {"reading before a line", kB1, 1, "\"331.08+00159977\" comes before the start of a line"},
        {"reading of another method",
         "410001+?......1 \n" + kB1 + kF1 + "110005+00000BM1 32...8+01825388 335.08+00159980 \n", 4,
         "\"335.08+00159980\" (B2) has no place in a BF line"},
        {"sight without height", kBffb + kB1 + "110004+000000P1 32...8+01000000 333.08+00100000 \n" + kF1, 4,
         "the intermediate sight \"333.08+00100000\" has no height (word 83)"},
        {"value too long", "*110001+000000000000000G 83..08+9999999999999999 \n", 1,
         "the value of \"83..08+9999999999999999\" is too long"},
        {"stake-out", "110001+0000000G 32...8+01824936 334.08+00159977 \n", 1, "stake-out reading \"334.08+00159977\""},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const TextLines lines = TextLines::fromText(fault.text);
        ASSERT_TRUE(isGsiText(lines));
        try {
            convertGsi(lines, "job.gsi");
            ADD_FAILURE() << "converted";
        } catch (const FileError& error) {
            EXPECT_EQ(error.file(), "job.gsi");
            const std::string expected = "job.gsi: line " + std::to_string(fault.line) + ": ";
            EXPECT_EQ(std::string(error.what()).substr(0, expected.size()), expected) << error.what();
            EXPECT_NE(std::string(error.what()).find(fault.message), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace levara::testing
