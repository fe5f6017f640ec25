// Lines of text files, work files, and replacing the user's file whole.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "records/error.h"
#include "records/replace_file.h"
#include "records/text_file.h"
#include "records/text_lines.h"
#include "tests/support/test_files.h"

namespace levara {
namespace {

using testing::readBytes;
using testing::ScratchDir;
using testing::writeBytes;

std::vector<std::string> linesOf(const TextLines& lines)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < lines.size(); ++i)
        result.emplace_back(lines[i]);
    return result;
}

std::vector<std::string> split(std::string text) { return linesOf(TextLines::fromText(std::move(text))); }

using Lines = std::vector<std::string>;

TEST(TextLines, EveryKindOfLineEndEndsALine)
{
    EXPECT_EQ(split("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(split("a\rb\r"), (Lines{"a", "b"}));
    // A file of LF lines must not collapse into one line that every filter drops.
    EXPECT_EQ(split("a\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(split("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(split("a\n\rb"), (Lines{"a", "", "b"}));  // LF then CR: two line ends
    EXPECT_EQ(split("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(TextLines, LastLineAndEmptyText)
{
    EXPECT_EQ(split("a\r\nlast"), (Lines{"a", "last"}));
    EXPECT_EQ(split(""), Lines{});
    EXPECT_TRUE(TextLines::fromText("").empty());
    EXPECT_EQ(split("\r\n"), (Lines{""}));
    EXPECT_EQ(split("\r\n\r\n"), (Lines{"", ""}));
    EXPECT_EQ(split("  \r\n"), (Lines{"  "}));  // blanks are content
    EXPECT_EQ(split("trailing\r"), (Lines{"trailing"}));
}

TEST(TextLines, TheWorkFilesLineEndCountsAsIfAppended)
{
    for (const std::string text : {"", "a", "a\r\n", "a\r", "a\n", "\r\n", "a\r\nb", "a\r\n\r\n"}) {
        EXPECT_EQ(linesOf(TextLines::viewOfTextAndLineEnd(text)), split(text + "\r\n")) << text;
        EXPECT_EQ(linesOf(TextLines::viewOf(text)), split(text)) << text;
    }
}

TEST(TextLines, RawFilesOfNonEmptyCrLfLinesAreKnownAtOnce)
{
    for (const std::string text : {"", "a\r\n", "a\r\nbc\r\n"})
        EXPECT_TRUE(areNonEmptyCrLfLines(text)) << text;
    for (const std::string text : {"a", "a\r\nb", "\r\n", "a\r\n\r\n", "a\n", "a\r", "a\rb\r\n", "a\nb\r\n"})
        EXPECT_FALSE(areNonEmptyCrLfLines(text)) << text;
}

TEST(TextLines, LinesSurviveMovingTheLines)
{
    // Short texts live inside the string object itself; lines must follow a move.
    TextLines lines = TextLines::fromText("ab\ncd");
    std::vector<TextLines> holder;
    holder.push_back(std::move(lines));
    holder.emplace_back(TextLines::fromText("x"));  // forces the vector to move its first element
    EXPECT_EQ(linesOf(holder[0]), (Lines{"ab", "cd"}));
}

TEST(TextFile, ReadsGb18030AndWritesItBack)
{
    ScratchDir scratch;
    const auto file = scratch / "raw.dat";
    writeBytes(file, "KD1 \xCB\xAE\xD7\xBC|1.5\r\n\xFF\r\nlast");
    EXPECT_EQ(linesOf(TextLines::read(file)), (Lines{"KD1 水准|1.5", "\xEF\xBF\xBD", "last"}));

    writeTextFile(file, "水准线路\r\n");
    EXPECT_EQ(readBytes(file), "\xCB\xAE\xD7\xBC\xCF\xDF\xC2\xB7\r\n");
    writeTextFile(file, {"short", "\r\n"});  // truncates what was there
    EXPECT_EQ(readBytes(file), "short\r\n");
}

// The work file's lines are taken from memory and the saved text is written again
// from the text: both must be what writing and reading the file gives.
TEST(TextFile, WorkFileLinesAndSavedCopyMatchTheFile)
{
    ScratchDir scratch;
    for (const std::string text : {"KD1|1.5\r\n", "水准|点\r\n", "bad \xFF byte\r\nlast", "", "a\r"}) {
        writeTextFile(scratch / "written.txt", {text, "\r\n"});
        const TextLines kept = writeWorkFile(scratch / "ooo.txt", text);
        EXPECT_EQ(linesOf(kept), linesOf(TextLines::read(scratch / "written.txt"))) << text;
        EXPECT_EQ(readBytes(scratch / "ooo.txt"), readBytes(scratch / "written.txt")) << text;
        replaceTextFile(scratch / "saved.dat", {text, "\r\n"});
        EXPECT_EQ(readBytes(scratch / "saved.dat"), readBytes(scratch / "written.txt")) << text;
    }
}

TEST(TextFile, LargeChineseTextRoundTripsThroughTheWorkFile)
{
    // Large texts are encoded a piece at a time; with lines of 41 three-byte
    // characters and CR LF the pieces' ends fall inside characters.
    ScratchDir scratch;
    std::string line;
    for (int k = 0; k < 41; ++k)
        line += "点";
    std::string text;
    while (text.size() < 3'200'000)
        text += line + "\r\n";
    writeTextFile(scratch / "ooo.txt", {text, "\r\n"});
    const TextLines lines = TextLines::read(scratch / "ooo.txt");
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i)
        joined.append(lines[i]).append("\r\n");
    EXPECT_TRUE(joined == text + "\r\n");  // not EXPECT_EQ: a failure would print megabytes
    EXPECT_TRUE(linesOf(writeWorkFile(scratch / "kept.txt", text)) == linesOf(lines));
}

TEST(TextFile, FailuresNameTheFile)
{
    ScratchDir scratch;
    const auto missing = scratch / "missing.dat";
    try {
        TextLines::read(missing);
        FAIL() << "a missing file was read";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), missing);
        EXPECT_NE(std::string(error.what()).find("missing.dat"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("does not exist"), std::string::npos);
    }
    EXPECT_THROW(TextLines::read(scratch.path()), FileError);  // a folder
    try {
        writeTextFile(scratch / "temp" / "ooo.txt", "x");  // no temp folder
        FAIL() << "wrote into a missing folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), scratch / "temp" / "ooo.txt");
    }
    EXPECT_THROW(writeTextFile(scratch.path(), "x"), FileError);
    if (geteuid() != 0) {
        writeBytes(scratch / "locked.dat", "x");
        chmod((scratch / "locked.dat").c_str(), 0);
        EXPECT_THROW(TextLines::read(scratch / "locked.dat"), FileError);
    }
}

// Nothing but the listed names may be left in the folder (no temporary files).
void expectFolderHolds(const std::filesystem::path& folder, std::vector<std::string> names)
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(found, names);
}

TEST(ReplaceFile, ReplacesTheWholeFileAndKeepsItsPermissions)
{
    ScratchDir scratch;
    const auto destination = scratch / "book.xls";
    replaceFile(destination, "new file");
    EXPECT_EQ(readBytes(destination), "new file");

    writeBytes(destination, "an old and much longer content");
    chmod(destination.c_str(), 0640);
    replaceFile(destination, "short");
    EXPECT_EQ(readBytes(destination), "short");
    struct stat st {};
    ASSERT_EQ(stat(destination.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    writeBytes(scratch / "work.txt", std::string(3 << 20, 'w'));
    copyFileReplacing(scratch / "work.txt", destination);
    EXPECT_EQ(readBytes(destination), std::string(3 << 20, 'w'));
    expectFolderHolds(scratch.path(), {"book.xls", "work.txt"});
}

TEST(ReplaceFile, FailureLeavesTheDestinationUntouched)
{
    ScratchDir scratch;
    const auto destination = scratch / "saved.txt";
    writeBytes(destination, "precious");

    // A folder given as the destination.
    std::filesystem::create_directory(scratch / "folder");
    EXPECT_THROW(replaceFile(scratch / "folder", "x"), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(scratch / "folder"));

    // A folder that does not exist.
    try {
        replaceFile(scratch / "nowhere" / "saved.txt", "x");
        FAIL() << "wrote into a missing folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), scratch / "nowhere" / "saved.txt");
    }

    // A source that is missing or a folder.
    try {
        copyFileReplacing(scratch / "gone.txt", destination);
        FAIL() << "copied a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), scratch / "gone.txt");
    }
    EXPECT_THROW(copyFileReplacing(scratch / "folder", destination), FileError);

    EXPECT_EQ(readBytes(destination), "precious");
    expectFolderHolds(scratch.path(), {"folder", "saved.txt"});

    // Permission bits do not stop root.
    if (geteuid() != 0) {
        chmod(scratch.path().c_str(), 0555);
        EXPECT_THROW(replaceFile(destination, "x"), FileError);
        chmod(scratch.path().c_str(), 0755);
        EXPECT_EQ(readBytes(destination), "precious");
        expectFolderHolds(scratch.path(), {"folder", "saved.txt"});
    }
}

}  // namespace
}  // namespace levara
