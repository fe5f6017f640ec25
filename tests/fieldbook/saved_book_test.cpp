// The field books as a surveyor gets them: saved through the export pipeline into a
// copy of the built template and read back by the engine and by xlrd. They must hold
// exactly what the books wrote into a sheet held in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <tuple>

#include "books/pipeline/export.h"
#include "leveling/leveling.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/readers.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using books::WorkbookKind;

std::string workText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

std::vector<std::string> engineSheetText(const std::filesystem::path& file, std::size_t sheet)
{
    xls::Workbook book = openWorkbook(file);
    return sheetText(book.sheet(sheet), 6);
}

class SavedBook : public ::testing::Test {
protected:
    SavedBook() : temp(makeProgramDir(scratch)) {}

    // Saves the book and checks that the engine and xlrd read the same sheet back.
    std::vector<std::string> save(WorkbookKind output, const std::vector<std::string>& lines, std::size_t sheet = 0)
    {
        const auto file = scratch / "book.xls";
        books::exportWorkbook(output, temp, workText(lines), file);
        const auto engine = engineSheetText(file, sheet);
        const auto xlrd = xlrdSheetText(file, int(sheet), 6);
        EXPECT_EQ(engine, xlrd) << lineDiff(engine, xlrd);
        return xlrd;
    }

    ScratchDir scratch;
    WorkFolderPaths temp;
};

TEST_F(SavedBook, HoldsTheGoldenBooks)
{
    expectGolden(save(WorkbookKind::BffbBook, goldenBffbLine()), "fieldbook-bffb-two-stations.txt");
    expectGolden(save(WorkbookKind::BfBook, goldenBfLine()), "fieldbook-bf.txt");

    std::vector<std::string> twoWay = {"worksheet 1"};
    append(twoWay, save(WorkbookKind::AbffbTwoWayBook, goldenTwoWayLine(), 0));
    twoWay.push_back("worksheet 2");
    append(twoWay, save(WorkbookKind::AbffbTwoWayBook, goldenTwoWayLine(), 1));
    expectGolden(twoWay, "fieldbook-two-way.txt");
}

// Names that read as numbers, and stations whose distance differences add up to
// zero, which doubles sum to -7.1E-15.
std::vector<std::string> namesAndACancellingSigma(std::string_view method)
{
    return surveyedLine(method, {bffbStation({"0012", "1.52345", "31.243"}, {"1E3", "1.41234", "39.086"},
                                             {"1E3", "1.41236", "39.064"}, {"0012", "1.52349", "31.213"}),
                                 bffbStation({"007", "1.52345", "34.675"}, {"1-2", "1.41234", "29.714"},
                                             {"1-2", "1.41236", "29.703"}, {"007", "1.52349", "34.684"}),
                                 bffbStation({"123456789", "0.80253", "45.925"}, {"12.50", "1.87654", "30.479"},
                                             {"12.50", "1.87650", "30.488"}, {"123456789", "0.80254", "45.903"}),
                                 bffbStation({"12.50", "1.5", "28.993"}, {"007", "1.4", "41.559"},
                                             {"007", "1.4", "41.539"}, {"12.50", "1.5", "28.996"})});
}

// The same for the BF book; its sums of doubles come to 3.6E-15.
std::vector<std::string> bfNamesAndACancellingSigma()
{
    return surveyedLine(
        "BF", {stationLines({{"Rb", {"0012", "1.52345", "47.781"}}, {"Rf", {"1E3", "1.41234", "21.870"}}}),
               stationLines({{"Rb", {"007", "1.52345", "31.603"}}, {"Rf", {"1-2", "1.41234", "41.007"}}}),
               stationLines({{"Rb", {"123456789", "0.80253", "22.402"}}, {"Rf", {"12.50", "1.87654", "38.909"}}})});
}

// Every number cell holds the double nearest its nine-decimal value, and no -0.
const char* const kNoisyCells = R"(
import sys, math, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
for sheet in book.sheets():
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            v = sheet.cell_value(r, c)
            if sheet.cell_type(r, c) == xlrd.XL_CELL_NUMBER and (float('%.9f' % v) != v or (v == 0 and math.copysign(1, v) < 0)):
                print('%d,%d %r' % (r + 1, c + 1, v))
)";

