// The export frame around every workbook output: what reaches the user's file, what
// the working workbook holds, and what survives from the template.
#include <gtest/gtest.h>

#include <cctype>

#include "leveling/leveling.h"

#include "books/pipeline/export.h"
#include "commands/commands.h"
#include "records/records.h"
#include "tests/support/raw_lines.h"
#include "tests/support/readers.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using books::WorkbookKind;

std::string readingLine(const std::string& point, const std::string& tag, const std::string& reading,
                        const std::string& distance)
{
    return rawLine(point, tag, reading, distance, "") + "\r\n";
}

const std::string kTwoStations =
    readingLine("BM1", "Rb", "1.52345", "30.10") + readingLine("TP1", "Rf", "1.41234", "29.50") +
    readingLine("TP1", "Rf", "1.41236", "29.52") + readingLine("BM1", "Rb", "1.52349", "30.12") +
    readingLine("TP1", "Rb", "1.20000", "20.00") + readingLine("BM2", "Rf", "1.10000", "21.00") +
    readingLine("BM2", "Rf", "1.10002", "21.00") + readingLine("TP1", "Rb", "1.20002", "20.00");

std::vector<std::string> engineSheetText(const std::filesystem::path& file, std::size_t sheet, int firstRow)
{
    xls::Workbook book = openWorkbook(file);
    return sheetText(book.sheet(sheet), firstRow);
}

class ExportTest : public ::testing::Test {
protected:
    ExportTest() : program(makeProgramDir(scratch)), commands(ui, program) {}

    void save(WorkbookKind output, const std::filesystem::path& file, int filterIndex = kExcelFilter)
    {
        ui.saveAnswers.push_back({file, filterIndex});
        commands.saveWorkbook(output);
        EXPECT_EQ(ui.busyDepth, 0);
    }

    ScratchDir scratch;
    std::filesystem::path program;
    ScriptedUi ui;
    Commands commands;
};

TEST_F(ExportTest, TheSavedBookReadsAlikeInTheEngineXlrdAndLibreOffice)
{
    ui.shownText = kTwoStations;
    const std::filesystem::path out = scratch / "book.xls";
    save(WorkbookKind::BffbBook, out);

    const std::vector<std::string> engine = engineSheetText(out, 0, 1);
    EXPECT_EQ(engine, xlrdSheetText(out, 0, 1)) << lineDiff(engine, xlrdSheetText(out, 0, 1));
    // The template's heading rows and merges are still there, untouched but for the
    // fields of rows 2 and 3 the book fills.
    for (const std::string& line : engineSheetText(program / "temp/exc.xls", 0, 1)) {
        if (!line.starts_with("2  ") && !line.starts_with("3  ")) {
            EXPECT_NE(std::find(engine.begin(), engine.end(), line), engine.end()) << "lost: " << line;
        }
    }

    const auto csv = libreOfficeCsv({out});
    ASSERT_EQ(csv.size(), 1u);
    ASSERT_GE(csv[0].size(), 1u);
    const CsvSheet& rows = csv[0][0];
    auto rowStarting = [&](const std::string& start) {
        auto found = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.rfind(start, 0) == 0; });
        return found == rows.end() ? std::string() : *found;
    };
    EXPECT_EQ(rowStarting("1,BM1,"), "1,BM1,30.100,30.120,1.52345,1.52349,-0.04,,,");
    EXPECT_EQ(rowStarting("测段计算,"), "测段计算,测段起点,BM1,,,,,,,");
    EXPECT_EQ(rowStarting("测量责任人："), "测量责任人：,,,,检查者：,,,日期：,,");
}

TEST_F(ExportTest, ExportingTwiceGivesTheSameBytesAndLeavesTheWorkFiles)
{
    ui.shownText = kTwoStations;
    save(WorkbookKind::BffbBook, scratch / "one.xls");
    save(WorkbookKind::BffbBook, scratch / "two.xls");
    EXPECT_EQ(readBytes(scratch / "one.xls"), readBytes(scratch / "two.xls"));
    EXPECT_EQ(readBytes(program / "temp/excel.xls"), readBytes(scratch / "two.xls"));
    EXPECT_EQ(readBytes(program / "temp/ooo.txt"), kTwoStations + "\r\n");
}

