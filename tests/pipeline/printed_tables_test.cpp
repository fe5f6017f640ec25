// The tables as they print: a 高差配赋表 of a long route and the two point tables of
// 1,200 points, saved through the export frame, turned into PDF by LibreOffice in one
// run and read as a checker reads the pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"
#include "tests/leveling/routes.h"
#include "tests/support/printed_pdf.h"
#include "tests/support/raw_lines.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using books::WorkbookKind;

constexpr int kPoints = 1200;
constexpr int kSections = 30;

const std::regex kThreeDecimals("-?[0-9]+\\.[0-9]{3}");
const std::regex kFiveDecimals("-?[0-9]+\\.[0-9]{5}");
const std::regex kTwoDecimals("-?[0-9]+\\.[0-9]{2}");
const std::regex kWholeNumber("[0-9]+");
const std::regex kStationCount("[0-9]+(\\.5)?");

// Recorded to the millimetre and often on whole metres, so that a distance shown
// without its three decimals ("30" for 30.000) is caught.
std::string distance(int k, int offset) { return std::to_string(30 + (k + offset) % 17) + (k % 3 ? ".000" : ".125"); }
std::string reading(int k, int offset) { return "1." + std::to_string(10000 + (k * 37 + offset) % 90000); }

std::string intermediatePoints()
{
    std::string text = heightLine("BM1", "100.00000") + "\r\n";
    for (int k = 1; k <= kPoints; ++k) {
        if (k % 20 == 1)
            text +=
                rawLine(k == 1 ? "BM1" : "P" + std::to_string(k - 1), "R ", reading(k, 0), distance(k, 0), "") + "\r\n";
        text += rawLine("P" + std::to_string(k), "Rz", reading(k, 1), distance(k, 1), "99.12345") + "\r\n";
    }
    return text;
}

// Every seventh reading carries the height the level computed for its point.
std::string singlePoints()
{
    std::string text;
    for (int k = 1; k <= kPoints; ++k)
        text += rawLine("P" + std::to_string(k), "R ", reading(k, 0), distance(k, 0), k % 7 ? "" : "98.76545") + "\r\n";
    return text;
}

// A → P1 → … → P29 → B over sections of 1 or 2 stations, every second one 0.9 m past
// a whole metre, so that the lengths in millimetres and the printed ones sum apart.
// P9 → P10 and P29 → B are levelled forward and back, their mean lengths ending in
// half a metre (575.5 m prints 0.576 km, 1326.5 m 1.326 km), and 123.45 mm apart, over
// 四等's limit, so their remarks are the longest the table writes, B's with "已知点；"
// before it and the Σ row after it.
std::vector<HandSection> longRoute()
{
    std::vector<HandSection> sections;
    for (int k = 1; k <= kSections; ++k) {
        const std::string from = k == 1 ? "A" : "P" + std::to_string(k - 1);
        const std::string to = k == kSections ? "B" : "P" + std::to_string(k);
        const double length = 200 + 37.5 * k + (k % 2 ? 0.4 : 0);
        const double heightDifference = 0.01234 * (k % 7) - 0.03;
        sections.push_back({from, to, heightDifference, length, 1 + k % 2});
        if (k == 10 || k == kSections)
            sections.push_back({to, from, -heightDifference - 0.12345, length + (k == 10 ? 1 : 3), 1 + k % 2});
    }
    return sections;
}

// The 高差配赋表 of the route under 四等, its end known 4.37 mm off the levelled
// heights so that every section has a correction.
leveling::Adjustment adjustedRoute(const std::string& text, const ScratchDir& scratch)
{
    const TextLines lines = TextLines::viewOf(text);
    const leveling::Standard fourth = leveling::chooseStandard(leveling::builtinLimits(4), false);
    const auto adjust = [&](const std::string& known) {
        const leveling::KnownPoints points = leveling::parseKnownPoints(known, scratch / "known.txt");
        return leveling::adjustRoute(leveling::readSections(lines), lines, &points, leveling::Distribution::ByDistance,
                                     &fourth);
    };
    const leveling::Adjustment open = adjust("A 100.2187\n");
    return adjust("A 100.2187\nB " + fixed(100.2187 + leveling::toMetres(open.measured) - 0.00437, 5) + "\n");
}

