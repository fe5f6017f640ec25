// Field books saved with a standard: the values over their limits read back red with
// their values unchanged, in the engine and in xlrd; within the limits, the book is the
// unmarked one but for the standard its heading names.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "commands/commands.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/raw_lines.h"
#include "tests/support/readers.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using books::WorkbookKind;

// Station 1 is within every 二等 limit (d 0.6 m, heights differ by 0.02 mm). Station 2's
// first back sight is 52 m long (50 m allowed), both back readings 2.90000 and 2.90070
// stand above 2.80 m, and its height differences 1.80000 and 1.80068 differ by 0.68 mm
// (0.6 allowed); its d is (52 + 50) / 2 − 50 = 1.0 m, within 1.5.
std::string surveyedText(const std::string& method, bool foreFirst)
{
    std::vector<std::string> second = {readingLine("TP1", "Rb", "2.90000", "52.00"),
                                       readingLine("BM2", "Rf", "1.10000", "50.00"),
                                       readingLine("BM2", "Rf", "1.10002", "50.00"),
                                       readingLine("TP1", "Rb", "2.90070", "50.00")};
    if (foreFirst)  // F1 B1 B2 F2
        second = {second[1], second[0], second[3], second[2]};
    return lines({startLine(method), readingLine("BM1", "Rb", "1.52345", "30.10"),
                  readingLine("TP1", "Rf", "1.41234", "29.50"), readingLine("TP1", "Rf", "1.41236", "29.52"),
                  readingLine("BM1", "Rb", "1.52349", "30.12"), second[0], second[1], second[2], second[3], endLine()});
}

class MarkedBookTest : public ::testing::Test {
protected:
    MarkedBookTest() : program(makeProgramDir(scratch)), commands(ui, program) {}

    std::filesystem::path save(WorkbookKind output, const std::string& text, const std::string& name, int standard)
    {
        ui.shownText = text;
        commands.setStandard(standard
                                 ? std::optional(leveling::chooseStandard(leveling::builtinLimits(standard), false))
                                 : std::nullopt);
        const std::filesystem::path file = scratch / name;
        ui.saveAnswers.push_back({file, kExcelFilter});
        commands.saveWorkbook(output);
        return file;
    }

    ScratchDir scratch;
    std::filesystem::path program;
    ScriptedUi ui;
    Commands commands;
};

// The marked sheet's text less its marks: the red suffixes, the remarks named and
// their merged areas.
std::vector<std::string> unmarkedText(std::vector<std::string> lines, const std::string& remark)
{
    std::erase_if(lines, [](const std::string& line) { return line.starts_with("merge J") && line.ends_with(":J11"); });
    for (std::string& line : lines) {
        for (std::size_t at; (at = line.find("{red}")) != std::string::npos;)
            line.erase(at, 5);
        if (const std::size_t at = line.find("  J=\"" + remark + "\""); at != std::string::npos)
            line.erase(at, remark.size() + 6);
    }
    return lines;
}

TEST_F(MarkedBookTest, ValuesOverTheirLimitsReadBackRedAndUnchangedInTheEngineAndXlrd)
{
    const std::string remark = "视距超限、视线高超限、高差之差超限";
    struct Case {
        WorkbookKind output;
        const char* method;
        bool foreFirst;
        int remarkRow;  // the aBFFB book keeps its order mark on the back row
    };
    for (const Case& c :
         {Case{WorkbookKind::BffbBook, "BFFB", false, 9}, Case{WorkbookKind::AbffbBook, "aBFFB", true, 10}}) {
        const std::string text = surveyedText(c.method, c.foreFirst);
        const auto marked = save(c.output, text, std::string(c.method) + "-marked.xls", 2);
        const auto plain = save(c.output, text, std::string(c.method) + "-plain.xls", 0);

        xls::Workbook book = openWorkbook(marked);
        const xls::Worksheet& sheet = book.sheet(0);
        // B1's distance, B1's and B2's readings, the heights' difference of station 2.
        const std::set<std::pair<int, int>> red = {{9, 3}, {9, 5}, {9, 6}, {11, 7}};
        for (int row = 6; row <= 16; ++row)
            for (int column = 1; column <= 10; ++column)
                EXPECT_EQ(sheet.fontColour(row, column) == xls::kRedFontColour, red.contains({row, column}))
                    << c.method << " row " << row << " column " << column;
        EXPECT_EQ(sheet.value(9, 3), xls::Value(52.0));
        EXPECT_EQ(sheet.value(9, 5), xls::Value(2.9));
        EXPECT_EQ(sheet.value(9, 6), xls::Value(2.9007));
        EXPECT_EQ(sheet.value(11, 7), xls::Value(-0.68));
        EXPECT_EQ(sheet.value(c.remarkRow, 10), xls::Value(remark));
        EXPECT_EQ(sheet.mergeAt(c.remarkRow, 10), (xls::Range{c.remarkRow, 10, 11, 10}));
        EXPECT_EQ(sheet.numberFormat(9, 3), "0.000");
        EXPECT_EQ(sheet.borders(11, 7), (xls::Borders{1, 1, 1, 1}));

        const std::vector<std::string> engineText = sheetText(sheet, 6);
        EXPECT_EQ(xlrdSheetText(marked, 0, 6), engineText) << c.method;
        EXPECT_EQ(unmarkedText(engineText, remark), sheetText(openWorkbook(plain).sheet(0), 6)) << c.method;
    }
}

