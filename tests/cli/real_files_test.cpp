// Files that digital levels recorded in the field (tests/data/real, see its README):
// each opens, makes its line book and its intermediate table, and every station and
// every intermediate sight agrees with what the instrument computed.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "xls/xls.h"

namespace levara::testing {
namespace {

std::vector<std::filesystem::path> realGsiFiles()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(sourceDir() / "tests/data/real/landgate"))
        if (entry.path().extension() == ".GSI")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// A GSI word's value in metres, read here independently of Levara: unit in the
// word's sixth character (8: 0.01 mm, 6: 0.1 mm, 0: 1 mm).
double metres(std::string_view word)
{
    const int decimals = word[5] == '8' ? 5 : word[5] == '6' ? 4 : 3;
    return (word[6] == '-' ? -1 : 1) * std::stod(std::string(word.substr(7))) * std::pow(10.0, -decimals);
}

// The words of a block, cut by position.
std::vector<std::string_view> words(std::string_view line)
{
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
        line.remove_suffix(1);
    const bool gsi16 = line.starts_with('*');
    if (gsi16)
        line.remove_prefix(1);
    const std::size_t length = gsi16 ? 23 : 15;
    std::vector<std::string_view> cut;
    for (std::size_t at = 0; at < line.size(); at += length + 1)
        cut.push_back(line.substr(at, length));
    return cut;
}

std::string pointOf(std::string_view first)
{
    std::string point(first.substr(7));
    point.erase(0, std::min(point.find_first_not_of('0'), point.size() - 1));
    return point;
}

struct Sight {
    std::string point;
    double height;
};
struct Instrument {
    std::vector<double> differences;  // a station's: its result's height less the one before
    std::vector<Sight> sights;
    int backReadings = 0;
};

// What the instrument computed: each station's result (a block with 574 and 83) and
// each intermediate sight's height (the 83 of the block after its 333).
Instrument instrumentOf(const std::filesystem::path& file)
{
    std::istringstream in(readBytes(file));
    Instrument instrument;
    double height = NAN;
    bool sightOpen = false, lineStarted = false;
    int backReadings = 0;  // of the station being read
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string_view> cut = words(line);
        if (cut.empty())
            continue;
        if (cut[0].starts_with("41")) {
            lineStarted = true;
            height = NAN;
            backReadings = 0;
            continue;
        }
        std::optional<double> h;
        bool result = false, sight = false, back = false;
        for (std::string_view word : cut) {
            if (word.starts_with("83"))
                h = metres(word);
            result |= word.starts_with("574");
            sight |= word.starts_with("333");
            back |= word.starts_with("331");
        }
        if (sight) {
            instrument.sights.push_back({pointOf(cut[0]), NAN});
            sightOpen = true;
        } else if (sightOpen && h) {
            instrument.sights.back().height = *h;
            sightOpen = false;
        } else if (result && h) {
            instrument.differences.push_back(*h - height);
            height = *h;
            instrument.backReadings += backReadings;
            backReadings = 0;
        } else if (h && lineStarted && std::isnan(height)) {
            height = *h;
        }
        // Back readings of stations with a result: the others are a collimation check
        // or a station left unfinished.
        backReadings += back;
    }
    return instrument;
}

class RealFiles : public ::testing::Test {
protected:
    std::filesystem::path save(const std::filesystem::path& file, const std::string& filter, const std::string& kind)
    {
        const std::filesystem::path out = scratch / (file.stem().string() + "-" + kind + ".xls");
        std::string output;
        const std::vector<std::string> argv = {
            (binaryDir() / "levara-cli").string(), "--filter", filter, "--save", kind, file.string(), out.string()};
        EXPECT_EQ(runProgram(argv, &output, {}, &environment), 0) << output;
        warnings += output;
        return out;
    }
    ScratchDir scratch;
    std::string warnings;
    std::vector<std::string> environment = environmentWithLocale({"LANG=en_US.UTF-8"});
};

// Within the last digit of the instrument's words: 0.01 mm.
constexpr double kLastDigit = 1e-5 + 1e-9;