TEST_F(ExportTest, CancelDeclineAndOtherTypesWriteNoWorkbook)
{
    // The first station's back and fore readings: a BF station.
    ui.shownText = readingLine("BM1", "Rb", "1.52345", "30.10") + readingLine("TP1", "Rf", "1.41234", "29.50");
    const std::filesystem::path out = scratch / "book.xls";
    save(WorkbookKind::BfBook, {});
    EXPECT_EQ(readBytes(program / "temp/excel.xls"), readBytes(program / "temp/exc2.xls"));
    ui.shownText = kTwoStations;

    writeBytes(out, "mine");
    ui.overwriteAnswers = {false};
    save(WorkbookKind::BffbBook, out);
    EXPECT_EQ(readBytes(out), "mine");

    save(WorkbookKind::IntermediateTable, scratch / "table.csv", 2);
    EXPECT_FALSE(std::filesystem::exists(scratch / "table.csv"));
    ASSERT_EQ(ui.notices.size(), 1u);
    EXPECT_EQ(ui.notices[0], notExcelNotice().english());
}

TEST_F(ExportTest, AFailingExportLeavesTheUsersFileAsItWas)
{
    const std::filesystem::path out = scratch / "book.xls";
    writeBytes(out, "mine");
    // The text ends inside a station.
    ui.shownText = readingLine("BM1", "Rb", "1.52345", "30.10");
    ui.overwriteAnswers = {true};
    EXPECT_THROW(save(WorkbookKind::BffbBook, out), InputError);
    EXPECT_EQ(readBytes(out), "mine");
    EXPECT_EQ(ui.busyDepth, 0);
    // The working workbook is a fresh template copy, even when another Levara used it
    // while the save dialog was open.
    writeBytes(program / "temp/excel.xls", "used by another Levara");
    EXPECT_THROW(books::exportWorkbook(WorkbookKind::BffbBook, WorkFolderPaths(program), ui.shownText, out),
                 InputError);
    EXPECT_EQ(readBytes(program / "temp/excel.xls"), readBytes(program / "temp/exc.xls"));

    // A missing template is named.
    std::filesystem::remove(program / "temp/exc2.xls");
    ui.shownText = kTwoStations;
    try {
        save(WorkbookKind::BfBook, scratch / "bf.xls");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("exc2.xls"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "bf.xls"));
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(ExportTest, BadTemplatesAreReportedByName)
{
    ui.shownText = kTwoStations;
    // Not a workbook at all.
    writeBytes(program / "temp/exc.xls", "this is not a workbook");
    ui.saveAnswers.push_back({scratch / "a.xls", kExcelFilter});
    try {
        commands.saveWorkbook(WorkbookKind::BffbBook);
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), program / "temp/exc.xls") << error.what();
        EXPECT_EQ(error.what(),
                  (program / "temp/exc.xls").string() + ": the template is not an Excel 97-2003 workbook");
    }
    // A two-way book from a template with one worksheet.
    std::filesystem::copy_file(program / "temp/exc2.xls", program / "temp/exc3.xls",
                               std::filesystem::copy_options::overwrite_existing);
    ui.saveAnswers.push_back({scratch / "b.xls", kExcelFilter});
    try {
        commands.saveWorkbook(WorkbookKind::AbffbTwoWayBook);
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.what(), (program / "temp/exc3.xls").string() + ": the template needs 2 worksheets");
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "a.xls"));
    EXPECT_FALSE(std::filesystem::exists(scratch / "b.xls"));
}