TEST_F(SavedBook, NamesStayTheirTextsAndComputedValuesTheirDecimals)
{
    const struct {
        WorkbookKind output;
        std::vector<std::string> lines;
        std::vector<std::string> cells;
    } cases[] = {
        // The last Σd is exactly 0. A mean height difference and a d with a 5 at the
        // next decimal are stored rounded half to even. The end point is a name too.
        {WorkbookKind::BffbBook,
         namesAndACancellingSigma("BFFB"),
         {"17  C=-12.554[0.000]  D=0[0.000]", "H=-1.07398[0.00000]", "C=\"007\""}},
        {WorkbookKind::AbffbBook,
         namesAndACancellingSigma("aBFFB"),
         {"17  C=-12.554[0.000]  D=0[0.000]", "H=-1.07398[0.00000]", "C=\"007\""}},
        {WorkbookKind::BfBook, bfNamesAndACancellingSigma(), {"14  C=-16.507[0.000]  D=0[0.000]", "C=\"12.50\""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(books::templateName(c.output));
        const std::vector<std::string> text = save(c.output, c.lines);
        std::vector<std::string> cells = {"B=\"0012\"",      "B=\"1E3\"",   "B=\"007\"", "B=\"1-2\"",
                                          "B=\"123456789\"", "B=\"12.50\"", "C=\"0012\""};
        cells.insert(cells.end(), c.cells.begin(), c.cells.end());
        for (const std::string& cell : cells)
            EXPECT_NE(std::find_if(text.begin(), text.end(),
                                   [&](const std::string& line) { return line.find(cell) != std::string::npos; }),
                      text.end())
                << cell;
        std::string output;
        ASSERT_EQ(runProgram({"/usr/bin/python3", "-c", kNoisyCells, (scratch / "book.xls").string()}, &output), 0)
            << output;
        EXPECT_EQ(output, "");
    }
}

// A long line whose readings and distances leave halves everywhere: h1 + h2 odd in
// 0.01 mm at every station, means of two distances ending in 0.5 mm.
std::vector<std::string> halvesLine(std::string_view method, int count)
{
    std::vector<std::vector<std::string>> stations;
    for (int k = 1; k <= count; ++k) {
        const std::string back = "P" + std::to_string(k - 1), fore = "P" + std::to_string(k);
        const auto reading = [&](int offset) { return "1." + std::to_string(10000 + (k * 7919 + offset) % 89990); };
        const auto distance = [&](int offset) {
            return std::to_string(20 + (k + offset) % 30) + "." + std::to_string(100 + (k * 37 + offset) % 900);
        };
        const Sight b1{back, reading(0), distance(0)}, b2{back, reading(3), distance(1)};
        const Sight f1{fore, reading(500), distance(5)}, f2{fore, reading(502), distance(8)};
        if (method == "BF")
            stations.push_back(stationLines({{"Rb", b1}, {"Rf", f1}}));
        else if (method == "aBFFB" && k % 2 == 0)
            stations.push_back(fbbfStation(f1, b1, b2, f2));
        else
            stations.push_back(bffbStation(b1, f1, f2, b2));
    }
    return surveyedLine(method, stations);
}

// The printed value of a number cell in micrometres (of its unit): the cell must hold
// the double nearest its decimal with the column's decimals, so nothing hides.
leveling::Micrometres printed(const xls::Worksheet& sheet, int row, int column, int decimals)
{
    const double value = numberIn(sheet, row, column);
    const double scale = std::pow(10.0, decimals);
    const double digits = std::nearbyint(value * scale);
    EXPECT_EQ(value, digits / scale) << "cell (" << row << ", " << column << ") holds " << value;
    return leveling::Micrometres(digits) * leveling::Micrometres(std::pow(10.0, 6 - decimals));
}

std::vector<std::string> split(const std::string& text, const std::string& by)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + by.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

leveling::Micrometres operandValue(std::string word)
{
    if (word.front() == '(')
        word = word.substr(1, word.size() - 2);
    return leveling::micrometres(word);
}

// "a - b", "a + b", "2 × a" or "a"; the operands are appended.
leveling::Micrometres evaluated(const std::string& expression, std::vector<leveling::Micrometres>& operands)
{
    const std::vector<std::string> words = split(expression, " ");
    if (words.size() == 1)
        return operandValue(words[0]);
    EXPECT_EQ(words.size(), 3u) << expression;
    if (words[1] == "×") {
        operands.push_back(operandValue(words[2]));
        return std::stoll(words[0]) * operands.back();
    }
    operands.push_back(operandValue(words[0]));
    operands.push_back(operandValue(words[2]));
    return words[1] == "+" ? operands[operands.size() - 2] + operands.back()
                           : operands[operands.size() - 2] - operands.back();
}

// One check row: "label = expression = value", then " = label" or "，label = total"
// for the printed total the identity stands for, then "，修约差 = r mm" where the value
// and the total differ: by r exactly. Returns the identity's value, the total and the
// operands of its expression.
struct CheckRow {
    leveling::Micrometres value = 0, total = 0;
    std::vector<leveling::Micrometres> operands;
};
bool isNumber(const std::string& text)
{
    return !text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-' || text[0] == '(');
}
CheckRow checkedRow(const std::string& text)
{
    const std::vector<std::string> clauses = split(text, "，");
    const std::vector<std::string> sides = split(clauses[0], " = ");
    const std::size_t valueSide = isNumber(sides.back()) ? sides.size() - 1 : sides.size() - 2;
    CheckRow row;
    row.value = row.total = operandValue(sides[valueSide]);
    for (std::size_t k = 1; k < valueSide; ++k) {
        std::vector<leveling::Micrometres> operands;
        EXPECT_EQ(evaluated(sides[k], operands), row.value) << text;
        if (k == 1)
            row.operands = operands;
    }
    if (valueSide + 1 < sides.size()) {
        EXPECT_EQ(clauses.size(), 1u) << text;
        return row;
    }
    if (clauses.size() == 1)
        return row;
    EXPECT_EQ(clauses.size(), 3u) << text;
    row.total = operandValue(split(clauses[1], " = ").back());
    const std::string residue = split(clauses[2], " = ").back();
    EXPECT_EQ(leveling::micrometres(residue.substr(0, residue.size() - 3)) / 1000, row.value - row.total) << text;
    EXPECT_NE(row.value, row.total) << text;
    return row;
}

// The printed columns of some stations added.
struct ColumnSums {
    leveling::Micrometres backReadings = 0, foreReadings = 0, d = 0, h1 = 0, h2 = 0, mean = 0, sight = 0;
};

// The check rows from row (bf: 3, else 5) hold with the values the columns print, d
// being what Σ后距 - Σ前距 stands for.
void expectCheckRowsHold(const xls::Worksheet& sheet, int row, const ColumnSums& sums, bool bf)
{
    std::vector<CheckRow> rows;
    for (int k = 0; k < (bf ? 3 : 5); ++k)
        rows.push_back(checkedRow(textIn(sheet, row + k, 2)));
    const std::size_t readings = bf ? 0 : 1;
    EXPECT_EQ(rows[readings].operands, (std::vector{sums.backReadings, sums.foreReadings})) << row;
    if (bf) {
        EXPECT_EQ(rows[0].total, sums.mean) << row;
    } else {
        EXPECT_EQ(rows[0].operands, (std::vector{sums.h1, sums.h2})) << row;
        EXPECT_EQ(rows[1].total, sums.h1 + sums.h2) << row;
        EXPECT_EQ(rows[2].operands, (std::vector{sums.mean})) << row;
        EXPECT_EQ(rows[2].total, sums.h1 + sums.h2) << row;
    }
    EXPECT_EQ(rows[rows.size() - 2].total, sums.d) << row;
    EXPECT_EQ(rows.back().total, sums.sight) << row;
}

// Every printed column of a saved book adds up: each Σd is the printed d added, the
// summary's Σd, Σh and length are the printed columns' sums, and each check row holds
// with the values the columns print: the summary's with the whole book's, each page's
// (本页校核, at the page's foot) with the page's: a page of the books' templates holds
// fewer than 20 blocks.
void expectColumnsAddUp(const xls::Worksheet& sheet, bool bf, const std::string& where)
{
    SCOPED_TRACE(where);
    ColumnSums book, page;
    const std::vector<int> breaks = sheet.rowBreaks();
    std::size_t pages = 0;
    int n = 0, back = 6;
    for (;; back += 3) {
        if (textIn(sheet, back, 1) == "本页校核") {
            expectCheckRowsHold(sheet, back, page, bf);
            // The next page begins below them.
            if (pages < breaks.size()) {
                EXPECT_EQ(breaks[pages], back + (bf ? 3 : 5));
            }
            ++pages;
            page = {};
            back += bf ? 3 : 5;
        }
        if (!std::holds_alternative<double>(sheet.value(back, 1)))
            break;
        const int fore = back + 1, result = back + 2;
        ++n;
        ColumnSums station;
        station.d = printed(sheet, result, 3, 3);
        if (bf) {
            station.backReadings = printed(sheet, back, 4, 5);
            station.foreReadings = printed(sheet, fore, 4, 5);
            station.h1 = station.h2 = station.mean = printed(sheet, back, 5, 5);
            station.sight = printed(sheet, back, 6, 3);
        } else {
            station.backReadings = printed(sheet, back, 5, 5) + printed(sheet, back, 6, 5);
            station.foreReadings = printed(sheet, fore, 5, 5) + printed(sheet, fore, 6, 5);
            station.h1 = printed(sheet, result, 5, 5);
            station.h2 = printed(sheet, result, 6, 5);
            printed(sheet, result, 7, 2);
            station.mean = printed(sheet, result, 8, 5);
            station.sight = printed(sheet, result, 9, 3);
        }
        for (ColumnSums* sums : {&book, &page}) {
            sums->backReadings += station.backReadings, sums->foreReadings += station.foreReadings;
            sums->d += station.d, sums->h1 += station.h1, sums->h2 += station.h2;
            sums->mean += station.mean, sums->sight += station.sight;
        }
        EXPECT_EQ(printed(sheet, result, 4, 3), book.d) << "station " << n;
    }
    EXPECT_GT(n, 0);
    const int summary = back;
    EXPECT_EQ(printed(sheet, summary + 1, 6, 3), book.d);
    EXPECT_EQ(printed(sheet, summary + 2, 6, 5), book.mean);
    EXPECT_EQ(printed(sheet, summary + 3, 6, 5), leveling::halfEvenQuotient(book.sight, 10000) * 10);

    EXPECT_EQ(textIn(sheet, summary + 4, 1), "检查计算");
    expectCheckRowsHold(sheet, summary + 4, book, bf);
    EXPECT_EQ(textIn(sheet, summary + 4 + (bf ? 3 : 5), 1), "测量责任人：");
    EXPECT_GE(int(pages), n / 20);
}

TEST_F(SavedBook, EveryPrintedColumnAddsUpToItsTotalAndTheCheckRowsHold)
{
    const struct {
        WorkbookKind output;
        std::string text;
    } cases[] = {
        {WorkbookKind::BffbBook, readOpenedText(sourceDir() / "examples/bffb_line.dat").text},
        {WorkbookKind::BffbBook, workText(halvesLine("BFFB", 400))},
        {WorkbookKind::BfBook, workText(halvesLine("BF", 400))},
        {WorkbookKind::AbffbBook, workText(halvesLine("aBFFB", 400))},
        {WorkbookKind::AbffbTwoWayBook, workText(halvesLine("aBFFB", 400))},
    };
    for (const auto& c : cases) {
        const std::string where = std::string(books::templateName(c.output)) + " " + std::to_string(c.text.size());
        const auto file = scratch / "sums.xls";
        books::exportWorkbook(c.output, temp, c.text, file);
        const xls::Workbook book = openWorkbook(file);
        for (std::size_t sheet = 0; sheet < book.sheetCount(); ++sheet)
            expectColumnsAddUp(book.sheet(sheet), c.output == WorkbookKind::BfBook, where);
    }
}

// The records a text may carry for the heading, then a line.
std::vector<std::string> recordsAnd(const std::vector<std::string>& line)
{
    std::vector<std::string> lines = {rawFields("TO  Proj: 示例工程"), rawFields("TO  Date: 2024-05-02"),
                                      rawFields("TO  Instr: DiNi 0.3 700123"),
                                      rawFields("TO  Start-Line" + rightAligned("aBFFB", 11) +
                                                rightAligned("0214", 6))};
    append(lines, line);
    return lines;
}

TEST_F(SavedBook, HeadingFieldsComeFromTheTextsRecords)
{
    const struct {
        WorkbookKind output;
        std::vector<std::string> lines;
        std::vector<std::tuple<int, int, std::string>> cells;  // row, column, text on every sheet
    } cases[] = {
        {WorkbookKind::AbffbTwoWayBook,
         recordsAnd(goldenTwoWayLine()),
         {{2, 1, "工程名称：示例工程"},
          {2, 4, "线路名称：0214"},
          {2, 9, "观测顺序：aBFFB"},
          {3, 4, "日期：2024-05-02"},
          {3, 1, "仪器型号：DiNi 0.3 700123"},
          {3, 9, "检核标准：未检核"}}},
        {WorkbookKind::BfBook,
         recordsAnd(goldenBfLine()),
         {{2, 1, "工程名称：示例工程"},
          {2, 4, "线路名称：0214"},
          {3, 3, "日期：2024-05-02"},
          {3, 1, "仪器：DiNi 0.3 700123"}}},
        // The method and the line number read by words, wherever they stand.
        {WorkbookKind::BffbBook,
         [] {
             std::vector<std::string> lines = {rawFields("TO  Start-Line         BFFB    7")};
             append(lines, goldenBffbLine());
             return lines;
         }(),
         {{2, 4, "线路名称：7"}, {2, 9, "观测顺序：BFFB"}}},
        // A text without the records leaves the heading as the template has it.
        {WorkbookKind::BffbBook,
         {},
         {{2, 1, "工程名称："},
          {2, 4, "线路名称："},
          {2, 6, "测自　　　　至"},
          {2, 9, "观测顺序："},
          {3, 4, "日期：　　年　月　日"},
          {3, 6, "观测时间："}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(books::templateName(c.output));
        const auto file = scratch / "heading.xls";
        books::exportWorkbook(c.output, temp, workText(c.lines), file);
        xls::Workbook book = openWorkbook(file);
        for (std::size_t sheet = 0; sheet < book.sheetCount(); ++sheet)
            for (const auto& [row, column, text] : c.cells)
                EXPECT_EQ(book.sheet(sheet).value(row, column), xls::Value(text))
                    << sheet << " " << row << "," << column;
    }
}

TEST_F(SavedBook, AUsersTemplateGetsTheHeadingFieldsItNames)
{
    // A label without a name stays as it is; a name on an empty cell gets the value
    // alone; a label ending in ":" keeps it.
    xls::Workbook mine = xls::Workbook::create({"记录"});
    mine.sheet(0).setText(2, 1, "线路名称：");
    mine.sheet(0).defineName("观测顺序", {3, 2, 3, 2});
    mine.sheet(0).setText(4, 1, "Line: ");
    mine.sheet(0).defineName("线路名称", {4, 1, 4, 1});
    saveWorkbook(mine, temp.templateFile("exc.xls"));
    save(WorkbookKind::BffbBook, recordsAnd(goldenBffbLine()));
    xls::Workbook book = openWorkbook(scratch / "book.xls");
    EXPECT_EQ(book.sheet(0).value(2, 1), xls::Value(std::string("线路名称：")));
    EXPECT_EQ(book.sheet(0).value(3, 2), xls::Value(std::string("aBFFB")));
    EXPECT_EQ(book.sheet(0).value(4, 1), xls::Value(std::string("Line:0214")));
}

TEST_F(SavedBook, TwoWayBookLeavesTheReversedWorkFile)
{
    save(WorkbookKind::AbffbTwoWayBook, {"A1", "", "A2", "A3"});
    EXPECT_EQ(readBytes(temp.reversedWorkFile()), "A3\r\nA2\r\nA1\r\n");
}

TEST_F(SavedBook, AnIncompleteStationWritesNoWorkbook)
{
    auto lines = goldenBffbLine();
    lines.resize(lines.size() - 5);  // the text now ends after the last station's second line
    const auto file = scratch / "faulty.xls";
    EXPECT_THROW(books::exportWorkbook(WorkbookKind::BffbBook, temp, workText(lines), file), InputError);
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace levara::testing
