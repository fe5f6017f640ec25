// levara-cli against hostile work folders, odd inputs and interruptions: it writes
// nowhere it should not, waits on nothing, leaves no temporary and says where a
// fault is.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "records/records.h"
#include "tests/support/raw_lines.h"
#include "tests/support/test_files.h"

extern char** environ;

namespace levara::testing {
namespace {

std::string data(const std::string& name) { return (sourceDir() / "tests/data" / name).string(); }

// A copy of levara-cli with a temp folder of its own, so that what a test plants
// there touches no other test.
class HardeningTest : public ::testing::Test {
protected:
    HardeningTest() : program(makeProgramDir(scratch)), temp(program / "temp")
    {
        std::filesystem::copy_file(binaryDir() / "levara-cli", program / "levara-cli");
    }

    // Guarded by timeout(1): a run that waits on a file fails the test instead of hanging it.
    int run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"timeout", "60", (program / "levara-cli").string()});
        return runProgram(args, &output, {}, &environment);
    }

    std::vector<std::string> temporariesIn(const std::filesystem::path& folder) const
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (isTemporaryName(entry.path().filename().string()))
                found.push_back(entry.path().filename().string());
        return found;
    }

    ScratchDir scratch;
    std::filesystem::path program;
    std::filesystem::path temp;
    std::string output;
    std::vector<std::string> environment = environmentWithLocale({"LANG=en_US.UTF-8"});
};

struct PlantedLink {
    std::string workFile;
    bool dangling;  // a link to nothing: following it would create its target
};

void PrintTo(const PlantedLink& c, std::ostream* out) { *out << c.workFile << (c.dangling ? " dangling" : ""); }

class PlantedLinkTest : public HardeningTest, public ::testing::WithParamInterface<PlantedLink> {};

