// levara-cli as a user runs it: exit codes, stderr and the files it leaves.
#include <gtest/gtest.h>
#include <unistd.h>

#include <set>
#include <thread>

#include "records/records.h"
#include "tests/leveling/routes.h"
#include "tests/support/raw_lines.h"
#include "tests/support/readers.h"
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
        return runProgram(args, &output, {}, &environment);
    }
    ScratchDir scratch;
    std::string output;
    // English unless a test asks for another language.
    std::vector<std::string> environment = environmentWithLocale({"LANG=en_US.UTF-8"});
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
    EXPECT_NE(output.find("--help"), std::string::npos) << output;
    EXPECT_EQ(run({"--help"}), 0);
    // Each name beside the menu item it stands for, and what the exit status means.
    for (const char* line :
         {"      leveling      水准线路\n", "      text          原始文本\n", "      bffb          线路手薄(BFFB)\n",
          "      abffb-2way    线路手薄(aBFFB 双转往返)\n", "      single        单点测量表格\n",
          "Exit status: 0 saved, or checked", "  --order ORDER    bffb, bbff, bfbf, bf or abffb\n"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
}

// The README shows the usage --help begins with, line for line.
TEST_F(CliTest, ReadmeShowsTheUsageHelpPrints)
{
    const std::string readme = readBytes(sourceDir() / "README.md");
    const std::size_t start = readme.find("\n    usage: levara-cli");
    ASSERT_NE(start, std::string::npos) << "README shows no usage";
    std::string shown;
    for (std::size_t at = start + 1; readme.compare(at, 4, "    ") == 0;) {
        const std::size_t end = readme.find('\n', at);
        shown += readme.substr(at + 4, end + 1 - (at + 4));
        at = end + 1;
    }
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_EQ(output.substr(0, shown.size()), shown);
}

// A BFFB line whose second station's first back sight is 52 m long: over 二等's 50 m.
std::string checkedLine(const std::string& method, const std::string& point = "TP1")
{
    return lines({startLine(method), rawLine("BM1", "Rb", "1.52345", "30.100", ""),
                  rawLine("TP1", "Rf", "1.41234", "29.500", ""), rawLine("TP1", "Rf", "1.41236", "29.520", ""),
                  rawLine("BM1", "Rb", "1.52349", "30.120", ""), rawLine(point, "Rb", "1.50000", "52.000", ""),
                  rawLine("BM2", "Rf", "1.40000", "50.000", ""), rawLine("BM2", "Rf", "1.40000", "50.000", ""),
                  rawLine(point, "Rb", "1.50000", "50.000", ""), endLine()});
}

TEST_F(CliTest, CheckHoldsALoopOfSeveralLinesToTheLoopLimitAndPrintsThePrecision)
{
    // A–B, B–C, C–A close +10.00 mm over 4 km: over 二等's 4√4 = 8.00 mm.
    const std::string file = (scratch / "loop.dat").string();
    writeBytes(file, routeText({{"A", "B", 0.1, 1000, 10}, {"B", "C", 0.05, 1000, 10}, {"C", "A", -0.14, 2000, 20}}));
    EXPECT_EQ(run({"check", "--standard", "2", file}), 3);
    for (const char* line : {": loop misclosure 10.00 mm, limit ±8.00 mm (GB/T 12897-2006, v*)\n",
                             "precision: M_W = ±5.00 mm from 1 loops, limit ±2 mm (GB/T 12897-2006, u)\n",
                             ", A–B–C–A: F 4.000 km, W +10.00 mm, WW/F 25.00\n"})
        EXPECT_NE(output.find(line), std::string::npos) << line << "\n" << output;
    EXPECT_EQ(run({"check", "--standard", "2", "--csv", file}), 3);
    EXPECT_NE(output.find(",精度评定,total mean error per km M_W,5,-2,2,mm,u,GB/T 12897-2006\n"), std::string::npos)
        << output;
}

TEST_F(CliTest, CheckPrintsEachValueOverItsLimitAndASummary)
{
    const std::string file = (scratch / "line.dat").string();
    writeBytes(file, checkedLine("BFFB"));
    EXPECT_EQ(run({"check", "--standard", "2", file}), 3);
    EXPECT_EQ(output, "line 6, station 2, TP1: sight length 52.000 m, limit 3 to 50 m (GB/T 12897-2006, v)\n"
                      "二等: values over the limits: 1 (leveling lines: 1, stations: 2)\n");
    EXPECT_EQ(run({"check", "--standard", "2", "--csv", file}), 3);
    EXPECT_EQ(output, "line,station,point,item,value,lower,upper,unit,status,source\n"
                      "6,2,TP1,sight length,52,3,50,m,v,GB/T 12897-2006\n");
    // A name a spreadsheet would take for a formula, with a control character in it.
    writeBytes(scratch / "hostile.dat", checkedLine("BFFB", "=1+\x1b"));
    EXPECT_EQ(run({"check", "--standard", "2", "--csv", (scratch / "hostile.dat").string()}), 3);
    EXPECT_EQ(output, "line,station,point,item,value,lower,upper,unit,status,source\n"
                      "6,2,'=1+\\x1b,sight length,52,3,50,m,v,GB/T 12897-2006\n");
    EXPECT_EQ(run({"check", "--standard", "3", "--mountain", file}), 0);
    EXPECT_EQ(output, "三等(山区): every value within the limits (leveling lines: 1, stations: 2)\n");

    writeBytes(scratch / "limits.json", R"({"levara_limits": 1, "name": "project", "limits":
        {"sight_length_m": {"max": 51.5, "status": "u", "source": {"standard": "rules", "clause": "3.2"}}}})");
    EXPECT_EQ(run({"check", "--limits", (scratch / "limits.json").string(), file}), 3);
    EXPECT_NE(output.find("limit at most 51.5 m (rules 3.2, u)"), std::string::npos) << output;

    // A line that names no order is read in the order its tags show, or in the one given.
    writeBytes(file, checkedLine(""));
    EXPECT_EQ(run({"check", "--standard", "2", file}), 3);
    EXPECT_EQ(output.rfind("line 6, station 2, TP1: sight length 52.000 m", 0), 0u) << output;
    EXPECT_EQ(run({"check", "--standard", "2", "--order", "bffb", file}), 3);
    // An order the recorded staffs contradict is refused, naming the station.
    EXPECT_EQ(run({"check", "--standard", "2", "--order", "bbff", file}), 1);
    EXPECT_NE(output.find(":2: station 1, starting on line 2: its staffs were recorded in the order BFFB"),
              std::string::npos)
        << output;
    // Every save that reads the sections takes the order as well, not check alone.
    const std::string known = (scratch / "known.txt").string();
    writeBytes(known, "BM1 10\n");
    for (const std::string kind : {"adjustment", "network", "gama"}) {
        const std::string out = (scratch / (kind + ".out")).string();
        EXPECT_EQ(run({"--save", kind, "--known", known, file, out}), 0) << kind << output;
        EXPECT_EQ(run({"--save", kind, "--overwrite", "--order", "bffb", "--known", known, file, out}), 0)
            << kind << output;
    }

    // A raw file is checked as the leveling filter leaves it, whether filtered or not:
    // its rejected readings dropped.
    const std::string raw = (sourceDir() / "tests/data/rejected_remeasured.dat").string();
    EXPECT_EQ(run({"check", "--standard", "3", raw}), 3) << output;
    const std::string unfiltered = output;
    EXPECT_EQ(run({"check", "--filter", "leveling", "--standard", "3", raw}), 3) << output;
    EXPECT_EQ(output, unfiltered);

    // Faults of the standard, and usage errors.
    EXPECT_EQ(run({"check", "--standard", "2", "--mountain", file}), 1);
    EXPECT_EQ(output, "levara-cli: the limits \"二等\" have no mountain form\n");
    EXPECT_EQ(run({"check", "--limits", (scratch / "none.json").string(), file}), 1);
    for (const std::vector<std::string>& usage : {std::vector<std::string>{"check", file, "--standard"},
                                                  {"check", "--standard", "5", file},
                                                  {"check", "--standard", "2", "--limits", "x.json", file},
                                                  {"check", "--mountain", file},
                                                  {"check", "--standard", "2", "--order", "bfb", file},
                                                  {"check", "--standard", "2", file, file},
                                                  {"--save", "bffb", "--order", "bffb", file, "out.xls"},
                                                  {"--save", "bffb", "--csv", file, "out.xls"}})
        EXPECT_EQ(run(usage), 2) << usage.size();
}