TEST_F(ExportTest, ALimitOfTheFormatIsReportedForTheUsersFile)
{
    // One row per reading: more readings than a worksheet has rows.
    std::string text;
    for (int k = 0; k < 65535; ++k)
        text += "x|y|KD1       12|R 1.5|HD 25.3|\r\n";
    ui.shownText = text;
    const std::filesystem::path out = scratch / "points.xls";
    try {
        save(WorkbookKind::SinglePointTable, out);
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), out) << error.what();
        EXPECT_NE(std::string(error.what()).find("row 65537"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The values of the data rows (from row 6) and the merges of a sheet text: the
// formats a cleared row keeps are left out, and the heading is compared on its own.
std::vector<std::string> valuesAndMerges(const std::vector<std::string>& text)
{
    std::vector<std::string> result;
    for (std::string line : text) {
        line = line.substr(0, line.find("  | borders"));
        const bool headingRow =
            !line.empty() && std::isdigit(static_cast<unsigned char>(line[0])) && std::stoi(line) < 6;
        if (line.find(' ') != std::string::npos && !headingRow)
            result.push_back(line);
    }
    return result;
}

TEST_F(ExportTest, OldRowsOfAUsersTemplateAreClearedWholeAndItsHeadingKept)
{
    ui.shownText = kTwoStations;
    const std::filesystem::path clean = scratch / "clean.xls";
    save(WorkbookKind::BffbBook, clean);

    // A book of 14 stations, saved again by LibreOffice and used as the template.
    const std::filesystem::path fixture = appSavedDir() / "bffb_book_lo.xls";
    std::filesystem::copy_file(fixture, program / "temp/exc.xls", std::filesystem::copy_options::overwrite_existing);
    const std::filesystem::path out = scratch / "book.xls";
    save(WorkbookKind::BffbBook, out);

    const std::vector<std::string> before = xlrdSheetText(fixture, 0, 1, 12);
    const std::vector<std::string> after = xlrdSheetText(out, 0, 1, 12);
    // Rows 2 and 3 hold the heading fields the book fills from its own text.
    for (const int row : {0, 3, 4})
        EXPECT_EQ(after.at(row), before.at(row));
    const std::vector<std::string> expected = valuesAndMerges(xlrdSheetText(clean, 0, 1, 12));
    const std::vector<std::string> found = valuesAndMerges(after);
    ASSERT_GT(valuesAndMerges(before).size(), expected.size()) << "the template holds no old rows";
    EXPECT_TRUE(found == expected) << lineDiff(expected, found);
}

// The heading as a checker reads it: from the file as opened, and the same once
// the text is filtered and its records are gone.
TEST_F(ExportTest, TheHeadingIsFilledFromTheFileAsOpenedBeforeAndAfterReducing)
{
    const struct {
        std::filesystem::path file;
        WorkbookKind output;
        std::vector<std::string> cells;  // row 2 and row 3 of the heading, as the engine reads them
    } cases[] = {
        {sourceDir() / "examples/bffb_line.dat",
         WorkbookKind::BffbBook,
         {"2  A=\"工程名称：示例二等水准\"  D=\"线路名称：1\"  F=\"测自水准点甲至水准点乙\"  I=\"观测顺序：BFFB\"",
          "3  A=\"仪器型号：\"  D=\"日期：　　年　月　日\"  F=\"观测时间：08:06:22 — 09:22:17\"  I=\"检核标准：二等\""}},
        {sourceDir() / "tests/data/gsi/bf_line.gsi",
         WorkbookKind::BfBook,
         {"2  A=\"工程名称：\"  D=\"线路名称：1\"  F=\"测自BM1至BM2\"",
          "3  A=\"仪器：\"  C=\"日期：　　年　月　日\"  E=\"时间：\"  G=\"检核标准：二等\""}},
    };
    commands.setStandard(leveling::chooseStandard(leveling::builtinLimits(2), false));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.string());
        commands.open(c.file);
        for (const bool filtered : {false, true}) {
            if (filtered)
                commands.filterToLevelingLine();
            const std::filesystem::path out =
                scratch / (c.file.stem().string() + (filtered ? "-reduced.xls" : "-opened.xls"));
            save(c.output, out);
            std::vector<std::string> heading = engineSheetText(out, 0, 2);
            heading.resize(2);
            EXPECT_EQ(heading, c.cells) << (filtered ? "reduced" : "as opened");
        }
    }
}