TEST_F(RealFiles, StaffCalibrationRunsAgreeWithTheLevel)
{
    const std::vector<std::filesystem::path> files = realGsiFiles();
    ASSERT_EQ(files.size(), 24u);
    std::size_t stations = 0, sights = 0;
    for (const std::filesystem::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const Instrument instrument = instrumentOf(file);
        ASSERT_FALSE(instrument.differences.empty());

        // The BF book: a station's first row holds its number in A and its height
        // difference in E; each line's summary follows its stations.
        const xls::Workbook book = openWorkbook(save(file, "leveling", "bf"));
        std::vector<double> differences;
        for (int row = 6; row <= book.sheet(0).lastRow(); ++row)
            if (std::holds_alternative<double>(book.sheet(0).value(row, 1))) {
                const xls::Value value = book.sheet(0).value(row, 5);
                ASSERT_TRUE(std::holds_alternative<double>(value)) << "row " << row;
                differences.push_back(std::get<double>(value));
            }
        ASSERT_EQ(differences.size(), instrument.differences.size());
        for (std::size_t k = 0; k < differences.size(); ++k)
            EXPECT_NEAR(differences[k], instrument.differences[k], kLastDigit) << "station " << k + 1;
        stations += instrument.differences.size();

        // The intermediate table: a sight's row has its reading in D and height in E;
        // a back reading (C) gives its point's height of collimation (B).
        const xls::Workbook table = openWorkbook(save(file, "intermediate", "intermediate"));
        const xls::Worksheet& sheet = table.sheet(0);
        std::size_t sight = 0;
        int backReadings = 0;
        for (int row = 6; std::holds_alternative<std::string>(sheet.value(row, 1)); ++row) {
            if (std::holds_alternative<double>(sheet.value(row, 3))) {
                ++backReadings;
                EXPECT_NEAR(std::get<double>(sheet.value(row, 2)),
                            std::get<double>(sheet.value(row, 3)) + std::get<double>(sheet.value(row, 5)), 1e-9);
            }
            if (!std::holds_alternative<double>(sheet.value(row, 4)))
                continue;
            ASSERT_LT(sight, instrument.sights.size()) << "row " << row;
            EXPECT_EQ(std::get<std::string>(sheet.value(row, 1)), instrument.sights[sight].point) << "row " << row;
            EXPECT_NEAR(std::get<double>(sheet.value(row, 5)), instrument.sights[sight].height, kLastDigit)
                << "row " << row;
            ++sight;
        }
        EXPECT_EQ(sight, instrument.sights.size());
        EXPECT_EQ(backReadings, instrument.backReadings);
        sights += sight;
    }
    // Figures for the record: what the files hold.
    RecordProperty("stations", int(stations));
    RecordProperty("sights", int(sights));
    EXPECT_GT(stations, 50u);
}

TEST_F(RealFiles, SayOnceWhatWasPassedOver)
{
    const std::filesystem::path file = sourceDir() / "tests/data/real/landgate/20180111-26296-TC_STAFF20180111.GSI";
    save(file, "leveling", "bf");
    EXPECT_EQ(warnings, "levara-cli: warning: " + file.string() + ": passed over 8 readings of collimation checks\n");
}

}  // namespace
}  // namespace levara::testing

namespace levara::testing {
namespace {

// A hand-made raw file with what real M5 files hold besides readings: text records
// with values, a date row, "Curva OFF", a temperature where the time stands, a
// repeated measurement and a repeated station, a rejected intermediate sight.
TEST_F(RealFiles, OdditiesOfM5FilesAreNoReadings)
{
    const std::filesystem::path file = sourceDir() / "tests/data/m5_oddities.dat";
    const xls::Workbook book = openWorkbook(save(file, "leveling", "bffb"));
    const double differences[] = {0.3, -0.2, 0.2};
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(std::get<double>(book.sheet(0).value(8 + 3 * k, 8)), differences[k], 1e-9) << k;
    EXPECT_FALSE(std::holds_alternative<double>(book.sheet(0).value(17, 8)));

    const xls::Workbook table = openWorkbook(save(file, "intermediate", "intermediate"));
    std::vector<std::string> points;
    for (int row = 6; std::holds_alternative<std::string>(table.sheet(0).value(row, 1)); ++row)
        points.push_back(std::get<std::string>(table.sheet(0).value(row, 1)));
    EXPECT_EQ(std::count(points.begin(), points.end(), "P1"), 1);
    EXPECT_EQ(warnings, "");
}

}  // namespace
}  // namespace levara::testing