TEST_F(CliTest, SaveWithAStandardMarksTheBook)
{
    writeBytes(scratch / "line.dat", checkedLine("BFFB"));
    const std::filesystem::path out = scratch / "book.xls";
    ASSERT_EQ(run({"--save", "bffb", "--standard", "2", (scratch / "line.dat").string(), out.string()}), 0) << output;
    xls::Workbook book = xls::Workbook::fromBytes(readBytes(out));
    EXPECT_EQ(book.sheet(0).fontColour(9, 3), xls::kRedFontColour);
    EXPECT_EQ(book.sheet(0).value(9, 10), xls::Value("视距超限"));
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

    // A BFFB line saved as a BBFF book: the first station, its line in the file, both
    // orders and the books that fit.
    writeBytes(scratch / "bffb.dat",
               lines({startLine("BFFB"), rawLine("BM1", "Rb", "1.52345", "30.100", ""),
                      rawLine("TP1", "Rf", "1.41234", "29.500", ""), rawLine("TP1", "Rf", "1.41236", "29.520", ""),
                      rawLine("BM1", "Rb", "1.52349", "30.120", "")}));
    EXPECT_EQ(run({"--filter", "leveling", "--save", "bbff", (scratch / "bffb.dat").string(),
                   (scratch / "out.xls").string()}),
              1);
    EXPECT_EQ(output,
              "levara-cli: " + (scratch / "bffb.dat").string() +
                  ":2: the book 线路手薄(BBFF) does not fit the observations: station 1, starting on line 2: its "
                  "staffs were recorded in the order BFFB, which the book, reading BBFF, contradicts; save the "
                  "book of the order recorded (the books that fit: --save bffb, --save abffb)\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.xls"));
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

    // A file named temp is named as such, and makes no folder of the user's instead.
    writeBytes(program / "temp", "");
    std::erase_if(environment, [](const std::string& v) { return v.starts_with("HOME=") || v.starts_with("XDG_"); });
    environment.push_back("HOME=" + (scratch / "home").string());
    EXPECT_EQ(run({"--save", "text", (scratch / "raw.dat").string(), (scratch / "out.txt").string()},
                  (program / "levara-cli").string()),
              1);
    EXPECT_EQ(output,
              "levara-cli: " + (program / "temp").string() + ": the temp folder beside the program is not a folder\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "home"));
}