TEST_P(PlantedLinkTest, LeavesItsTargetUntouchedAndNamesIt)
{
    const std::filesystem::path victim = scratch / "victim";
    if (!GetParam().dangling)
        writeBytes(victim, "the user's own file\n");
    const std::filesystem::path link = temp / GetParam().workFile;
    std::filesystem::create_symlink(victim, link);
    // The two-way book writes all three work files.
    EXPECT_EQ(run({"--save", "abffb-2way", data("abffb_line.dat"), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + link.string() +
                          ": cannot write: it is a link, and work files are never written through one; remove it\n");
    if (GetParam().dangling)
        EXPECT_FALSE(std::filesystem::exists(victim));
    else
        EXPECT_EQ(readBytes(victim), "the user's own file\n");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
    EXPECT_EQ(temporariesIn(temp), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(WorkFiles, PlantedLinkTest,
                         ::testing::Values(PlantedLink{"ooo.txt", false}, PlantedLink{"ooo.txt", true},
                                           PlantedLink{"ppp.txt", false}, PlantedLink{"ppp.txt", true},
                                           PlantedLink{"excel.xls", false}, PlantedLink{"excel.xls", true}));

class HardLinkTest : public HardeningTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(HardLinkTest, LeavesItsOtherNameUntouchedAndNamesIt)
{
    const std::filesystem::path victim = scratch / "victim";
    writeBytes(victim, "the user's own file\n");
    const std::filesystem::path link = temp / GetParam();
    std::filesystem::create_hard_link(victim, link);
    EXPECT_EQ(run({"--save", "abffb-2way", data("abffb_line.dat"), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + link.string() +
                          ": cannot write: the file has another name (a hard link), and work files are never "
                          "written through one; remove it\n");
    EXPECT_EQ(readBytes(victim), "the user's own file\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
}

INSTANTIATE_TEST_SUITE_P(WorkFiles, HardLinkTest, ::testing::Values("ooo.txt", "ppp.txt", "excel.xls"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });

TEST_F(HardeningTest, AnotherUsersWorkbookInTheWorkFolderIsRefused)
{
    // Root plants it as another user's; the tests run as root.
    ASSERT_EQ(::getuid(), 0u);
    writeBytes(temp / "excel.xls", "theirs");
    ASSERT_EQ(::chown((temp / "excel.xls").c_str(), 65534, 65534), 0);
    EXPECT_EQ(run({"--save", "bffb", data("bffb_line.dat"), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + (temp / "excel.xls").string() +
                          ": cannot write: it is not an ordinary file of yours; remove it\n");
    EXPECT_EQ(readBytes(temp / "excel.xls"), "theirs");
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
}

TEST_F(HardeningTest, AReplacedOutputIsTheUsersOwnWithTheModeOfTheUmask)
{
    ASSERT_EQ(::getuid(), 0u);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const std::filesystem::path theirs = scratch / "theirs.xls", mine = scratch / "mine.xls";
    writeBytes(theirs, "planted");
    ASSERT_EQ(::chown(theirs.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(theirs.c_str(), 0666), 0);
    writeBytes(mine, "mine");
    ASSERT_EQ(::chmod(mine.c_str(), 0640), 0);
    for (const auto& [out, mode] : {std::pair{theirs, 0666 & ~mask}, std::pair{mine, 0640u}}) {
        EXPECT_EQ(run({"--overwrite", "--save", "bffb", data("bffb_line.dat"), out.string()}), 0) << output;
        struct stat st {};
        ASSERT_EQ(::stat(out.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, ::geteuid()) << out;
        EXPECT_EQ(st.st_mode & 07777, mode) << out;
    }
}

TEST_F(HardeningTest, AReportThatCannotBeWrittenFailsWithAMessage)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", "--standard", "2", "--csv", data("bffb_line.dat")},
          std::vector<std::string>{"check", "--standard", "2", data("bffb_line.dat")},
          std::vector<std::string>{"--help"}}) {
        std::vector<std::string> shell = {"sh", "-c", "exec \"$@\" > /dev/full", "sh",
                                          (program / "levara-cli").string()};
        shell.insert(shell.end(), args.begin(), args.end());
        EXPECT_EQ(runProgram(shell, &output, {}, &environment), 1) << args[0];
        EXPECT_EQ(output, "levara-cli: cannot write to the standard output: No space left on device\n");
    }
}

TEST_F(HardeningTest, MessagesNameTheRightFileAndWhatIsWrong)
{
    // An empty input: its fault is the file's.
    writeBytes(scratch / "empty.dat", "");
    EXPECT_EQ(run({"--save", "adjustment", (scratch / "empty.dat").string(), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output.rfind("levara-cli: " + (scratch / "empty.dat").string() + ":1: ", 0), 0u) << output;

    // A socket as input, and a FIFO as OUTPUT, are named for what they are.
    const std::filesystem::path socketFile = scratch / "socket";
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketFile.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(run({"--save", "text", socketFile.string(), (scratch / "out.txt").string()}), 1);
    ::close(listening);
    EXPECT_EQ(output, "levara-cli: " + socketFile.string() +
                          ": cannot open: it is not an ordinary file (a pipe, device or socket)\n");
    ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(run({"--save", "text", data("bffb_line.dat"), (scratch / "fifo").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + (scratch / "fifo").string() + ": cannot replace: it is not an ordinary file\n");

    // A GSI-16 file whose line ends were lost gives no empty book.
    std::string gsi = readBytes(sourceDir() / "tests/data/gsi/bffb_results.gsi");
    std::erase_if(gsi, [](char c) { return c == '\r' || c == '\n'; });
    writeBytes(scratch / "joined.gsi", gsi);
    EXPECT_EQ(run({"--save", "bffb", (scratch / "joined.gsi").string(), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output.rfind("levara-cli: " + (scratch / "joined.gsi").string() +
                               ": a GSI-16 file whose line ends were lost",
                           0),
              0u)
        << output;
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
}

TEST_F(HardeningTest, ATemporaryIsNeverCreatedThroughALink)
{
    // Temporary names are random; a link planted at one is met as this does.
    const std::filesystem::path victim = scratch / "victim";
    const std::filesystem::path name = scratch / temporaryNameFor("excel.xls");
    std::filesystem::create_symlink(victim, name);
    EXPECT_EQ(createTemporary(name, 0644), -1);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_FALSE(std::filesystem::exists(victim));
    writeBytes(victim, "kept");
    EXPECT_EQ(createTemporary(name, 0644), -1);
    EXPECT_EQ(readBytes(victim), "kept");
}

TEST_F(HardeningTest, AWorkFileThatIsNoOrdinaryFileIsRefused)
{
    ASSERT_EQ(::mkfifo((temp / "ooo.txt").c_str(), 0600), 0);
    EXPECT_EQ(run({"--save", "text", data("bffb_line.dat"), (scratch / "out.txt").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + (temp / "ooo.txt").string() +
                          ": cannot write: it is not an ordinary file of yours; remove it\n");
}

TEST_F(HardeningTest, AFifoInputOrTemplateFailsAtOnce)
{
    const std::filesystem::path fifo = scratch / "raw.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(run({"--save", "text", fifo.string(), (scratch / "out.txt").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + fifo.string() +
                          ": cannot open: it is not an ordinary file (a pipe, device or socket)\n");

    std::filesystem::remove(temp / "exc.xls");
    ASSERT_EQ(::mkfifo((temp / "exc.xls").c_str(), 0600), 0);
    EXPECT_EQ(run({"--save", "bffb", data("bffb_line.dat"), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + (temp / "exc.xls").string() +
                          ": cannot open: it is not an ordinary file (a pipe, device or socket)\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
}

struct BadReading {
    std::string name;
    std::string reading;
    std::string problem;
};

void PrintTo(const BadReading& c, std::ostream* out) { *out << c.name; }

class BadReadingTest : public HardeningTest, public ::testing::WithParamInterface<BadReading> {};

TEST_P(BadReadingTest, NamesTheInputAndItsOwnLine)
{
    // Lines the filter drops, and an empty one, come before the bad reading: it is the
    // filtered text's line 2 but the file's line 6.
    const std::filesystem::path raw = scratch / "raw.dat";
    writeBytes(raw,
               lines({"header", rawLine("BM1", "R ", "1.00000", "10.000", ""), "", "another header",
                      rawLine("BM1", "Rb", "1.52345", "30.100", ""),
                      rawLine("TP1", "Rf", GetParam().reading, "29.500", ""),
                      rawLine("TP1", "Rf", "1.41236", "29.520", ""), rawLine("BM1", "Rb", "1.52349", "30.120", "")}));
    for (const std::string kind : {"bffb", "bf"}) {
        EXPECT_EQ(run({"--filter", "leveling", "--save", kind, raw.string(), (scratch / "out.xls").string()}), 1);
        EXPECT_EQ(output,
                  "levara-cli: " + raw.string() + ":6: station 1, starting on line 5: " + GetParam().problem + "\n");
        EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Readings, BadReadingTest,
    ::testing::Values(BadReading{"NotANumber", "1.4x234", "the reading \"1.4x234\" is not a number"},
                      // Its differences and sums would overflow to infinity, which no cell holds.
                      BadReading{"TooLarge", "1e308",
                                 "the reading \"1e308\" is beyond ±1000000 m, more than any level reads"},
                      // Beyond what the route's 0.01 mm carries through its sums.
                      BadReading{"BeyondALevel", "1000000.1",
                                 "the reading \"1000000.1\" is beyond ±1000000 m, more than any level reads"}),
    [](const ::testing::TestParamInfo<BadReading>& info) { return info.param.name; });

TEST_F(HardeningTest, ADamagedTemplateGivesOneLineWithWhatLibgsfFound)
{
    // A mini stream cutoff past the Workbook stream's size: libgsf then reads that
    // stream from small blocks it does not have, and says so through GLib's log.
    std::string bytes = readBytes(temp / "exc.xls");
    bytes[59] = '\xEE';
    writeBytes(temp / "exc.xls", bytes);
    EXPECT_EQ(run({"--save", "bffb", data("bffb_line.dat"), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output.rfind("levara-cli: " + (temp / "exc.xls").string() + ": the template is damaged (OLE2; ", 0), 0u)
        << output;
    EXPECT_NE(output.find("Block Allocation Table"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

TEST_F(HardeningTest, ControlCharactersAreShownEscaped)
{
    const std::filesystem::path raw = scratch / "raw.dat";
    writeBytes(raw,
               lines({rawLine("BM1", "Rb", "1.52345", "30.100", ""),
                      rawLine("TP1", "Rf", "\x1b[2J\t\x7f", "29.500", ""),
                      rawLine("TP1", "Rf", "1.41236", "29.520", ""), rawLine("BM1", "Rb", "1.52349", "30.120", "")}));
    EXPECT_EQ(run({"--save", "bffb", raw.string(), (scratch / "out.xls").string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + raw.string() +
                          ":2: station 1, starting on line 1: the reading \"\\x1b[2J\\t\\x7f\" is not a number\n");
}

TEST_F(HardeningTest, ALongOutputNameWorks)
{
    const std::string name = std::string(246, 'a') + ".xls";  // 250 bytes
    EXPECT_EQ(run({"--save", "bffb", data("bffb_line.dat"), (scratch / name).string()}), 0) << output;
    EXPECT_TRUE(std::filesystem::is_regular_file(scratch / name));
    EXPECT_EQ(temporariesIn(scratch.path()), std::vector<std::string>{});
}

TEST_F(HardeningTest, StaleTemporariesOfLevarasKindAreRemoved)
{
    const std::filesystem::path old = scratch / temporaryNameFor("book.xls");
    const std::filesystem::path oldStyle = scratch / ".book.xls.levara-4242-0-123456";
    const std::filesystem::path fresh = scratch / temporaryNameFor("book.xls");
    const std::filesystem::path other = scratch / ".book.xls.levara-notours";
    for (const auto& file : {old, oldStyle, fresh, other})
        writeBytes(file, "x");
    const auto dayAndMore = std::filesystem::file_time_type::clock::now() - std::chrono::hours(25);
    for (const auto& file : {old, oldStyle, other})
        std::filesystem::last_write_time(file, dayAndMore);
    EXPECT_EQ(run({"--save", "bffb", data("bffb_line.dat"), (scratch / "book.xls").string()}), 0) << output;
    EXPECT_FALSE(std::filesystem::exists(old));
    EXPECT_FALSE(std::filesystem::exists(oldStyle));
    EXPECT_TRUE(std::filesystem::exists(fresh));
    EXPECT_TRUE(std::filesystem::exists(other));
}

// UTF-16 of UTF-8 text of the basic plane.
std::string utf16(std::string_view utf8, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : 3;
        unsigned unit = length == 1 ? c : length == 2 ? c & 0x1F : c & 0x0F;
        for (std::size_t k = 1; k < length; ++k)
            unit = unit << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? std::string{high, low} : std::string{low, high};
        i += length;
    }
    return out;
}

struct Encoding {
    std::string name;
    std::string (*encode)(const std::string& utf8);
};

void PrintTo(const Encoding& c, std::ostream* out) { *out << c.name; }

class EncodingTest : public HardeningTest, public ::testing::WithParamInterface<Encoding> {};

TEST_P(EncodingTest, OpensWithTheChineseNamesOfTheGb18030File)
{
    // The same raw file in GB18030 and in the encoding: the texts saved (GB18030) agree.
    EXPECT_EQ(run({"--save", "text", data("chinese_names.dat"), (scratch / "gb.txt").string()}), 0) << output;
    const std::string utf8 = decodeGb18030(readBytes(data("chinese_names.dat")));
    ASSERT_NE(utf8.find("水准点"), std::string::npos);
    writeBytes(scratch / "raw.dat", GetParam().encode(utf8));
    EXPECT_EQ(run({"--save", "text", (scratch / "raw.dat").string(), (scratch / "out.txt").string()}), 0) << output;
    EXPECT_EQ(output, "");
    EXPECT_EQ(readBytes(scratch / "out.txt"), readBytes(scratch / "gb.txt"));
}

INSTANTIATE_TEST_SUITE_P(Encodings, EncodingTest,
                         ::testing::Values(Encoding{"Utf8WithMark",
                                                    [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
                                           Encoding{"Utf8", [](const std::string& t) { return t; }},
                                           Encoding{"Utf16Le", [](const std::string& t) { return utf16(t, false); }},
                                           Encoding{"Utf16Be", [](const std::string& t) { return utf16(t, true); }}),
                         [](const ::testing::TestParamInfo<Encoding>& info) { return info.param.name; });

TEST_F(HardeningTest, CharactersThatDoNotDecodeAreWarnedOf)
{
    const std::filesystem::path raw = scratch / "raw.dat";
    writeBytes(raw, "first\r\nKD1 \xFF\xFF bad|1.5\r\n\r\nKD1 2\x81\r\n");
    EXPECT_EQ(run({"--save", "text", raw.string(), (scratch / "out.txt").string()}), 0);
    EXPECT_EQ(output, "levara-cli: warning: " + raw.string() +
                          ": characters that are not GB18030, shown as \"\xEF\xBF\xBD\": 3, the first in line 2\n");
    EXPECT_EQ(readBytes(scratch / "out.txt"), "first\r\nKD1 \x84\x31\xA4\x37\x84\x31\xA4\x37 bad|1.5\r\nKD1 "
                                              "2\x84\x31\xA4\x37\r\n\r\n");
}

class InterruptTest : public HardeningTest, public ::testing::WithParamInterface<int> {};

TEST_P(InterruptTest, LeavesNoTemporary)
{
    // Large enough that writing and flushing the saved text takes far longer than the
    // signal takes to arrive once its temporary appears.
    std::string raw;
    const std::string line = rawLine("BM1", "Rb", "1.52345", "30.100", "") + "\r\n";
    while (raw.size() < (40u << 20))
        raw += line;
    writeBytes(scratch / "raw.dat", raw);
    const std::filesystem::path out = scratch / "out";
    std::filesystem::create_directory(out);

    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, out.c_str(), IN_CREATE), 0);
    const std::string cli = (program / "levara-cli").string(), input = (scratch / "raw.dat").string(),
                      output = (out / "saved.txt").string();
    std::vector<char*> argv = {const_cast<char*>(cli.c_str()),    const_cast<char*>("--save"),
                               const_cast<char*>("text"),         const_cast<char*>(input.c_str()),
                               const_cast<char*>(output.c_str()), nullptr};
    // As from a terminal: a shell's background job would otherwise pass SIGINT on
    // ignored, and a program leaves an ignored signal alone.
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t signals;
    ::sigemptyset(&signals);
    ::sigaddset(&signals, GetParam());
    ::posix_spawnattr_setsigdefault(&attributes, &signals);
    sigset_t none;
    ::sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    // SIGQUIT's core is of no use here.
    const rlimit noCore{0, 0};
    ASSERT_EQ(::setrlimit(RLIMIT_CORE, &noCore), 0);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, cli.c_str(), nullptr, &attributes, argv.data(), environ);
    ::posix_spawnattr_destroy(&attributes);
    ASSERT_EQ(spawned, 0);
    alignas(inotify_event) char event[sizeof(inotify_event) + NAME_MAX + 1];
    ASSERT_GT(::read(watch, event, sizeof event), 0);  // the temporary beside OUTPUT
    ::kill(child, GetParam());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::close(watch);
    ASSERT_TRUE(WIFSIGNALED(status)) << "ended before the signal: " << status;
    EXPECT_EQ(WTERMSIG(status), GetParam());  // the shell shows 128 + signal
    EXPECT_EQ(temporariesIn(out), std::vector<std::string>{});
    EXPECT_EQ(temporariesIn(temp), std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(output));
}

// Every signal that ends a process by default: a closed terminal (SIGHUP), a reader
// gone (SIGPIPE), a timer, a user's own.
INSTANTIATE_TEST_SUITE_P(Signals, InterruptTest,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGALRM, SIGPIPE),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "SIG" + std::string(::sigabbrev_np(info.param));
                         });

}  // namespace
}  // namespace levara::testing