TEST_F(MarkedBookTest, ABfBookMarksItsReadingsAndRemarksInColumnH)
{
    const std::string text = lines({startLine("BF"), readingLine("BM1", "Rb", "1.50000", "50.10"),
                                    readingLine("TP1", "Rf", "0.50000", "48.00"), endLine()});
    const auto marked = save(WorkbookKind::BfBook, text, "bf.xls", 2);
    xls::Workbook book = openWorkbook(marked);
    const xls::Worksheet& sheet = book.sheet(0);
    // 50.1 m > 50, 0.5 m < 0.55, d 2.1 m > 1.5; Σd 2.1 m within 6.
    EXPECT_EQ(sheet.fontColour(6, 3), xls::kRedFontColour);
    EXPECT_EQ(sheet.fontColour(7, 4), xls::kRedFontColour);
    EXPECT_EQ(sheet.fontColour(8, 3), xls::kRedFontColour);
    EXPECT_EQ(sheet.fontColour(8, 4), xls::kAutomaticFontColour);
    EXPECT_EQ(sheet.value(6, 8), xls::Value("视距超限、视线高超限、视距差超限"));
    EXPECT_EQ(xlrdSheetText(marked, 0, 6), sheetText(sheet, 6));
}

// The level's height after the station says 1.00009 m where the readings give 1 m.
TEST_F(MarkedBookTest, AStationTheInstrumentContradictsIsMarked)
{
    const std::string text =
        lines({startLine("BF"), heightLine("BM1", "10.00000"), readingLine("BM1", "Rb", "1.50000", "30.00"),
               readingLine("TP1", "Rf", "0.60000", "30.00"), heightLine("TP1", "10.90009"), endLine()});
    xls::Workbook book = openWorkbook(save(WorkbookKind::BfBook, text, "instrument.xls", 2));
    const xls::Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(sheet.fontColour(6, 5), xls::kRedFontColour);
    EXPECT_EQ(sheet.value(6, 8), xls::Value("与仪器计算不符"));
}

// A BFFB station from back to fore with these readings, 30 m sights, d 0; the second
// readings 0.02 mm above the first, so h1 = h2.
std::vector<std::string> evenStation(const char* back, const char* fore, const char* backReading,
                                     const char* foreReading)
{
    const auto plus = [](const char* reading) { return fiveDecimalText(std::stod(reading) + 0.00002); };
    return {readingLine(back, "Rb", backReading, "30.00"), readingLine(fore, "Rf", foreReading, "30.00"),
            readingLine(fore, "Rf", plus(foreReading), "30.00"), readingLine(back, "Rb", plus(backReading), "30.00")};
}

// BM1 → BM2 in two stations, Σh 0.60000 over 120 m; back in three, Σh −0.60100 over 180 m.
std::string forwardAndReturn()
{
    std::vector<std::string> text = {startLine("BFFB"), heightLine("BM1", "100.00000")};
    append(text, evenStation("BM1", "TP1", "1.50000", "1.20000"));
    append(text, evenStation("TP1", "BM2", "1.40000", "1.10000"));
    append(text, {endLine(), startLine("BFFB"), heightLine("BM2", "100.60000")});
    append(text, evenStation("BM2", "TP2", "1.10000", "1.40100"));
    append(text, evenStation("TP2", "TP3", "1.30000", "1.30000"));
    append(text, evenStation("TP3", "BM1", "1.20000", "1.50000"));
    text.push_back(endLine());
    std::string joined;
    for (const std::string& line : text)
        joined += line + "\r\n";
    return joined;
}