// A system install: the temp folder beside the program is not the user's to write
// in, so the work files and templates go to the user's own data folder.
struct UserFolderCase {
    std::string name;
    std::string xdgDataHome;  // "" unset; "~" stands for the home folder
    std::string folder;       // the work folder, under the home folder
};

void PrintTo(const UserFolderCase& c, std::ostream* out) { *out << c.name; }

class CliUserFolderTest : public CliTest, public ::testing::WithParamInterface<UserFolderCase> {
protected:
    CliUserFolderTest() : program(makeProgramDir(scratch)), home(scratch / "home")
    {
        std::filesystem::copy_file(cli(), program / "levara-cli");
        std::filesystem::create_directory(home);
        environment.erase(std::remove_if(environment.begin(), environment.end(),
                                         [](const std::string& v) {
                                             return v.starts_with("HOME=") || v.starts_with("XDG_DATA_HOME=");
                                         }),
                          environment.end());
        environment.push_back("HOME=" + home.string());
        std::string xdg = GetParam().xdgDataHome;
        if (xdg.starts_with("~"))
            xdg = home.string() + xdg.substr(1);
        if (!xdg.empty())
            environment.push_back("XDG_DATA_HOME=" + xdg);
        writeBytes(scratch / "raw.dat", lines({kStartLine}) + textOfLines(workedStation()));
        // Root may write anywhere: it runs the program as nobody, others find the folder read-only.
        std::filesystem::permissions(program / "temp", std::filesystem::perms(0555));
        if (::getuid() == 0) {
            std::filesystem::permissions(scratch.path(), std::filesystem::perms(0755));
            EXPECT_EQ(::chown(home.c_str(), 65534, 65534), 0);
            asUser = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"};
        }
    }