// A book reads its stations in its own order: one the recorded staffs contradict would
// take back readings for fore readings (a BFFB line as BBFF: 高差之差 1235 mm). It is
// refused before the save dialog, naming the station, its line and both orders, with
// the books that fit; a line that names no method is held to its tags alike.
TEST_F(ExportTest, ABookTheRecordedStaffsContradictIsRefusedWithTheBooksThatFit)
{
    const std::string bbffStations =
        readingLine("BM1", "Rb", "1.52345", "30.10") + readingLine("BM1", "Rb", "1.52349", "30.12") +
        readingLine("BM2", "Rf", "1.41234", "29.50") + readingLine("BM2", "Rf", "1.41236", "29.52");
    const std::string noMethod = startLine("") + "\r\n";
    const struct {
        std::string text;
        WorkbookKind output;
        int station, line;  // the first that does not fit
        std::string recorded, read;
        std::vector<WorkbookKind> fitting;  // none: the book fits
    } cases[] = {
        {kTwoStations, WorkbookKind::BbffBook, 1, 1, "BFFB", "BBFF", {WorkbookKind::BffbBook, WorkbookKind::AbffbBook}},
        {startLine("BFFB") + "\r\n" + kTwoStations,
         WorkbookKind::BbffBook,
         1,
         2,
         "BFFB",
         "BBFF",
         {WorkbookKind::BffbBook, WorkbookKind::AbffbBook}},
        {kTwoStations, WorkbookKind::BfBook, 2, 3, "FB", "BF", {WorkbookKind::BffbBook, WorkbookKind::AbffbBook}},
        {noMethod + bbffStations, WorkbookKind::BffbBook, 1, 2, "BBFF", "BFFB", {WorkbookKind::BbffBook}},
        {noMethod + bbffStations, WorkbookKind::AbffbTwoWayBook, 1, 2, "BBFF", "BFFB", {WorkbookKind::BbffBook}},
        {noMethod + bbffStations, WorkbookKind::BbffBook, 0, 0, "", "", {}},
        {noMethod + kTwoStations, WorkbookKind::AbffbBook, 0, 0, "", "", {}},
    };
    for (const auto& c : cases) {
        const std::string kind(books::workbookKind(c.output).cliName);
        SCOPED_TRACE(kind + " of " + c.text.substr(0, 60));
        ui.shownText = c.text;
        const std::filesystem::path out = scratch / (kind + ".xls");
        std::filesystem::remove(out);
        if (c.fitting.empty()) {
            save(c.output, out);
            EXPECT_TRUE(std::filesystem::exists(out));
            continue;
        }
        ui.saveAnswers.clear();
        try {
            commands.saveWorkbook(c.output);
            ADD_FAILURE() << "not refused";
        } catch (const leveling::OrderContradicted& fault) {
            EXPECT_EQ(fault.line(), LineNumber(c.line));
            EXPECT_EQ(fault.what(),
                      "line " + std::to_string(c.line) + ": the book " + books::workbookKind(c.output).caption +
                          " does not fit the observations: station " + std::to_string(c.station) +
                          ", starting on line " + std::to_string(c.line) + ": its staffs were recorded in the order " +
                          c.recorded + ", which the book, reading " + c.read +
                          ", contradicts; save the book of the order recorded");
            ASSERT_TRUE(fault.fitting());
            EXPECT_EQ(books::fieldBooksOf(*fault.fitting()), c.fitting);
        }
        EXPECT_FALSE(std::filesystem::exists(out));
        // The export itself refuses it too.
        EXPECT_THROW(books::exportWorkbook(c.output, WorkFolderPaths(program), c.text, out),
                     leveling::OrderContradicted);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

}  // namespace
}  // namespace levara::testing