TEST_F(MarkedBookTest, AForwardAndAReturnRunGiveTwoSectionsWithTheirSummariesAndThePairsDiscrepancy)
{
    for (const WorkbookKind output : {WorkbookKind::BffbBook, WorkbookKind::AbffbBook}) {
        const auto file = save(output, forwardAndReturn(), std::to_string(int(output)) + "-pair.xls", 2);
        xls::Workbook book = openWorkbook(file);
        const xls::Worksheet& sheet = book.sheet(0);
        // Blocks on rows 6-11, the forward line's summary 12-16 and its check rows
        // 17-21; blocks 22-30, the return line's summary 31-37 with its pair and its odd
        // count, its check rows 38-42; the whole 43-51 and the sign-off row 52.
        EXPECT_EQ(sheet.value(12, 1), xls::Value("测段计算"));
        EXPECT_EQ(sheet.value(12, 3), xls::Value("BM1"));
        EXPECT_EQ(sheet.value(13, 3), xls::Value("BM2"));
        EXPECT_EQ(sheet.value(12, 6), xls::Value(2.0));
        EXPECT_EQ(sheet.value(12, 7), xls::Value("站，偶数"));
        EXPECT_EQ(sheet.value(14, 6), xls::Value(0.6));
        EXPECT_EQ(sheet.value(15, 6), xls::Value(0.12));
        EXPECT_EQ(sheet.value(16, 3), xls::Value(100.0));
        EXPECT_EQ(sheet.value(16, 6), xls::Value(100.6));
        EXPECT_EQ(sheet.value(22, 1), xls::Value(1.0));  // the return line numbers its own stations
        EXPECT_EQ(sheet.value(31, 1), xls::Value("测段计算"));
        EXPECT_EQ(sheet.value(31, 6), xls::Value(3.0));
        EXPECT_EQ(sheet.value(31, 7), xls::Value("站，奇数"));
        EXPECT_EQ(sheet.value(32, 3), xls::Value("BM1"));
        EXPECT_EQ(sheet.value(33, 6), xls::Value(-0.601));
        EXPECT_EQ(sheet.value(35, 6), xls::Value(99.999));
        // −1.00 mm against 4√K mm, K the mean 0.15 km (二等).
        EXPECT_EQ(sheet.value(36, 2), xls::Value("往返较差"));
        EXPECT_EQ(sheet.value(36, 3), xls::Value(-1.0));
        EXPECT_NEAR(numberIn(sheet, 36, 6), 4 * std::sqrt(0.15), 1e-9);
        EXPECT_EQ(sheet.numberFormat(36, 6), "\"±\"0.00");
        EXPECT_EQ(sheet.value(37, 2), xls::Value("检核"));
        EXPECT_EQ(sheet.value(37, 3), xls::Value("测站数为奇数"));
        EXPECT_EQ(sheet.value(43, 1), xls::Value("合计"));
        EXPECT_EQ(sheet.value(43, 3), xls::Value("BM1"));
        EXPECT_EQ(sheet.value(44, 3), xls::Value("BM1"));
        EXPECT_EQ(sheet.value(45, 6), xls::Value(-0.001));
        for (const int row : {17, 38, 47})
            EXPECT_EQ(sheet.value(row, 1), xls::Value("检查计算")) << row;
        EXPECT_EQ(sheet.value(52, 1), xls::Value("测量责任人："));
        EXPECT_EQ(xlrdSheetText(file, 0, 6), sheetText(sheet, 6));
    }
}

TEST_F(MarkedBookTest, WithinTheLimitsOrForATableTheWorkbookIsTheUnmarkedOneButForTheStandardItNames)
{
    // Station 1 is within every 二等 limit, twice over for an even count; the table is never marked.
    const std::string within = lines(
        {startLine("BFFB"), readingLine("BM1", "Rb", "1.52345", "30.10"), readingLine("TP1", "Rf", "1.41234", "29.50"),
         readingLine("TP1", "Rf", "1.41236", "29.52"), readingLine("BM1", "Rb", "1.52349", "30.12"),
         readingLine("BM1", "Rb", "1.52345", "30.10"), readingLine("TP1", "Rf", "1.41234", "29.50"),
         readingLine("TP1", "Rf", "1.41236", "29.52"), readingLine("BM1", "Rb", "1.52349", "30.12"), endLine()});
    // Its first two readings as BF stations, twice for an even count, for the book of that order.
    const std::string withinBf = lines(
        {startLine("BF"), readingLine("BM1", "Rb", "1.52345", "30.10"), readingLine("TP1", "Rf", "1.41234", "29.50"),
         readingLine("BM1", "Rb", "1.52345", "30.10"), readingLine("TP1", "Rf", "1.41234", "29.50"), endLine()});
    const struct {
        WorkbookKind output;
        const std::string& text;
        int row, column;  // the heading's 检核标准
    } cases[] = {{WorkbookKind::BffbBook, within, 3, 9},
                 {WorkbookKind::AbffbTwoWayBook, within, 3, 9},
                 {WorkbookKind::BfBook, withinBf, 3, 7},
                 {WorkbookKind::IntermediateTable, within, 0, 0}};
    for (const auto& c : cases) {
        const std::string name = std::to_string(int(c.output));
        const std::filesystem::path marked = save(c.output, c.text, name + "-marked.xls", 2);
        const std::filesystem::path plain = save(c.output, c.text, name + "-plain.xls", 0);
        if (c.row == 0) {
            EXPECT_EQ(readBytes(marked), readBytes(plain)) << name;
            continue;
        }
        xls::Workbook markedBook = openWorkbook(marked), plainBook = openWorkbook(plain);
        for (std::size_t sheet = 0; sheet < markedBook.sheetCount(); ++sheet) {
            EXPECT_EQ(markedBook.sheet(sheet).value(c.row, c.column), xls::Value("检核标准：二等")) << name;
            EXPECT_EQ(plainBook.sheet(sheet).value(c.row, c.column), xls::Value("检核标准：未检核")) << name;
            EXPECT_EQ(sheetText(markedBook.sheet(sheet), 4), sheetText(plainBook.sheet(sheet), 4)) << name;
        }
    }
}

}  // namespace
}  // namespace levara::testing