    int save(const std::string& kind, const std::filesystem::path& out)
    {
        std::vector<std::string> args = asUser;
        for (const std::string& arg : {(program / "levara-cli").string(), std::string("--overwrite"),
                                       std::string("--save"), kind, (scratch / "raw.dat").string(), out.string()})
            args.push_back(arg);
        return runProgram(args, &output, {}, &environment);
    }

    std::set<std::string> names(const std::filesystem::path& dir)
    {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            found.insert(entry.path().filename().string());
        return found;
    }

    std::filesystem::path program, home;
    std::vector<std::string> asUser;
};

TEST_P(CliUserFolderTest, WorkFilesAndTemplatesGoToTheUsersFolder)
{
    const std::set<std::string> templates = names(program / "temp");
    const std::filesystem::path folder = home / GetParam().folder;
    // A folder that cannot be made is named.
    std::filesystem::permissions(home, std::filesystem::perms(0555));
    EXPECT_EQ(save("bffb", home / "book.xls"), 1);
    EXPECT_NE(output.find(folder.string() + ": "), std::string::npos) << output;
    std::filesystem::permissions(home, std::filesystem::perms(0755));

    ASSERT_EQ(save("bffb", home / "book.xls"), 0) << output;
    EXPECT_EQ(names(program / "temp"), templates) << "written beside the program";
    std::set<std::string> expected = templates;
    expected.insert({"ooo.txt", "excel.xls"});
    EXPECT_EQ(names(folder), expected);
    for (const std::string& name : templates)
        EXPECT_TRUE(readBytes(folder / name) == readBytes(program / "temp" / name)) << name;

    // A template the user edited is kept; one the user deleted comes back.
    xls::Workbook edited = openWorkbook(folder / "exc.xls");
    edited.sheet(0).setText(1, 1, "我的手簿");
    saveWorkbook(edited, folder / "exc.xls");
    const std::string mine = readBytes(folder / "exc.xls");
    std::filesystem::remove(folder / "exc0.xls");
    ASSERT_EQ(save("bffb", home / "book.xls"), 0) << output;
    EXPECT_TRUE(readBytes(folder / "exc.xls") == mine);
    EXPECT_EQ(openWorkbook(home / "book.xls").sheet(0).value(1, 1), xls::Value(std::string("我的手簿")));
    EXPECT_TRUE(readBytes(folder / "exc0.xls") == readBytes(program / "temp/exc0.xls"));
    EXPECT_EQ(names(program / "temp"), templates);

    // A folder others may write in, or a link to nothing, is named and not used.
    std::filesystem::permissions(folder, std::filesystem::perms(0777));
    EXPECT_EQ(save("bffb", home / "book.xls"), 1);
    EXPECT_EQ(output, "levara-cli: " + folder.string() +
                          ": cannot use the work folder: it is not a folder of yours that only you may write in\n");
    std::filesystem::remove_all(folder);
    std::filesystem::create_symlink(scratch / "nowhere", folder);
    EXPECT_EQ(save("bffb", home / "book.xls"), 1);
    EXPECT_EQ(output,
              "levara-cli: " + folder.string() + ": cannot use the work folder: it is a link to nothing; remove it\n");
    EXPECT_FALSE(std::filesystem::exists(scratch / "nowhere"));
}