// Whether the characters of part stand in text in their order (blanks aside), other
// characters among them: a remark wrapped over lines between other columns' values.
bool printedIn(const std::string& text, const std::string& part)
{
    std::size_t at = 0;
    for (std::size_t k = 0; k < part.size();) {
        const std::size_t length = static_cast<unsigned char>(part[k]) >= 0xE0 ? 3 : 1;
        const std::string character = part.substr(k, length);
        k += length;
        if (character == " ")
            continue;
        at = text.find(character, at);
        if (at == std::string::npos)
            return false;
        at += length;
    }
    return true;
}

// The 高差配赋表's rows as printed: each point's values on a line beginning with its
// name, whole; its remark (as the worksheet holds it) whole between the rows before and
// after it, not over them; the columns with the Σ row add up to it.
void checkAdjustmentTable(const std::vector<std::string>& pages, const xls::Worksheet& sheet)
{
    std::vector<std::string> lines;  // the table's, from its heading on
    for (const std::string& page : pages) {
        if (page.find("精度评定") != std::string::npos)
            break;
        for (const std::string& line : linesOf(page))
            if (!words(line).empty() && (!lines.empty() || line.find("点名") != std::string::npos))
                lines.push_back(line);
    }
    // The line of each row: the heading's, each point's, the Σ row's.
    std::vector<std::size_t> rows = {0};
    for (int k = 0; k <= kSections + 1; ++k) {
        const std::string first = k == 0 ? "A" : k == kSections ? "B" : k > kSections ? "Σ" : "P" + std::to_string(k);
        std::size_t at = rows.back() + 1;
        while (at < lines.size() && words(lines[at])[0] != first)
            ++at;
        ASSERT_LT(at, lines.size()) << first;
        rows.push_back(at);
    }
    leveling::Micrometres length = 0, stations = 0, measured = 0, correction = 0, corrected = 0;
    for (int k = 0; k <= kSections; ++k) {
        const std::string& line = lines[rows[std::size_t(k) + 1]];
        const std::vector<std::string> w = words(line);
        const xls::Value cell = sheet.value(4 + k, 8);
        const std::string remark = std::holds_alternative<std::string>(cell) ? std::get<std::string>(cell) : "";
        std::string between;
        for (std::size_t at = rows[std::size_t(k)] + 1; at < rows[std::size_t(k) + 2]; ++at)
            between += lines[at] + "\n";
        EXPECT_TRUE(printedIn(between, remark)) << remark << "\n" << between;
        if (k == 0) {
            EXPECT_EQ(w[1], "100.2187") << line;
            continue;
        }
        ASSERT_GE(w.size(), 7u) << line;
        EXPECT_TRUE(std::regex_match(w[1], kThreeDecimals)) << line;
        if (k == 10 || k == kSections) {
            EXPECT_EQ(w[1], k == 10 ? "0.576" : "1.326") << line;  // the pairs' means, half to even
        }
        EXPECT_TRUE(std::regex_match(w[2], kStationCount)) << line;
        EXPECT_TRUE(std::regex_match(w[3], kFiveDecimals)) << line;
        EXPECT_TRUE(std::regex_match(w[4], kTwoDecimals)) << line;
        EXPECT_TRUE(std::regex_match(w[5], kFiveDecimals)) << line;
        // 四等 keeps computed heights to the millimetre, the known end as given.
        EXPECT_TRUE(k == kSections || std::regex_match(w[6], kThreeDecimals)) << line;
        length += leveling::micrometres(w[1]);
        stations += leveling::micrometres(w[2]);
        measured += leveling::micrometres(w[3]);
        correction += leveling::micrometres(w[4]);
        corrected += leveling::micrometres(w[5]);
    }
    const std::vector<std::string> sums = words(lines[rows.back()]);
    ASSERT_EQ(sums.size(), 6u) << lines[rows.back()];
    EXPECT_EQ(leveling::micrometres(sums[1]), length) << lines[rows.back()];
    EXPECT_EQ(leveling::micrometres(sums[2]), stations) << lines[rows.back()];
    EXPECT_EQ(leveling::micrometres(sums[3]), measured) << lines[rows.back()];
    EXPECT_EQ(leveling::micrometres(sums[4]), correction) << lines[rows.back()];
    EXPECT_EQ(leveling::micrometres(sums[5]), corrected) << lines[rows.back()];
}

