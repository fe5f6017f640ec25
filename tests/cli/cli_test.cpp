// levara-cli as a user runs it: exit codes, stderr and the files it leaves.
#include <gtest/gtest.h>

#include <thread>

#include "tests/support/raw_lines.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "xls/xls.h"

namespace levara::testing {
namespace {

std::string cli() { return (binaryDir() / "levara-cli").string(); }

class CliTest : public ::testing::Test {
protected:
    int run(std::vector<std::string> args, const std::string& program = cli())
    {
        args.insert(args.begin(), program);
        return runProgram(args, &output);
    }
    ScratchDir scratch;
    std::string output;
};

const std::string kRaw =
    "For M5|Adr     1|TO  Start-Line       BFFB     1|                      |                      |                      |\r\n"
    "\r\n"
    "For M5|Adr     2|KD1       P1      01:35:392   1|Rb        1.46981 m   |HD         45.290 m   |                      |\n"
    "header\r";

TEST_F(CliTest, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(run({}), 2);
    EXPECT_NE(output.find("usage:"), std::string::npos);
    EXPECT_EQ(run({"--save", "pdf", "a", "b"}), 2);
    EXPECT_EQ(run({"--filter", "bogus", "--save", "text", "a", "b"}), 2);
    EXPECT_EQ(run({"--save", "text", "a"}), 2);
    EXPECT_EQ(run({"--save", "text", "a", "b", "c"}), 2);
    EXPECT_EQ(run({"--save", "text", "--frobnicate", "a", "b"}), 2);
    EXPECT_EQ(run({"--help"}), 0);
}

TEST_F(CliTest, SavesTheOpenedTextAndTheFilteredText)
{
    writeBytes(scratch / "raw.dat", kRaw);
    ASSERT_EQ(run({"--save", "text", (scratch / "raw.dat").string(), (scratch / "all.txt").string()}), 0) << output;
    EXPECT_EQ(
        readBytes(scratch / "all.txt"),
        "For M5|Adr     1|TO  Start-Line       BFFB     1|                      |                      |                      |\r\n"
        "For M5|Adr     2|KD1       P1      01:35:392   1|Rb        1.46981 m   |HD         45.290 m   |                      |\r\n"
        "header\r\n\r\n");
    EXPECT_EQ(output, "");

    ASSERT_EQ(run({"--filter", "single", "--save", "text", (scratch / "raw.dat").string(),
                   (scratch / "none.txt").string()}),
              0)
        << output;
    EXPECT_EQ(readBytes(scratch / "none.txt"), "\r\n");

    // A file of CR LF lines without empty ones is the text as it stands.
    const std::string plain = "KD1 \xCB\xAE\xD7\xBC|1.5\r\nheader\r\n";
    writeBytes(scratch / "plain.dat", plain);
    ASSERT_EQ(run({"--save", "text", (scratch / "plain.dat").string(), (scratch / "plain.txt").string()}), 0) << output;
    EXPECT_EQ(readBytes(scratch / "plain.txt"), plain + "\r\n");
}

TEST_F(CliTest, ExistingOutputNeedsOverwrite)
{
    writeBytes(scratch / "raw.dat", "new\r\n");
    writeBytes(scratch / "out.txt", "old");
    EXPECT_EQ(run({"--save", "text", (scratch / "raw.dat").string(), (scratch / "out.txt").string()}), 1);
    EXPECT_NE(output.find("out.txt"), std::string::npos) << output;
    EXPECT_NE(output.find("--overwrite"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_EQ(readBytes(scratch / "out.txt"), "old");

    EXPECT_EQ(run({"--save", "text", "--overwrite", (scratch / "raw.dat").string(), (scratch / "out.txt").string()}), 0)
        << output;
    EXPECT_EQ(readBytes(scratch / "out.txt"), "new\r\n\r\n");
}

TEST_F(CliTest, FailuresNameTheFileAndCreateNothing)
{
    EXPECT_EQ(run({"--save", "text", (scratch / "missing.dat").string(), (scratch / "out.txt").string()}), 1);
    EXPECT_NE(output.find("missing.dat"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.txt"));

    writeBytes(scratch / "raw.dat", "x\r\n");
    EXPECT_EQ(run({"--save", "text", (scratch / "raw.dat").string(), (scratch / "no/such/dir/out.txt").string()}), 1);
    EXPECT_NE(output.find("out.txt"), std::string::npos) << output;

    std::filesystem::create_directory(scratch / "adir");
    EXPECT_EQ(run({"--save", "text", "--overwrite", (scratch / "raw.dat").string(), (scratch / "adir").string()}), 1);
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "adir"));
    EXPECT_EQ(run({"--save", "text", (scratch / "adir").string(), (scratch / "out.txt").string()}), 1);
    EXPECT_NE(output.find("adir"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.txt"));
}

TEST_F(CliTest, MissingTempFolderIsAnError)
{
    // A copy of the program with no temp folder beside it.
    const std::filesystem::path program = scratch / "bare";
    std::filesystem::create_directory(program);
    std::filesystem::copy_file(cli(), program / "levara-cli");
    writeBytes(scratch / "raw.dat", "x\r\n");
    EXPECT_EQ(run({"--save", "text", (scratch / "raw.dat").string(), (scratch / "out.txt").string()},
                  (program / "levara-cli").string()),
              1);
    EXPECT_NE(output.find((program / "temp").string()), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.txt"));
    EXPECT_FALSE(std::filesystem::exists(program / "temp"));
}

TEST_F(CliTest, RunsAtTheSameTimeKeepTheirOwnWork)
{
    // Large enough that unguarded runs would interleave on the shared work file.
    std::string a, b;
    for (int i = 0; i < 200000; ++i) {
        a += "a line " + std::to_string(i) + "\r\n";
        b += "b line " + std::to_string(i) + "\r\n";
    }
    writeBytes(scratch / "a.dat", a);
    writeBytes(scratch / "b.dat", b);
    int statusA = -1, statusB = -1;
    std::string outA, outB;
    std::thread first([&] {
        statusA =
            runProgram({cli(), "--save", "text", (scratch / "a.dat").string(), (scratch / "a.txt").string()}, &outA);
    });
    std::thread second([&] {
        statusB =
            runProgram({cli(), "--save", "text", (scratch / "b.dat").string(), (scratch / "b.txt").string()}, &outB);
    });
    first.join();
    second.join();
    ASSERT_EQ(statusA, 0) << outA;
    ASSERT_EQ(statusB, 0) << outB;
    EXPECT_TRUE(readBytes(scratch / "a.txt") == a + "\r\n");
    EXPECT_TRUE(readBytes(scratch / "b.txt") == b + "\r\n");
}

TEST_F(CliTest, EveryWorkbookKindIsWritten)
{
    // A BFFB station, an intermediate sight set-up and a single point in one raw file.
    writeBytes(scratch / "raw.dat",
               lines({kStartLine, rawLine("BM1", "Rb", "1.52345", "30.100", ""),
                      rawLine("TP1", "Rf", "1.41234", "29.500", ""), rawLine("TP1", "Rf", "1.41236", "29.520", ""),
                      rawLine("BM1", "Rb", "1.52349", "30.120", ""), rawLine("BM1", "", "", "", "100.00000"),
                      rawLine("P1", "Rz", "1.50000", "12.000", "99.73456"),
                      rawLine("12", "R ", "1.50000", "25.321", "")}));
    const std::vector<std::pair<std::string, std::string>> kinds = {{"leveling", "bffb"},
                                                                    {"leveling", "bbff"},
                                                                    {"leveling", "bfbf"},
                                                                    {"leveling", "bf"},
                                                                    {"leveling", "abffb"},
                                                                    {"leveling", "abffb-2way"},
                                                                    {"intermediate", "intermediate"},
                                                                    {"single", "single"}};
    for (const auto& [filter, kind] : kinds) {
        const std::filesystem::path out = scratch / (kind + ".xls");
        ASSERT_EQ(run({"--filter", filter, "--save", kind, (scratch / "raw.dat").string(), out.string()}), 0)
            << kind << ": " << output;
        const xls::Workbook book = openWorkbook(out);
        EXPECT_FALSE(std::holds_alternative<std::monostate>(book.sheet(0).value(6, 1)) &&
                     std::holds_alternative<std::monostate>(book.sheet(0).value(3, 1)))
            << kind << " wrote no data row";
    }
}

}  // namespace
}  // namespace levara::testing