INSTANTIATE_TEST_SUITE_P(DataHome, CliUserFolderTest,
                         ::testing::Values(UserFolderCase{"Default", "", ".local/share/levara/temp"},
                                           UserFolderCase{"XdgDataHome", "~/data", "data/levara/temp"},
                                           UserFolderCase{"RelativeXdgDataHomeIgnored", "data",
                                                          ".local/share/levara/temp"}),
                         [](const ::testing::TestParamInfo<UserFolderCase>& info) { return info.param.name; });

// The system's language, as the locale variables give it, and what levara-cli says in it.
struct LanguageCase {
    std::string name;
    std::vector<std::string> locale;
    std::string failure;  // after "levara-cli: <file>"
    std::string usage;    // the start of --help
    std::string version;  // --version, before the version number
};

void PrintTo(const LanguageCase& c, std::ostream* out) { *out << c.name; }

class CliLanguageTest : public CliTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(CliLanguageTest, MessagesAndUsageFollowTheSystemLanguage)
{
    environment = environmentWithLocale(GetParam().locale);
    writeBytes(scratch / "raw.dat",
               lines({rawLine("BM1", "Rb", "1.52345", "30.100", ""), rawLine("TP1", "Rf", "1.4x234", "29.500", ""),
                      rawLine("TP1", "Rf", "1.41236", "29.520", ""), rawLine("BM1", "Rb", "1.52349", "30.120", "")}));
    const std::filesystem::path out = scratch / "book.xls";
    EXPECT_EQ(run({"--save", "bffb", (scratch / "raw.dat").string(), out.string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + (scratch / "raw.dat").string() + ":" + GetParam().failure + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_EQ(output.rfind(GetParam().usage, 0), 0u) << output;
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(output, GetParam().version + LEVARA_VERSION + "\n");
}

const std::string kChineseFailure = "2: 第 1 站（第 1 行起）：读数 \"1.4x234\" 不是数字";

INSTANTIATE_TEST_SUITE_P(
    Locales, CliLanguageTest,
    ::testing::Values(
        LanguageCase{"Unset", {}, kChineseFailure, "用法：levara-cli", "levara-cli（Levara）版本 "},
        LanguageCase{"Chinese", {"LANG=zh_CN.UTF-8"}, kChineseFailure, "用法：levara-cli", "levara-cli（Levara）版本 "},
        LanguageCase{"English",
                     {"LANG=en_US.UTF-8"},
                     "2: station 1, starting on line 1: the reading \"1.4x234\" is not a number",
                     "usage: levara-cli",
                     "levara-cli (Levara) version "}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) { return info.param.name; });

// A levara-cli whose translation module is missing still does its work and says
// everything, in English, after saying why.
TEST_F(CliTest, WithoutItsTranslationModuleSpeaksEnglishAndSaysWhy)
{
    const std::filesystem::path program = scratch / "levara-cli";
    std::filesystem::copy_file(cli(), program);
    environment = environmentWithLocale({"LANG=zh_CN.UTF-8"});
    EXPECT_EQ(run({"--version"}, program.string()), 0);
    EXPECT_EQ(output.rfind("levara-cli: warning: cannot load the translation " + (scratch / "").string() +
                               "levara-cli-language.so: cannot open shared object file",
                           0),
              0u)
        << output;
    EXPECT_NE(output.find("levara-cli (Levara) version " LEVARA_VERSION "\n"), std::string::npos) << output;
}

// Qt and libgsf take longer to load than a whole text save: levara-cli loads libgsf
// for workbooks only, and Qt only to say something in Chinese. The dynamic loader's
// own account (LD_DEBUG) tells which it loaded.
TEST_F(CliTest, LoadsQtAndLibgsfOnlyWhenItNeedsThem)
{
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> locale;
        bool qt;
        bool gsf;
    };
    const std::string raw = (scratch / "raw.dat").string();
    writeBytes(raw, checkedLine("BFFB"));
    const std::string out = (scratch / "out").string();
    const std::vector<Case> cases = {
        {{"--save", "text", "--overwrite", raw, out}, {}, false, false},
        {{"--save", "bffb", "--overwrite", raw, out}, {}, false, true},
        {{"--save", "text", (scratch / "missing.dat").string(), out}, {}, true, false},
        {{"--save", "text", (scratch / "missing.dat").string(), out}, {"LANG=en_US.UTF-8"}, false, false},
        {{"--version"}, {}, true, false},
    };
    for (const Case& c : cases) {
        const std::filesystem::path log = scratch / "loader";
        std::filesystem::remove_all(log);
        std::filesystem::create_directory(log);
        environment = environmentWithLocale(c.locale);
        environment.insert(environment.end(), {"LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + (log / "ld").string()});
        run(c.args);
        std::string loaded;
        for (const auto& file : std::filesystem::directory_iterator(log))
            loaded += readBytes(file.path());
        std::string what = c.locale.empty() ? "" : c.locale[0];
        for (const std::string& arg : c.args)
            what += " " + arg;
        EXPECT_EQ(loaded.find("file=libQt6Core") != std::string::npos, c.qt) << what;
        EXPECT_EQ(loaded.find("file=libgsf") != std::string::npos, c.gsf) << what;
    }
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
    // A station recorded in the book's order (its line names none), an intermediate
    // sight set-up and a single point in one raw file.
    const auto rawFile = [](std::string_view staffs) {
        std::string text = startLine("") + "\r\n";
        for (std::size_t i = 0; i < staffs.size(); ++i)
            text += staffs[i] == 'B' ? rawLine("BM1", "Rb", i < 2 ? "1.52345" : "1.52349", "30.100", "") + "\r\n"
                                     : rawLine("TP1", "Rf", i < 2 ? "1.41234" : "1.41236", "29.500", "") + "\r\n";
        return text +
               lines({rawLine("BM1", "", "", "", "100.00000"), rawLine("P1", "Rz", "1.50000", "12.000", "99.73456"),
                      rawLine("12", "R ", "1.50000", "25.321", "")});
    };
    const struct {
        std::string filter, kind, staffs;
    } kinds[] = {{"leveling", "bffb", "BFFB"},
                 {"leveling", "bbff", "BBFF"},
                 {"leveling", "bfbf", "BFBF"},
                 {"leveling", "bf", "BF"},
                 {"leveling", "abffb", "BFFB"},
                 {"leveling", "abffb-2way", "BFFB"},
                 {"intermediate", "intermediate", "BFFB"},
                 {"single", "single", "BFFB"}};
    for (const auto& [filter, kind, staffs] : kinds) {
        writeBytes(scratch / "raw.dat", rawFile(staffs));
        const std::filesystem::path out = scratch / (kind + ".xls");
        ASSERT_EQ(run({"--filter", filter, "--save", kind, (scratch / "raw.dat").string(), out.string()}), 0)
            << kind << ": " << output;
        const xls::Workbook book = openWorkbook(out);
        EXPECT_FALSE(std::holds_alternative<std::monostate>(book.sheet(0).value(6, 1)) &&
                     std::holds_alternative<std::monostate>(book.sheet(0).value(3, 1)))
            << kind << " wrote no data row";
    }
}

// The raw files of examples/, saved as the README's quick start and the menus do.
TEST_F(CliTest, TheExamplesMakeTheirBooks)
{
    struct Example {
        std::string filter, kind, file;
        std::string point;  // one the book must list
    };
    for (const Example& example : {Example{"leveling", "bffb", "bffb_line.dat", "水准点乙"},
                                   Example{"intermediate", "intermediate", "intermediate.dat", "K0+220"},
                                   Example{"single", "single", "single_points.dat", "井2"}}) {
        const std::filesystem::path out = scratch / (example.kind + ".xls");
        ASSERT_EQ(run({"--filter", example.filter, "--save", example.kind,
                       (sourceDir() / "examples" / example.file).string(), out.string()}),
                  0)
            << output;
        std::string text;
        for (const std::string& line : xlrdSheetText(out, 0))
            text += line + "\n";
        EXPECT_NE(text.find("=\"" + example.point + "\""), std::string::npos) << example.file << ":\n" << text;
    }
}

}  // namespace
}  // namespace levara::testing

namespace levara::testing {
namespace {

// examples/bffb_line.dat: one section from 水准点甲 to 水准点乙, Σh = −1.35310 m over
// 1.383134 km; 二等 allows 4 √1.383134 = 4.70 mm.
TEST_F(CliTest, AdjustmentTableAndSectionFiles)
{
    const std::string raw = (sourceDir() / "examples/bffb_line.dat").string();
    const std::string known = (scratch / "known.txt").string();
    const std::string table = (scratch / "table.xls").string();
    // −1.35310 − (41.87 − 43.2187) = −4.40 mm: within (Σ of the printed means).
    writeBytes(known, "水准点甲,43.2187\n水准点乙,41.87\n");
    EXPECT_EQ(run({"--filter", "leveling", "--save", "adjustment", "--standard", "2", "--known", known, raw, table}), 0)
        << output;
    EXPECT_EQ(output, "");
    // Against 41.88: −14.40 mm, over; the table is saved all the same.
    writeBytes(known, "水准点甲,43.2187\n水准点乙,41.88\n");
    EXPECT_EQ(run({"--filter", "leveling", "--save", "adjustment", "--standard", "2", "--known", known, "--by",
                   "stations", "--overwrite", raw, table}),
              3);
    EXPECT_EQ(output, "levara-cli: " + table +
                          ": saved, marked \"超限\": the misclosure -14.40 mm is over its limit ±4.70 mm\n");
    EXPECT_EQ(openWorkbook(table).sheet(0).value(8, 5), xls::Value("超限：|fh| 大于容许闭合差"));
    // As a network: one redundant section, 14.40 mm off over 1.383134 km against 二等's
    // M_Δ 1.0 mm: χ² = 14.40² / 1.383134 = 149.92, outside [0.00, 5.02].
    const std::string network = (scratch / "network.xls").string();
    EXPECT_EQ(run({"--filter", "leveling", "--save", "network", "--standard", "2", "--known", known, raw, network}), 3);
    EXPECT_EQ(output.rfind("levara-cli: " + network +
                               ": saved: the global test fails: χ² = 149.92 lies outside [0.00, 5.02] at 95 %",
                           0),
              0u)
        << output;

    const std::string csv = (scratch / "sections.csv").string();
    EXPECT_EQ(run({"--filter", "leveling", "--save", "sections-csv", raw, csv}), 0) << output;
    EXPECT_EQ(readBytes(csv), "from,to,dh_m,dist_km,stations\n水准点甲,水准点乙,-1.3531,1.383134,20\n");
    const std::string starnet = (scratch / "sections.dat").string();
    EXPECT_EQ(run({"--filter", "leveling", "--save", "starnet", raw, starnet}), 0) << output;
    EXPECT_NE(readBytes(starnet).find(
                  encodeGb18030("E 水准点甲 43.2187 !\r\nL 水准点甲-水准点乙 -1.3531 1383.134 '20 stations\r\n")),
              std::string::npos);

    for (const std::vector<std::string>& usage :
         {std::vector<std::string>{"--save", "bffb", "--by", "stations", raw, "out.xls"},
          {"--save", "adjustment", "--by", "length", raw, "out.xls"},
          {"--save", "adjustment", "--pairs", "both", raw, "out.xls"},
          {"--save", "network", "--pairs", "all", raw, "out.xls"},
          {"--save", "sections-csv", "--known", known, raw, "out.csv"},
          {"check", "--standard", "2", "--known", known, raw}})
        EXPECT_EQ(run(usage), 2) << usage[1];
}

// A network levelled over two days, one file a day: joined as one file holding both,
// its heights the same; what is found in the second file names it and its own line.
TEST_F(CliTest, SeveralInputsJoinIntoOneNetwork)
{
    const std::vector<HandSection> first = {{"A", "J", 0.4, 400, 4}, {"J", "A", -0.4012, 420, 6}};
    const std::vector<HandSection> second = {{"J", "B", 0.6, 590, 5}, {"C", "J", -0.3, 810, 8}};
    std::vector<HandSection> both = first;
    both.insert(both.end(), second.begin(), second.end());
    const std::string one = (scratch / "both.dat").string(), day1 = (scratch / "day1.dat").string(),
                      day2 = (scratch / "day2.dat").string(), known = (scratch / "known.txt").string();
    writeBytes(one, routeText(both));
    writeBytes(day1, routeText(first));
    writeBytes(day2, routeText(second));
    writeBytes(known, "A 10\nB 11.0012\nC 10.7\n");
    const std::string joined = (scratch / "joined.xls").string(), single = (scratch / "single.xls").string();
    ASSERT_EQ(run({"--save", "network", "--known", known, one, single}), 0) << output;
    ASSERT_EQ(run({"--save", "network", "--known", known, day1, day2, joined}), 0) << output;
    const std::vector<std::string> joinedRows = xlrdSheetText(joined, 0), singleRows = xlrdSheetText(single, 0);
    ASSERT_EQ(joinedRows.size(), singleRows.size());
    for (std::size_t row = 3; row < 7; ++row)  // the points: A, B, C known, J adjusted with its σ
        EXPECT_EQ(joinedRows[row], singleRows[row]);
    // The sections from the second file name it, counting its own lines.
    EXPECT_NE(joinedRows[9].find("I=\"day2.dat 第 1–22 行\""), std::string::npos) << joinedRows[9];
    EXPECT_NE(singleRows[9].find("I=\"原始文件第 45–66 行\""), std::string::npos) << singleRows[9];
    // The exchange files join them too, and the adjustment table a route split in two.
    EXPECT_EQ(run({"--save", "gama", "--known", known, day1, day2, (scratch / "gama.xml").string()}), 0) << output;
    writeBytes(day2, routeText({{"J", "B", 0.6, 590, 5}}));
    EXPECT_EQ(run({"--save", "adjustment", "--known", known, day1, day2, (scratch / "route.xls").string()}), 0)
        << output;

    // A fault in the second file: its first station's reading on line 3 missing.
    std::string bad = routeText(second);
    const std::size_t third = bad.find('\n', bad.find('\n') + 1) + 1;
    bad.erase(third, bad.find('\n', third) + 1 - third);
    writeBytes(day2, bad);
    EXPECT_EQ(run({"--save", "network", "--overwrite", "--known", known, day1, day2, joined}), 1);
    EXPECT_EQ(output.rfind("levara-cli: " + day2 + ":2: station 1, starting on line 2: its staffs were recorded", 0),
              0u)
        << output;
    // Pieces in two files: each section named with its file.
    writeBytes(day2, routeText({{"P", "Q", 0.6, 590, 5}}));
    EXPECT_EQ(run({"--save", "network", "--overwrite", "--known", known, day1, day2, joined}), 1);
    EXPECT_EQ(output.rfind("levara-cli: " + day2 + ":1: ", 0), 0u) << output;
    EXPECT_NE(output.find("P, Q (the sections of lines " + day2 + ":1–22)"), std::string::npos) << output;
    // Several INPUTs only where sections are read.
    EXPECT_EQ(run({"--save", "bffb", day1, day2, joined}), 2);
    EXPECT_EQ(run({"check", day1, day2}), 2);
}

}  // namespace
}  // namespace levara::testing