// Each reading's row whole, in order, on the pages: serial, point, distance (m),
// reading (m) and the level's height (m) where the reading carries one.
void checkSinglePointTable(const std::vector<std::string>& pages)
{
    int serial = 0;
    for (const std::string& page : pages)
        for (const std::string& line : linesOf(page)) {
            const std::vector<std::string> w = words(line);
            if (w.size() < 4 || !std::regex_match(w[0], kWholeNumber) || w[1][0] != 'P')
                continue;
            ++serial;
            EXPECT_EQ(w[0], std::to_string(serial)) << line;
            EXPECT_TRUE(std::regex_match(w[2], kThreeDecimals) && std::regex_match(w[3], kFiveDecimals)) << line;
            if (serial % 7) {
                EXPECT_EQ(w.size(), 4u) << line;
            } else {
                ASSERT_EQ(w.size(), 5u) << line;
                EXPECT_EQ(w[4], "98.76545") << line;
            }
        }
    EXPECT_EQ(serial, kPoints);
}

// Each point's row whole: its elevation to five decimals; a point with a back sight
// its height of collimation and back reading too.
void checkIntermediateTable(const std::vector<std::string>& pages)
{
    int points = 0, backSights = 0;
    for (const std::string& page : pages)
        for (const std::string& line : linesOf(page)) {
            const std::vector<std::string> w = words(line);
            if (w.size() < 2 || (w[0][0] != 'P' && w[0] != "BM1"))
                continue;
            ++points;
            for (std::size_t k = 1; k < w.size(); ++k)
                EXPECT_TRUE(std::regex_match(w[k], kFiveDecimals)) << line;
            backSights += w.size() >= 4;
        }
    EXPECT_EQ(points, kPoints + 1);
    EXPECT_EQ(backSights, kPoints / 20);
}

TEST(PrintedTables, ColumnsAddUpRemarksPrintWholeAndNoValueIsCut)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    const std::string route = routeText(longRoute());
    leveling::Adjustment adjustment = adjustedRoute(route, scratch);
    // The start height as a joined text's file records it: a long file name wraps in
    // the start point's remark, whose row must grow to hold it.
    adjustment.knownFile.clear();
    adjustment.startHeightFile = "起点文件_a_rather_long_file_name_of_a_day_of_leveling_2026_12_08.dat";
    adjustment.startHeightLine = LineNumber(3);
    const leveling::Standard fourth = leveling::chooseStandard(leveling::builtinLimits(4), false);
    const std::vector<std::filesystem::path> workbooks = {scratch / "adjustment.xls", scratch / "intermediate.xls",
                                                          scratch / "single.xls"};
    books::exportWorkbook(WorkbookKind::AdjustmentTable, temp, route, workbooks[0], &fourth, {}, &adjustment);
    books::exportWorkbook(WorkbookKind::IntermediateTable, temp, intermediatePoints(), workbooks[1]);
    books::exportWorkbook(WorkbookKind::SinglePointTable, temp, singlePoints(), workbooks[2]);
    const std::vector<std::filesystem::path> pdfs = printToPdf(scratch.path(), workbooks);

    std::vector<std::vector<std::string>> printed;
    for (std::size_t file = 0; file < pdfs.size(); ++file) {
        SCOPED_TRACE(workbooks[file].filename().string());
        printed.push_back(printedPages(pdfs[file]));
        for (const std::string& page : printed.back()) {
            EXPECT_EQ(page.find("###"), std::string::npos) << page;
            // Every column on every page: the remarks are the last (the 精度评定 sheet
            // after the 高差配赋表 has none).
            if (page.find("精度评定") == std::string::npos) {
                EXPECT_NE(page.find("备注"), std::string::npos) << page;
            }
        }
    }
    const xls::Workbook book = openWorkbook(workbooks[0]);
    checkAdjustmentTable(printed[0], book.sheet(0));
    EXPECT_GT(printed[1].size(), 10u);
    checkIntermediateTable(printed[1]);
    EXPECT_GT(printed[2].size(), 10u);
    checkSinglePointTable(printed[2]);
}

}  // namespace
}  // namespace levara::testing