namespace levara::testing {
namespace {

// Held to the second order, or (withStandard false) to the level's results only.
std::string checked(const std::filesystem::path& file, int* status = nullptr, bool withStandard = true)
{
    std::string output;
    std::vector<std::string> environment = environmentWithLocale({"LANG=en_US.UTF-8"});
    std::vector<std::string> command = {(binaryDir() / "levara-cli").string(), "check", "--filter", "leveling"};
    if (withStandard)
        command.insert(command.end(), {"--standard", "2"});
    command.push_back(file.string());
    const int exit = runProgram(command, &output, {}, &environment);
    if (status)
        *status = exit;
    return output;
}

TEST(InstrumentCheck, RealFilesAgreeAndAWrongHeightIsListedWithBothValues)
{
    for (const std::filesystem::path& file : realGsiFiles())
        EXPECT_EQ(checked(file).find("instrument"), std::string::npos) << file;

    ScratchDir scratch;
    std::string raw = readBytes(sourceDir() / "tests/data/m5_oddities.dat");
    const std::size_t row = raw.find("For M5|Adr    35|");
    ASSERT_NE(row, std::string::npos);
    raw.replace(raw.find("10.30000", row), 8, "10.30009");
    writeBytes(scratch / "wrong.dat", raw);
    for (const bool withStandard : {true, false}) {
        int status = 0;
        const std::string output = checked(scratch / "wrong.dat", &status, withStandard);
        EXPECT_NE(output.find("line 31: station 3 (BM2): differs from the instrument's computation: height "
                              "difference 0.20000 m, the instrument's 0.20009 m\n"),
                  std::string::npos)
            << output;
        EXPECT_EQ(status, 3);
    }
    // Without a standard, only the level's results: all agree, or none to agree with.
    int status = 1;
    EXPECT_EQ(checked(sourceDir() / "tests/data/m5_oddities.dat", &status, false),
              "every station agrees with the instrument's computation (leveling lines: 1, stations: 3)\n");
    EXPECT_EQ(status, 0);
    // Rows of --csv, counted in the summary under a standard.
    std::string csv;
    std::vector<std::string> environment = environmentWithLocale({"LANG=en_US.UTF-8"});
    runProgram({(binaryDir() / "levara-cli").string(), "check", "--filter", "leveling", "--standard", "2", "--csv",
                (scratch / "wrong.dat").string()},
               &csv, {}, &environment);
    EXPECT_NE(csv.find("\n31,3,BM2,differs from the instrument's computation,0.2,0.20009,0.20009,m,,"
                       "the instrument's heights\n"),
              std::string::npos)
        << csv;
    EXPECT_NE(checked(scratch / "wrong.dat").find("; stations that differ from the instrument's computation: 1 ("),
              std::string::npos);
    std::istringstream withHeights(readBytes(sourceDir() / "tests/data/bffb_line.dat"));
    std::string withoutHeights;
    for (std::string line; std::getline(withHeights, line);)
        if (line.find("|Z ") == std::string::npos)
            withoutHeights += line + "\n";
    writeBytes(scratch / "plain.dat", withoutHeights);
    EXPECT_NE(checked(scratch / "plain.dat", &status, false).find("No standard is chosen"), std::string::npos);
    EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace levara::testing

namespace levara::testing {
namespace {

// The m5_oddities text without its second station (rows 15 to 25).
std::string withoutSecondStation()
{
    std::istringstream in(readBytes(sourceDir() / "tests/data/m5_oddities.dat"));
    std::string text;
    for (std::string line; std::getline(in, line);)
        if (const int row = std::stoi(line.substr(10, 6)); row < 15 || row > 25)
            text += line + "\n";
    return text;
}

// Where the level's sums include a station the file lacks, that station is one
// warning saying what shows it, not a difference.
TEST(InstrumentCheck, AStationMissingFromTheFileIsOneWarning)
{
    int status = 0;
    std::string output = checked(sourceDir() / "tests/data/gsi/oddities.gsi", &status, false);
    EXPECT_NE(output.find(": station 2 (BM11): warning: the instrument's sums include a station missing from the file "
                          "(the addresses jump from 104 to 108): height difference 0.10000 m, the instrument's "
                          "0.20000 m\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("differs from"), std::string::npos) << output;
    EXPECT_EQ(status, 3);

    // An M5 file's addresses are not looked at: a reduced text lacks rows too.
    ScratchDir scratch;
    writeBytes(scratch / "missing.dat", withoutSecondStation());
    output = checked(scratch / "missing.dat", nullptr, false);
    EXPECT_NE(output.find("line 20: station 2 (BM2): warning: the instrument's sums include a station missing from "
                          "the file (it counts 3 stations, the file holds 2): height difference 0.20000 m, the "
                          "instrument's 0.00000 m\n"),
              std::string::npos)
        << output;
}

}  // namespace
}  // namespace levara::testing
