// GSI files through levara-cli: converted as the open command converts them, booked
// by every save kind, and the saved books checked against the instrument's own
// results.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "tests/support/readers.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "xls/xls.h"

namespace levara::testing {
namespace {

std::filesystem::path gsiFile(const std::string& name) { return sourceDir() / "tests/data/gsi" / (name + ".gsi"); }

class GsiCli : public ::testing::Test {
protected:
    int run(const std::vector<std::string>& args)
    {
        std::vector<std::string> argv = {(binaryDir() / "levara-cli").string()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runProgram(argv, &output, {}, &environment);
    }
    // Saves name.gsi as kind after filter; the GSI file itself stays as it was.
    std::filesystem::path save(const std::string& name, const std::string& filter, const std::string& kind)
    {
        const std::string before = readBytes(gsiFile(name));
        const std::filesystem::path out = scratch / (name + "-" + kind + (kind == "text" ? ".txt" : ".xls"));
        std::vector<std::string> args = {"--save", kind, gsiFile(name).string(), out.string()};
        if (!filter.empty())
            args.insert(args.begin(), {"--filter", filter});
        EXPECT_EQ(run(args), 0) << output;
        EXPECT_EQ(output, "");
        EXPECT_EQ(readBytes(gsiFile(name)), before);
        return out;
    }
    ScratchDir scratch;
    std::string output;
    // English unless a test asks for another language.
    std::vector<std::string> environment = environmentWithLocale({"LANG=en_US.UTF-8"});
};

TEST_F(GsiCli, SavesTheConvertedLinesAsText)
{
    for (const char* name : {"bffb_results", "bf_line", "abffb_line", "units", "intermediate"}) {
        std::ifstream golden(sourceDir() / "tests/golden" / ("gsi-" + std::string(name) + ".txt"));
        std::string expected;
        for (std::string line; std::getline(golden, line);)
            expected += line + "\r\n";
        EXPECT_EQ(readBytes(save(name, "", "text")), expected + "\r\n") << name;
    }
}

TEST_F(GsiCli, BooksMadeFromGsiFilesHoldTheGoldenSheets)
{
    struct Case {
        const char* name;
        const char* filter;
        const char* kind;
        int sheets;
        int firstRow;
    };
    const Case cases[] = {
        {"bffb_results", "leveling", "bffb", 1, 6}, {"bf_line", "leveling", "bf", 1, 6},
        {"abffb_line", "leveling", "abffb", 1, 6},  {"abffb_line", "leveling", "abffb-2way", 2, 6},
        {"units", "leveling", "bffb", 1, 6},        {"intermediate", "intermediate", "intermediate", 1, 6},
        {"intermediate", "single", "single", 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.kind);
        const std::filesystem::path book = save(c.name, c.filter, c.kind);
        std::vector<std::string> text;
        for (int sheet = 0; sheet < c.sheets; ++sheet) {
            if (c.sheets > 1)
                text.push_back("worksheet " + std::to_string(sheet + 1));
            for (const std::string& line : xlrdSheetText(book, sheet, c.firstRow))
                text.push_back(line);
        }
        expectGolden(text, "gsi-" + std::string(c.name) + "-" + c.kind + ".txt");
    }
    // The books of other orders are refused for a BFFB file, at its first station, with
    // the books that fit.
    for (const char* kind : {"bbff", "bfbf"}) {
        const std::filesystem::path out = scratch / (std::string(kind) + ".xls");
        EXPECT_EQ(run({"--filter", "leveling", "--save", kind, gsiFile("bffb_results").string(), out.string()}), 1);
        EXPECT_NE(output.find(gsiFile("bffb_results").string() + ":"), std::string::npos) << output;
        EXPECT_NE(output.find("does not fit the observations: station 1, starting on line "), std::string::npos)
            << output;
        EXPECT_NE(output.find("(the books that fit: --save bffb, --save abffb)\n"), std::string::npos) << output;
        EXPECT_FALSE(std::filesystem::exists(out)) << kind;
    }
}

TEST_F(GsiCli, ReadingsAveragedFewerTimesThanTheStandardAsksAreListed)
{
    // Every reading of the file averages 2 (word 390): enough for 二等, not for 一等's 3.
    const std::string file = gsiFile("bffb_results").string();
    run({"check", "--filter", "leveling", "--standard", "2", file});
    EXPECT_EQ(output.find("repeated readings"), std::string::npos) << output;
    EXPECT_EQ(run({"check", "--filter", "leveling", "--standard", "1", file}), 3);
    std::size_t listed = 0;
    for (std::size_t at = 0;
         (at = output.find("repeated readings of a digital level 2, limit at least 3", at)) != std::string::npos; ++at)
        ++listed;
    EXPECT_EQ(listed, 12u) << output;
}

TEST_F(GsiCli, AFaultyGsiFileWritesNothingAndNamesItsLine)
{
    const std::filesystem::path gsi = scratch / "job.gsi";
    writeBytes(gsi, "410001+?......2 \r\n110002+00000BM1 83..58+05000000 \r\n110003+00000BM1 331.08+00159977 \r\n");
    const std::filesystem::path out = scratch / "book.xls";
    EXPECT_EQ(run({"--filter", "leveling", "--save", "bffb", gsi.string(), out.string()}), 1);
    EXPECT_EQ(output, "levara-cli: " + gsi.string() +
                          ": line 3: the reading \"331.08+00159977\" has no distance (word 32) in its block\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    environment = environmentWithLocale({"LANG=zh_CN.UTF-8"});
    EXPECT_EQ(run({"--filter", "leveling", "--save", "bffb", gsi.string(), out.string()}), 1);
    EXPECT_EQ(output,
              "levara-cli: " + gsi.string() + "：第 3 行：读数 \"331.08+00159977\" 所在的数据块中没有视距（字 32）\n");
}

// The instrument's results in a GSI file: per station the words 571-574 and 83, in
// metres, read here independently of Levara.
struct StationResults {
    std::map<int, double> words;  // by WI
};

double gsiValue(const std::string& word)
{
    const int decimals = word[5] == '8' ? 5 : word[5] == '6' ? 4 : 3;
    return (word[6] == '-' ? -1 : 1) * std::stod(word.substr(7)) * std::pow(10.0, -decimals);
}

// The start height and each station's results.
std::pair<double, std::vector<StationResults>> instrumentResults(const std::filesystem::path& file)
{
    std::istringstream in(readBytes(file));
    double start = NAN;
    std::vector<StationResults> stations;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        StationResults results;
        for (std::string word; words >> word;) {
            if (word[0] == '*')
                word.erase(0, 1);
            for (int index : {571, 572, 573, 574})
                if (word.starts_with(std::to_string(index)))
                    results.words[index] = gsiValue(word);
            if (word.starts_with("83"))
                results.words[83] = gsiValue(word);
        }
        if (results.words.count(574))
            stations.push_back(results);
        else if (results.words.count(83) && std::isnan(start))
            start = results.words[83];
    }
    return {start, stations};
}

TEST_F(GsiCli, BooksAgreeWithTheInstrumentsResults)
{
    // Where a book keeps a station's values: rows from the station's first, columns.
    struct Cell {
        int row, column;
    };
    struct Layout {
        std::optional<Cell> readingDifferenceMm;  // 571
        Cell distanceDifferenceSum;               // 573
        Cell heightDifference;                    // summed from the start height: 83
        Cell sightLength;                         // summed: 574
        std::optional<Cell> elevation;            // 83
    };
    const Layout fourReadings = {Cell{2, 7}, {2, 4}, {2, 8}, {2, 9}, std::nullopt};
    const Layout bf = {std::nullopt, {2, 4}, {0, 5}, {0, 6}, Cell{0, 7}};
    const std::pair<std::pair<const char*, const char*>, Layout> books[] = {{{"bffb_results", "bffb"}, fourReadings},
                                                                            {{"abffb_line", "abffb"}, fourReadings},
                                                                            {{"bf_line", "bf"}, bf}};
    // Within the last digit of the instrument's words: 0.01 mm. The book sums its printed
    // values, each rounded half to even (d and the station lengths to 1 mm, the means
    // to 0.01 mm): up to k stations' halves of those off the instrument's exact sums.
    constexpr double kLastDigit = 1e-5 + 1e-9;
    const auto halfMillimetres = [](int k) { return kLastDigit + 0.0005 * k; };
    const auto halfHundredths = [](int k) { return kLastDigit + 0.000005 * k; };

    for (const auto& [book, layout] : books) {
        SCOPED_TRACE(book.first);
        const auto [start, stations] = instrumentResults(gsiFile(book.first));
        ASSERT_FALSE(stations.empty());
        const xls::Workbook workbook = openWorkbook(save(book.first, "leveling", book.second));
        const xls::Worksheet& sheet = workbook.sheet(0);
        auto at = [&](int station, Cell cell) {
            const xls::Value value = sheet.value(6 + 3 * station + cell.row, cell.column);
            EXPECT_TRUE(std::holds_alternative<double>(value)) << "station " << station + 1;
            return std::holds_alternative<double>(value) ? std::get<double>(value) : NAN;
        };
        double height = start, length = 0, differenceSum = 0;
        for (int k = 0; k < int(stations.size()); ++k) {
            SCOPED_TRACE("station " + std::to_string(k + 1));
            std::map<int, double> instrument = stations[k].words;
            if (layout.readingDifferenceMm) {
                const double difference = at(k, *layout.readingDifferenceMm) / 1000;
                differenceSum += difference;
                EXPECT_NEAR(difference, instrument[571], kLastDigit);
                EXPECT_NEAR(differenceSum, instrument[572], kLastDigit);
            }
            EXPECT_NEAR(at(k, layout.distanceDifferenceSum), instrument[573], halfMillimetres(k + 1));
            length += at(k, layout.sightLength);
            EXPECT_NEAR(length, instrument[574], halfMillimetres(k + 1));
            height += at(k, layout.heightDifference);
            EXPECT_NEAR(height, instrument[83], halfHundredths(k + 1));
            if (layout.elevation) {
                EXPECT_NEAR(at(k, *layout.elevation), instrument[83], halfHundredths(k + 1));
            }
        }
    }
}

}  // namespace
}  // namespace levara::testing
