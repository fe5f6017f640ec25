// The real window, driven offscreen: menu actions triggered, text read back, files
// checked on disk.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <numeric>
#include <tuple>

#include "fake_dialogs.h"
#include "qt_application.h"
#include "tests/leveling/routes.h"
#include "tests/support/raw_lines.h"
#include "tests/support/readers.h"
#include "tests/support/test_files.h"
#include "window/check_panel.h"
#include "window/main_window.h"
#include "window/settings.h"

namespace levara::testing {
namespace {

class WindowTest : public ::testing::Test {
protected:
    WindowTest() : program(makeProgramDir(scratch)), form((application(), dialogs), program) {}

    void trigger(const char* name)
    {
        QAction* action = form.findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    std::string shown() const { return form.textArea()->text().toStdString(); }
    bool pointerRestored() const { return QApplication::overrideCursor() == nullptr; }

    ScratchDir scratch;
    std::filesystem::path program;
    FakeDialogs dialogs;
    MainWindow form;
};

TEST_F(WindowTest, MenusCarryTheCommandNamesAndCaptionsInOrder)
{
    EXPECT_EQ(form.windowTitle(), "Levara");
    EXPECT_EQ(form.objectName(), "Form1");
    std::vector<std::pair<std::string, std::string>> top;
    for (QAction* action : form.menuBar()->actions())
        top.emplace_back(action->objectName().toStdString(), action->text().toStdString());
    EXPECT_EQ(top, (std::vector<std::pair<std::string, std::string>>{{"open", "打开(&O)"},
                                                                     {"recent", "最近打开(&R)"},
                                                                     {"zhengli", "整理(&Z)"},
                                                                     {"save", "保存(&S)"},
                                                                     {"check", "检核(&J)"},
                                                                     {"edit", "编辑(&E)"},
                                                                     {"help", "帮助(&H)"}}));
    // Nothing opened yet: nothing recent.
    EXPECT_FALSE(form.findChild<QMenu*>("recent")->menuAction()->isEnabled());

    auto items = [&](const char* menu) {
        std::vector<std::pair<std::string, std::string>> result;
        for (QAction* action : form.findChild<QMenu*>(menu)->actions()) {
            if (action->isSeparator())
                continue;
            // The adjustment's choices show which is in force.
            const bool choice = action->objectName() == "knownPoints" || action->objectName().startsWith("by");
            EXPECT_TRUE(action->isEnabled() && action->isVisible() && action->isCheckable() == choice);
            EXPECT_TRUE(action->shortcut().isEmpty());
            result.emplace_back(action->objectName().toStdString(), action->text().toStdString());
        }
        return result;
    };
    EXPECT_EQ(items("zhengli"),
              (std::vector<std::pair<std::string, std::string>>{
                  {"BFFB", "水准线路"}, {"rrz", "测中间点"}, {"dandian", "单点测量"}, {"restore", "恢复原文"}}));
    EXPECT_EQ(items("save"), (std::vector<std::pair<std::string, std::string>>{{"bffbEXLE", "线路手薄(BFFB)"},
                                                                               {"bbffEXLE", "线路手薄(BBFF)"},
                                                                               {"bfbfEXLE", "线路手薄(BFBF)"},
                                                                               {"aBFFBwf", "线路手薄(aBFFB 双转往返)"},
                                                                               {"aBFFBL", "线路手薄(aBFFB 单一线路)"},
                                                                               {"bfEXLE", "线路手薄(BF)"},
                                                                               {"rrzEXLX", "中间点测量表格"},
                                                                               {"dandianEXCEL", "单点测量表格"},
                                                                               {"TXT", "原始文本"},
                                                                               {"adjustmentTable", "高差配赋表"},
                                                                               {"networkTable", "平差成果表"},
                                                                               {"sectionsCsv", "测段数据(CSV)"},
                                                                               {"gamaXml", "GNU Gama (XML)"},
                                                                               {"starnet", "STAR*NET"},
                                                                               {"knownPoints", "已知点文件…"},
                                                                               {"noKnownPoints", "不用已知点文件"},
                                                                               {"byDistance", "按测段长度配赋"},
                                                                               {"byStations", "按测站数配赋"}}));
}

// The example's one section, 水准点甲 to 水准点乙: −1.35310 m over 1.383134 km.
TEST_F(WindowTest, AdjustmentItemsSaveTheTableAndTheFilesAndRememberTheirChoices)
{
    dialogs.openAnswers = {sourceDir() / "examples/bffb_line.dat"};
    trigger("open");
    trigger("BFFB");
    const auto checked = [&](const char* name) { return form.findChild<QAction*>(name)->isChecked(); };
    EXPECT_FALSE(checked("knownPoints"));
    EXPECT_TRUE(checked("byDistance"));

    // Against 41.88: f_h = −14.40 mm, over 二等's 4.70 mm.
    writeBytes(scratch / "known.txt", "水准点甲 43.2187\n水准点乙 41.88\n");
    dialogs.knownPointsAnswers = {scratch / "known.txt"};
    trigger("knownPoints");
    trigger("byStations");
    trigger("standard2");
    EXPECT_TRUE(checked("knownPoints"));
    EXPECT_EQ(form.findChild<QAction*>("knownPoints")->text(), "已知点文件（known.txt）…");
    EXPECT_TRUE(checked("byStations"));
    {
        FakeDialogs otherDialogs;
        MainWindow other(otherDialogs, program);
        EXPECT_TRUE(other.findChild<QAction*>("knownPoints")->isChecked()) << "remembered";
        EXPECT_TRUE(other.findChild<QAction*>("byStations")->isChecked()) << "remembered";
    }

    dialogs.saveAnswers = {{scratch / "table.xls", kExcelFilter},
                           {scratch / "s.csv", kCsvFilter},
                           {scratch / "net.xml", kXmlFilter},
                           {scratch / "net.dat", kDatFilter}};
    for (const char* item : {"adjustmentTable", "sectionsCsv", "gamaXml", "starnet"})
        trigger(item);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_EQ(dialogs.savePresets, (std::vector<int>{kExcelFilter, kCsvFilter, kXmlFilter, kDatFilter}));
    // Each proposes the raw file's name with its kind, in the raw file's folder.
    const std::filesystem::path examples = sourceDir() / "examples";
    EXPECT_EQ(dialogs.saveProposals,
              (std::vector<std::filesystem::path>{examples / "bffb_line_adjustment", examples / "bffb_line_sectionsCsv",
                                                  examples / "bffb_line_gamaXml", examples / "bffb_line_starnet"}));
    EXPECT_EQ(dialogs.notices, (std::vector<std::string>{"The table is saved, marked \"超限\": the misclosure -14.40 "
                                                         "mm is over its limit ±4.70 mm"}));
    for (const char* file : {"table.xls", "s.csv", "net.xml", "net.dat"})
        EXPECT_TRUE(std::filesystem::exists(scratch / file)) << file;
    EXPECT_NE(readBytes(scratch / "net.xml").find("<point id=\"水准点乙\" z=\"41.88\" fix=\"z\"/>"), std::string::npos);

    // The same section as a network, weighted by its stations: the one redundant
    // section fails the global test, said in a notice; the table is saved.
    dialogs.saveAnswers = {{scratch / "network.xls", kExcelFilter}};
    trigger("networkTable");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    ASSERT_EQ(dialogs.notices.size(), 2u);
    EXPECT_EQ(dialogs.notices[1].rfind("The table is saved: the global test fails: χ² = 149.92", 0), 0u)
        << dialogs.notices[1];
    EXPECT_TRUE(std::filesystem::exists(scratch / "network.xls"));

    trigger("noKnownPoints");
    trigger("byDistance");
    trigger("noStandard");
    EXPECT_FALSE(checked("knownPoints"));
    EXPECT_TRUE(settings::knownPointsFile().isEmpty());
    EXPECT_EQ(settings::distribution(), "byDistance");
    EXPECT_TRUE(pointerRestored());
}

TEST_F(WindowTest, TextAreaFillsTheClientAreaAtAnySize)
{
    QsciScintilla* text = form.textArea();
    EXPECT_EQ(text->wrapMode(), QsciScintilla::WrapNone);
    EXPECT_EQ(form.statusBar()->objectName(), "sbar");
    EXPECT_EQ(form.statusBar()->findChildren<QLabel*>().size(), 2);
    for (QSize size : {QSize(900, 700), QSize(300, 200), QSize(20, 20)}) {
        form.resize(size);
        form.show();
        QApplication::processEvents();
        const QRect area = text->geometry();
        EXPECT_EQ(area.topLeft(), form.centralWidget()->geometry().topLeft());
        EXPECT_GE(area.width(), 0);
        EXPECT_GE(area.height(), 0);
        EXPECT_LE(area.bottom(), form.statusBar()->geometry().top());
        EXPECT_EQ(area.width(), form.width());
    }
}

TEST_F(WindowTest, StartsShowingWholeRawLinesInColumnsThatStayInLineAfterChineseNames)
{
    // A Chinese character is two bytes of a GB18030 file, and two letters wide on the screen.
    const QFont font = form.textArea()->font();
    EXPECT_EQ(QFontInfo(font).family(), "Noto Sans Mono CJK SC");
    const QFontMetrics metrics(font);
    EXPECT_EQ(metrics.horizontalAdvance("i"), metrics.horizontalAdvance("W"));
    EXPECT_EQ(metrics.horizontalAdvance("水准点"), 6 * metrics.horizontalAdvance("0"));

    // A point renamed in a Chinese editor, which keeps the columns of the bytes.
    const std::string raw = readBytes(sourceDir() / "tests/data/bffb_line.dat");
    std::string renamed = raw;
    const std::size_t point = renamed.find("      TP1      08:14:001");
    ASSERT_NE(point, std::string::npos);
    renamed.replace(point, 9, "   \xD7\xAA\xB5\xE3\xD2\xBB");  // "转点一"
    writeBytes(scratch / "renamed.dat", renamed);
    form.openFile(scratch / "renamed.dat");
    ASSERT_NE(form.text().find("   转点一      08:14:001"), std::string::npos);
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(form.screen()->availableGeometry().contains(form.frameGeometry())) << "larger than 1366x768";

    QsciScintilla* text = form.textArea();
    auto x = [&](long position) { return text->SendScintilla(QsciScintilla::SCI_POINTXFROMPOSITION, 0UL, position); };
    std::vector<long> firstBars;
    for (int line = 0; line < text->lines() - 1; ++line) {
        const auto index = static_cast<unsigned long>(line);
        const long start = text->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, index);
        EXPECT_LE(x(text->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, index)), text->viewport()->width())
            << "line " << line + 1 << " is cut";
        // Every "|" of every line, where the first line has it.
        const std::string lineText = text->text(line).toStdString();
        std::vector<long> bars;
        for (std::size_t bar = lineText.find('|'); bar != std::string::npos; bar = lineText.find('|', bar + 1))
            bars.push_back(x(start + long(bar)));
        if (line == 0)
            firstBars = bars;
        EXPECT_EQ(bars, firstBars) << "line " << line + 1 << ": " << lineText;
    }
}

TEST_F(WindowTest, OpenShowsNonEmptyLinesWhateverTheirLineEnds)
{
    const std::filesystem::path raw = scratch / "line.dat";
    // CR LF, a blank line, CR alone, LF alone, blanks-only line, last line without end.
    writeBytes(raw, "a1\r\n\r\na2\ra3\n   \r\n\xB0\xA1|z");
    dialogs.openAnswers = {raw};
    trigger("open");
    EXPECT_EQ(form.text(), "a1\r\na2\r\na3\r\n   \r\n啊|z\r\n");
    EXPECT_EQ(shown(), "a1\r\na2\r\na3\r\n   \r\n啊|z\r\n");
    EXPECT_TRUE(dialogs.errors.empty());

    // Cancel keeps the text; an empty file empties it.
    dialogs.openAnswers = {{}};
    trigger("open");
    EXPECT_EQ(form.text(), "a1\r\na2\r\na3\r\n   \r\n啊|z\r\n");
    writeBytes(scratch / "empty.dat", "");
    dialogs.openAnswers = {scratch / "empty.dat"};
    trigger("open");
    EXPECT_EQ(form.text(), "");
}

TEST_F(WindowTest, OpenFailureNamesTheFileAndKeepsTheText)
{
    form.setText("kept\r\n");
    dialogs.openAnswers = {scratch / "missing.dat"};
    trigger("open");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("missing.dat"), std::string::npos) << dialogs.errors[0];
    EXPECT_EQ(form.text(), "kept\r\n");
}

TEST_F(WindowTest, OpenConvertsAGsiFileAndSaysSoInTheFirstStatusPanel)
{
    QLabel* panel = form.statusBar()->findChild<QLabel*>("Panel1");
    const QString ownText = panel->text();
    const std::filesystem::path gsi = scratch / "line.txt";  // told by its content, not its name
    writeBytes(gsi, "410001+?......1 \r\n110002+00000BM1 83..58+05000000 \r\n"
                    "110003+00000BM1 32...8+01824936 331.08+00159977 \r\n"
                    "110004+00000TP1 32...8+01934475 332.08+00138073\r\n");
    dialogs.openAnswers = {gsi};
    trigger("open");
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(form.text(),
              "GSI-8 |Adr     1|TO  Start-Line         BF     1|                      |                      |"
              "                      | \r\n"
              "GSI-8 |Adr     2|KD1      BM1                  1|                      |                      |"
              "Z        50.00000 m   | \r\n"
              "GSI-8 |Adr     3|KD1      BM1                  1|Rb        1.59977 m   |HD       18.24936 m   |"
              "                      | \r\n"
              "GSI-8 |Adr     4|KD1      TP1                  1|Rf        1.38073 m   |HD       19.34475 m   |"
              "                      | \r\n"
              "GSI-8 |Adr      |TO  End-Line                  1|                      |                      |"
              "                      | \r\n");
    EXPECT_EQ(panel->text().toStdString(), "Converted from GSI-8: 2 readings");

    // A faulty GSI file shows nothing of itself: the text and the status stay.
    const std::string converted = form.text();
    writeBytes(gsi, "410001+?......1 \r\n110002+00000BM1 331.08+00159977 \r\n");
    dialogs.openAnswers = {gsi};
    trigger("open");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], gsi.string() + ": line 2: the reading \"331.08+00159977\" has no distance (word 32) "
                                                "in its block");
    EXPECT_EQ(form.text(), converted);
    EXPECT_EQ(panel->text().toStdString(), "Converted from GSI-8: 2 readings");

    writeBytes(gsi, "a raw line\r\n");
    dialogs.openAnswers = {gsi};
    trigger("open");
    EXPECT_EQ(form.text(), "a raw line\r\n");
    EXPECT_EQ(panel->text(), ownText);
}

TEST_F(WindowTest, SaveTextAddsOneLineEndAndAsksOnlyForExistingFiles)
{
    form.setText("第一|1\r\nb\r\n");
    const std::filesystem::path out = scratch / "out.dat";
    dialogs.saveAnswers = {{out, 3}};
    trigger("TXT");
    EXPECT_EQ(readBytes(out), "\xB5\xDA\xD2\xBB|1\r\nb\r\n\r\n");
    EXPECT_TRUE(dialogs.overwriteQuestions.empty());
    EXPECT_EQ(dialogs.savePresets, std::vector<int>{kDatFilter});
    EXPECT_EQ(readBytes(program / "temp/ooo.txt"), readBytes(out));

    // Existing name, answer No: nothing is written, not even the work file.
    std::filesystem::remove(program / "temp/ooo.txt");
    form.setText("other\r\n");
    dialogs.saveAnswers = {{out, 3}};
    dialogs.overwriteAnswers = {false};
    trigger("TXT");
    EXPECT_EQ(dialogs.overwriteQuestions, std::vector<std::filesystem::path>{out});
    EXPECT_EQ(readBytes(out), "\xB5\xDA\xD2\xBB|1\r\nb\r\n\r\n");
    EXPECT_FALSE(std::filesystem::exists(program / "temp/ooo.txt"));

    dialogs.saveAnswers = {{out, 3}};
    dialogs.overwriteAnswers = {true};
    trigger("TXT");
    EXPECT_EQ(readBytes(out), "other\r\n\r\n");

    form.setText("");
    dialogs.saveAnswers = {{scratch / "empty.dat", 1}};
    trigger("TXT");
    EXPECT_EQ(readBytes(scratch / "empty.dat"), "\r\n");
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WindowTest, EditsInTheTextAreaReachTheCommands)
{
    form.setText("a\r\n");
    QsciScintilla* text = form.textArea();
    text->append("typed");
    // A line typed by the user ends the way the commands' lines do.
    text->SendScintilla(QsciScintilla::SCI_DOCUMENTEND);
    text->SendScintilla(QsciScintilla::SCI_NEWLINE);
    text->insertAt("第二", 2, 0);
    dialogs.saveAnswers = {{scratch / "edited.txt", 3}};
    trigger("TXT");
    EXPECT_EQ(readBytes(scratch / "edited.txt"), "a\r\ntyped\r\n\xB5\xDA\xB6\xFE\r\n");
}

TEST_F(WindowTest, BusyPointerShowsWhileWritingAndIsRestoredOnEveryPath)
{
    form.setText("x\r\n");
    const std::filesystem::path out = scratch / "busy.dat";
    dialogs.saveAnswers = {{}};  // cancel
    trigger("TXT");
    EXPECT_TRUE(pointerRestored());
    writeBytes(out, "old");
    dialogs.saveAnswers = {{out, 3}};
    dialogs.overwriteAnswers = {false};  // decline
    trigger("TXT");
    EXPECT_TRUE(pointerRestored());
    dialogs.saveAnswers = {{out, 3}};
    dialogs.overwriteAnswers = {true};  // success
    trigger("TXT");
    EXPECT_TRUE(pointerRestored());
    EXPECT_EQ(dialogs.busyWhileAsked, (std::vector<bool>{true, true, true}));

    // The open command leaves the pointer alone.
    dialogs.openAnswers = {out};
    trigger("open");
    EXPECT_FALSE(dialogs.busyWhileAsked.back());
    EXPECT_TRUE(pointerRestored());
}

TEST_F(WindowTest, MissingTempFolderIsReportedAndTheDestinationIsUntouched)
{
    std::filesystem::remove_all(program / "temp");
    form.setText("x\r\n");
    const std::filesystem::path out = scratch / "keep.dat";
    writeBytes(out, "keep");
    dialogs.saveAnswers = {{out, 3}};
    dialogs.overwriteAnswers = {true};
    trigger("TXT");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("temp"), std::string::npos) << dialogs.errors[0];
    EXPECT_FALSE(dialogs.busyWhileAsked.back()) << "the error box must not show the hourglass";
    EXPECT_TRUE(pointerRestored());
    EXPECT_EQ(readBytes(out), "keep");

    trigger("BFFB");
    EXPECT_EQ(dialogs.errors.size(), 2u);
    EXPECT_EQ(form.text(), "x\r\n");
    EXPECT_TRUE(pointerRestored());
}

TEST_F(WindowTest, FiltersReplaceTheTextAndLeaveTheOriginalInTheWorkFile)
{
    const std::string text =
        "For M5|Adr     1|TO  Start-Line       BFFB     1|                      |                      |                      |\r\n"
        "For M5|Adr     2|KD1       P1      01:35:392   1|Rb        1.46981 m   |HD         45.290 m   |                      |\r\n"
        "header line\r\n";
    form.setText(text);
    trigger("BFFB");
    EXPECT_EQ(
        form.text(),
        "For M5|Adr     1|TO  Start-Line       BFFB     1|                      |                      |                      |\r\n"
        "For M5|Adr     2|KD1       P1      01:35:392   1|Rb        1.46981 m   |HD         45.290 m   |                      |\r\n");
    EXPECT_EQ(readBytes(program / "temp/ooo.txt"), text + "\r\n");
    trigger("dandian");
    EXPECT_EQ(form.text(), "");
    EXPECT_TRUE(pointerRestored());
}

// A station whose staffs were recorded as staffs says ("BFFB"), each line ended by CR LF.
std::string stationRecorded(std::string_view staffs)
{
    std::string text;
    for (std::size_t i = 0; i < staffs.size(); ++i)
        text += staffs[i] == 'B' ? rawLine("BM1", "Rb", i < 2 ? "1.52345" : "1.52349", "30.100", "") + "\r\n"
                                 : rawLine("TP1", "Rf", i < 2 ? "1.41234" : "1.41236", "29.500", "") + "\r\n";
    return text;
}

TEST_F(WindowTest, EverySaveItemWritesItsWorkbook)
{
    const std::pair<const char*, const char*> items[] = {{"bffbEXLE", "BFFB"}, {"bbffEXLE", "BBFF"},
                                                         {"bfbfEXLE", "BFBF"}, {"aBFFBwf", "BFFB"},
                                                         {"aBFFBL", "BFFB"},   {"bfEXLE", "BF"},
                                                         {"rrzEXLX", "BFFB"},  {"dandianEXCEL", "BFFB"}};
    for (const auto& [item, staffs] : items) {
        form.setText(stationRecorded(staffs));
        const std::filesystem::path out = scratch / (std::string(item) + ".xls");
        dialogs.saveAnswers = {{out, kExcelFilter}};
        // The point tables' filters drop the line readings.
        dialogs.filterAnswers = {FilterAnswer::SaveAsItIs};
        trigger(item);
        EXPECT_TRUE(std::filesystem::exists(out)) << item;
    }
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_EQ(dialogs.filterQuestions, (std::vector<std::string>{"测中间点", "单点测量"}));
    EXPECT_TRUE(pointerRestored());
}

// A book the recorded staffs contradict is refused before the save dialog; the books
// that fit are offered, and the one chosen is saved as its own item saves it.
TEST_F(WindowTest, ABookTheStaffsContradictOffersTheBooksThatFit)
{
    writeBytes(scratch / "line.dat", lines({startLine("BFFB")}) + stationRecorded("BFFB"));
    form.openFile(scratch / "line.dat");
    dialogs.bookAnswers = {std::nullopt, books::WorkbookKind::AbffbBook};
    trigger("bbffEXLE");
    EXPECT_TRUE(dialogs.saveProposals.empty()) << "cancelled before the save dialog";
    const std::filesystem::path out = scratch / "chosen.xls";
    dialogs.saveAnswers = {{out, kExcelFilter}};
    trigger("bbffEXLE");
    ASSERT_EQ(dialogs.bookQuestions.size(), 2u);
    EXPECT_NE(dialogs.bookQuestions[0].find("line 2: the book 线路手薄(BBFF) does not fit the observations: station 1, "
                                            "starting on line 2: its staffs were recorded in the order BFFB, which "
                                            "the book, reading BBFF, contradicts"),
              std::string::npos)
        << dialogs.bookQuestions[0];
    const std::vector<books::WorkbookKind> fitting = {books::WorkbookKind::BffbBook, books::WorkbookKind::AbffbBook};
    EXPECT_EQ(dialogs.bookOffers, (std::vector<std::vector<books::WorkbookKind>>{fitting, fitting}));
    EXPECT_TRUE(std::filesystem::exists(out));
    ASSERT_EQ(dialogs.saveProposals.size(), 1u);
    EXPECT_EQ(dialogs.saveProposals[0].filename(), "line_aBFFB");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_TRUE(pointerRestored());
}

// The README's quick start: 打开 an example, 整理 › 水准线路, 保存 › 线路手薄(BFFB).
TEST_F(WindowTest, QuickStartMakesTheExamplesBook)
{
    dialogs.openAnswers = {sourceDir() / "examples/bffb_line.dat"};
    trigger("open");
    trigger("BFFB");
    const std::filesystem::path out = scratch / "bffb_line.xls";
    dialogs.saveAnswers = {{out, kExcelFilter}};
    trigger("bffbEXLE");
    ASSERT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    std::string text;
    for (const std::string& line : xlrdSheetText(out, 0))
        text += line + "\n";
    for (const char* point : {"=\"水准点甲\"", "=\"TP19\"", "=\"水准点乙\""})
        EXPECT_NE(text.find(point), std::string::npos) << point << "\n" << text;
}

TEST_F(WindowTest, WorkbookSavedWithAnotherTypeWritesNothingAndSaysSo)
{
    form.setText("x\r\n");
    const std::filesystem::path out = scratch / "book.xls";
    dialogs.filterAnswers = {FilterAnswer::SaveAsItIs};
    dialogs.saveAnswers = {{out, 3}};
    trigger("bffbEXLE");
    EXPECT_FALSE(std::filesystem::exists(out));
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_NE(dialogs.notices[0].find("EXCEL(*.xls)"), std::string::npos);
    EXPECT_EQ(dialogs.savePresets, std::vector<int>{kExcelFilter});
    // The working workbook is renewed before anything is asked.
    EXPECT_EQ(readBytes(program / "temp/excel.xls"), readBytes(program / "temp/exc.xls"));
    EXPECT_TRUE(pointerRestored());
}

TEST_F(WindowTest, TitleNamesTheOpenFileAndTheFirstPanelTheSavedOne)
{
    QLabel* panel = form.statusBar()->findChild<QLabel*>("Panel1");
    const QString ownText = panel->text();
    const std::string bf = lines(
        {kStartLine, readingLine("BM1", "Rb", "1.52345", "30.100"), readingLine("TP1", "Rf", "1.41234", "29.500")});
    writeBytes(scratch / "line.dat", bf);
    dialogs.openAnswers = {scratch / "line.dat", {}, scratch / "missing.dat"};
    trigger("open");
    EXPECT_EQ(form.windowTitle(), "Levara – line.dat");
    EXPECT_EQ(panel->text(), ownText);
    trigger("open");  // cancelled
    trigger("open");  // failed
    EXPECT_EQ(form.windowTitle(), "Levara – line.dat");

    struct Save {
        const char* item;
        const char* file;
        int filterIndex;
    };
    for (const Save& save : {Save{"TXT", "copy.dat", kDatFilter}, Save{"bfEXLE", "book.xls", kExcelFilter}}) {
        dialogs.saveAnswers = {{scratch / save.file, save.filterIndex}};
        trigger(save.item);
        EXPECT_EQ(panel->text().toStdString(), "Saved " + (scratch / save.file).string()) << save.item;
        EXPECT_EQ(form.windowTitle(), "Levara – line.dat");
    }
    // A save that writes nothing says nothing.
    dialogs.saveAnswers = {{}};
    trigger("TXT");
    std::filesystem::remove_all(program / "temp");
    dialogs.saveAnswers = {{scratch / "other.dat", kDatFilter}};
    trigger("TXT");
    EXPECT_EQ(dialogs.errors.size(), 2u);  // the missing file, the missing temp folder
    EXPECT_EQ(panel->text().toStdString(), "Saved " + (scratch / "book.xls").string());
}

TEST_F(WindowTest, BookSavesOpenOnExcelTheTextSaveOnItsOwnLastType)
{
    // Empty: no filter would drop a line, and a cancelled dialog writes nothing.
    form.setText("");
    const char* const books[] = {"bffbEXLE", "bbffEXLE", "bfbfEXLE", "aBFFBwf",
                                 "aBFFBL",   "bfEXLE",   "rrzEXLX",  "dandianEXCEL"};
    std::vector<int> expected;
    auto save = [&](const char* item, SaveChoice answer, int opensOn) {
        dialogs.saveAnswers = {answer};
        trigger(item);
        expected.push_back(opensOn);
    };
    save("TXT", {}, kDatFilter);
    save("TXT", {scratch / "notes.txt", kAllFilesFilter}, kDatFilter);
    for (const char* book : books)
        save(book, {}, kExcelFilter);
    save("TXT", {}, kAllFilesFilter);
    save("bffbEXLE", {scratch / "typed.xls", kAllFilesFilter}, kExcelFilter);  // refused, said so
    save("TXT", {}, kAllFilesFilter);
    EXPECT_EQ(dialogs.savePresets, expected);
    EXPECT_EQ(dialogs.notices.size(), 1u);
    EXPECT_TRUE(dialogs.errors.empty());
}

// Each book and table offers the filter it is made from; the three answers.
TEST_F(WindowTest, SavingAnUnreducedTextOffersToReduceItFirst)
{
    struct Case {
        const char* item;
        const char* file;
        const char* arrangeName;
        const char* arrangeCaption;
        FilterAnswer answer;
    };
    const Case cases[] = {
        {"bffbEXLE", "bffb_line.dat", "BFFB", "水准线路", FilterAnswer::Filter},
        {"bbffEXLE", "bbff_line.dat", "BFFB", "水准线路", FilterAnswer::Filter},
        {"bfbfEXLE", "bfbf_line.dat", "BFFB", "水准线路", FilterAnswer::Filter},
        {"aBFFBwf", "abffb_line.dat", "BFFB", "水准线路", FilterAnswer::Filter},
        {"aBFFBL", "chinese_names.dat", "BFFB", "水准线路", FilterAnswer::Filter},
        {"bfEXLE", "bf_line.dat", "BFFB", "水准线路", FilterAnswer::Filter},
        {"rrzEXLX", "intermediate.dat", "rrz", "测中间点", FilterAnswer::Filter},
        {"dandianEXCEL", "single_points.dat", "dandian", "单点测量", FilterAnswer::Filter},
        {"bffbEXLE", "bffb_line.dat", "BFFB", "水准线路", FilterAnswer::SaveAsItIs},
        {"bffbEXLE", "bffb_line.dat", "BFFB", "水准线路", FilterAnswer::Cancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.item) + " " + c.file);
        form.openFile(sourceDir() / "tests/data" / c.file);
        const std::string raw = form.text();
        trigger(c.arrangeName);
        const std::string filtered = form.text();
        form.setText(raw);

        const std::filesystem::path out = scratch / (std::string(c.item) + ".xls");
        std::filesystem::remove(out);
        dialogs = FakeDialogs();
        dialogs.filterAnswers = {c.answer};
        dialogs.saveAnswers = {{out, kExcelFilter}};
        trigger(c.item);
        EXPECT_EQ(dialogs.filterQuestions, std::vector<std::string>{c.arrangeCaption});
        EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
        EXPECT_EQ(form.text(), c.answer == FilterAnswer::Filter ? filtered : raw);
        EXPECT_EQ(std::filesystem::exists(out), c.answer != FilterAnswer::Cancel);
        EXPECT_EQ(dialogs.saveAnswers.empty(), c.answer != FilterAnswer::Cancel) << "no save dialog after a cancel";
        if (c.answer != FilterAnswer::Filter)
            continue;
        // A filtered text is saved without a question.
        dialogs.saveAnswers = {{out, kExcelFilter}};
        dialogs.overwriteAnswers = {true};
        trigger(c.item);
        EXPECT_EQ(dialogs.filterQuestions.size(), 1u);
    }
    EXPECT_TRUE(pointerRestored());
}

TEST_F(WindowTest, ADroppedFileOpensAsOpenWould)
{
    QLabel* panel = form.statusBar()->findChild<QLabel*>("Panel1");
    const std::filesystem::path gsi = sourceDir() / "tests/data/gsi/bf_line.gsi";
    const std::filesystem::path raw = sourceDir() / "tests/data/single_points.dat";
    auto drop = [&](const std::vector<std::filesystem::path>& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const auto& file : files)
            urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
        data.setUrls(urls);
        QWidget* target = form.textArea()->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        QApplication::processEvents();
    };

    drop({gsi});
    EXPECT_EQ(form.text(), readOpenedText(gsi).text);
    EXPECT_EQ(panel->text().toStdString(), readOpenedText(gsi).status->english());
    EXPECT_EQ(form.windowTitle(), "Levara – bf_line.gsi");

    drop({raw, gsi});
    EXPECT_EQ(form.text(), readOpenedText(raw).text);
    EXPECT_EQ(form.windowTitle(), "Levara – single_points.dat");

    drop({scratch.path()});
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_EQ(dialogs.notices[0], scratch.path().string() + " is a folder; drop a raw file to open it");
    EXPECT_EQ(form.text(), readOpenedText(raw).text);
    EXPECT_EQ(form.windowTitle(), "Levara – single_points.dat");
    EXPECT_TRUE(dialogs.errors.empty());
}

TEST_F(WindowTest, AnErrorsLineIsScrolledToAndSelected)
{
    // Forty BFFB stations; the first reading of the 31st is no number.
    std::vector<std::string> text;
    for (int station = 1; station <= 40; ++station) {
        const std::string back = station == 31 ? "1.5x345" : "1.52345";
        for (const auto& [point, tag, reading] : {std::tuple{"BM1", "Rb", back},
                                                  {"TP1", "Rf", "1.41234"},
                                                  {"TP1", "Rf", "1.41236"},
                                                  {"BM1", "Rb", "1.52349"}})
            text.push_back(readingLine(point, tag, reading, "30.10") + "\r\n");
    }
    form.setText(std::accumulate(text.begin(), text.end(), std::string()));
    form.show();
    dialogs.saveAnswers = {{scratch / "book.xls", kExcelFilter}};
    trigger("bffbEXLE");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    const int line = 30 * 4 + 1;
    EXPECT_EQ(dialogs.errors[0].rfind("line " + std::to_string(line) + ":", 0), 0u) << dialogs.errors[0];
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    form.textArea()->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    EXPECT_EQ(std::tuple(fromLine, fromIndex, toLine), std::tuple(line - 1, 0, line - 1));
    EXPECT_EQ(toIndex, form.textArea()->lineLength(line - 1) - 2);  // up to its CR LF
    const long first = form.textArea()->firstVisibleLine();
    EXPECT_LE(first, line - 1);
    EXPECT_LT(line - 1, first + form.textArea()->SendScintilla(QsciScintilla::SCI_LINESONSCREEN));
}

TEST_F(WindowTest, CheckMenuChoosesAStandardRemembersItAndListsWhatExceeds)
{
    QMenu* menu = form.findChild<QMenu*>("check");
    ASSERT_NE(menu, nullptr);
    std::vector<std::pair<std::string, std::string>> items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items.emplace_back(action->objectName().toStdString(), action->text().toStdString());
    EXPECT_EQ(items, (std::vector<std::pair<std::string, std::string>>{{"noStandard", "不检核"},
                                                                       {"standard1", "一等"},
                                                                       {"standard2", "二等"},
                                                                       {"standard3", "三等"},
                                                                       {"standard4", "四等"},
                                                                       {"standard3Mountain", "三等(山区)"},
                                                                       {"standard4Mountain", "四等(山区)"},
                                                                       {"limitsFile", "限差文件…"},
                                                                       {"checkText", "检核当前文本"}}));
    const auto checked = [&](const char* name) { return form.findChild<QAction*>(name)->isChecked(); };
    EXPECT_TRUE(checked("noStandard"));
    trigger("checkText");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_NE(dialogs.errors[0].find("No standard is chosen"), std::string::npos);
    EXPECT_EQ(dialogs.warnings, 1) << "guidance, not a fault";

    trigger("standard2");
    EXPECT_TRUE(checked("standard2"));
    EXPECT_FALSE(checked("noStandard"));
    EXPECT_EQ(settings::standardItem(), "standard2");
    {
        FakeDialogs otherDialogs;
        MainWindow other(otherDialogs, program);
        EXPECT_TRUE(other.findChild<QAction*>("standard2")->isChecked()) << "remembered";
    }

    // Station 2's first back sight (line 6) is 52 m long.
    form.setText(lines({startLine("BFFB"), readingLine("BM1", "Rb", "1.52345", "30.100"),
                        readingLine("TP1", "Rf", "1.41234", "29.500"), readingLine("TP1", "Rf", "1.41236", "29.520"),
                        readingLine("BM1", "Rb", "1.52349", "30.120"), readingLine("TP1", "Rb", "1.50000", "52.000"),
                        readingLine("BM2", "Rf", "1.40000", "50.000"), readingLine("BM2", "Rf", "1.40000", "50.000"),
                        readingLine("TP1", "Rb", "1.50000", "50.000"), endLine()}));
    form.show();
    trigger("checkText");
    EXPECT_EQ(dialogs.errors.size(), 1u);
    CheckPanel* panel = form.checkPanel();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(form.dockWidgetArea(panel), Qt::RightDockWidgetArea);
    EXPECT_NE(panel->summary()->text().toStdString().find("二等"), std::string::npos);
    QTableWidget* list = panel->list();
    ASSERT_EQ(list->rowCount(), 1);
    std::vector<std::string> row, headers;
    for (int column = 0; column < list->columnCount(); ++column) {
        row.push_back(list->item(0, column)->text().toStdString());
        headers.push_back(list->horizontalHeaderItem(column)->text().toStdString());
    }
    EXPECT_EQ(headers, (std::vector<std::string>{"线路", "行", "测站", "点号", "项目", "数值", "限差", "依据"}));
    EXPECT_EQ(row[0], "1");  // the Start-Line record names no line
    EXPECT_EQ(row[1], "6");
    EXPECT_EQ(row[2], "2");
    EXPECT_EQ(row[3], "TP1");
    EXPECT_EQ(row[5], "52.000 m");
    EXPECT_EQ(row[7], "GB/T 12897-2006 (v)");
    EXPECT_EQ(panel->lineTotals()->text(), "Line 1: 2 stations, 1 over the limits");
    // Saved as levara-cli check --csv writes them.
    dialogs.saveAnswers = {{scratch / "findings.csv", kCsvFilter}};
    panel->saveButton()->click();
    EXPECT_EQ(dialogs.savePresets.back(), kCsvFilter);
    EXPECT_EQ(readBytes(scratch / "findings.csv").substr(0, 69),
              "line,station,point,item,value,lower,upper,unit,status,source\n6,2,TP1,");
    list->setCurrentCell(0, 3);
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    form.textArea()->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    EXPECT_EQ(std::tuple(fromLine, fromIndex, toLine), std::tuple(5, 0, 5));

    // A loop of three lines: its misclosure, then M_W as a row and in the summary.
    form.setText(routeText({{"A", "B", 0.1, 1000, 10}, {"B", "C", 0.05, 1000, 10}, {"C", "A", -0.14, 2000, 20}}));
    trigger("checkText");
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(0, 3)->text().toStdString(), "A–B–C–A");
    EXPECT_EQ(list->item(0, 5)->text().toStdString(), "10.00 mm");
    EXPECT_EQ(list->item(1, 3)->text().toStdString(), "精度评定");
    EXPECT_EQ(list->item(1, 5)->text().toStdString(), "5.00 mm");
    EXPECT_NE(panel->summary()->text().toStdString().find("precision: M_W = ±5.00 mm from 1 loops"), std::string::npos)
        << panel->summary()->text().toStdString();

    // A limits file that cannot be read is reported and leaves the standard as it was;
    // a cancelled dialog too.
    writeBytes(scratch / "bad.json", "{\n  \"name\": \n}");
    dialogs.limitsAnswers = {scratch / "bad.json", {}};
    trigger("limitsFile");
    ASSERT_EQ(dialogs.errors.size(), 2u);
    EXPECT_NE(dialogs.errors[1].find("bad.json: line 3, column 1: not valid JSON"), std::string::npos)
        << dialogs.errors[1];
    EXPECT_TRUE(checked("standard2"));
    trigger("limitsFile");
    EXPECT_TRUE(checked("standard2"));
    EXPECT_EQ(settings::standardItem(), "standard2");

    writeBytes(scratch / "project.json",
               R"({"levara_limits": 1, "name": "project", "limits": {"sight_length_m": {"max": 60, "status": "u"}}})");
    dialogs.limitsAnswers = {scratch / "project.json"};
    trigger("limitsFile");
    EXPECT_TRUE(checked("limitsFile"));
    EXPECT_EQ(form.findChild<QAction*>("limitsFile")->text(), "限差文件（project.json）…");
    trigger("checkText");
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_NE(panel->summary()->text().toStdString().find("project"), std::string::npos);

    trigger("noStandard");
    EXPECT_EQ(settings::standardItem(), "noStandard");
}

// A memory card's NUL in the second line: every line is shown, edited and saved.
TEST_F(WindowTest, ANulByteKeepsEveryLineThroughOpenEditAndSave)
{
    const std::string raw = std::string("a1\r\nb\0x2\r\n", 10) + "\x01\x1a c3\r\nd4\r\n";
    writeBytes(scratch / "nul.dat", raw);
    form.openFile(scratch / "nul.dat");
    EXPECT_EQ(form.text(), raw);
    EXPECT_EQ(form.textArea()->lines(), 5);  // the last one empty
    EXPECT_EQ(form.textArea()->SendScintilla(QsciScintilla::SCI_GETLENGTH), long(raw.size()));

    form.textArea()->insertAt("e", 3, 0);
    EXPECT_EQ(form.text(), raw.substr(0, raw.size() - 4) + "ed4\r\n");
    dialogs.saveAnswers = {{scratch / "saved.dat", kDatFilter}};
    trigger("TXT");
    EXPECT_EQ(readBytes(scratch / "saved.dat"), form.text() + "\r\n");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

TEST_F(WindowTest, ReducingIsUndoneAndTheOpenedTextRestored)
{
    const std::filesystem::path raw = sourceDir() / "examples/bffb_line.dat";
    form.openFile(raw);
    const std::string opened = form.text();
    EXPECT_EQ(form.windowTitle(), "Levara – bffb_line.dat");
    trigger("dandian");  // the wrong item: nothing is kept
    EXPECT_EQ(form.text(), "");
    EXPECT_EQ(form.windowTitle(), "Levara – bffb_line.dat *");
    QLabel* panel = form.statusBar()->findChild<QLabel*>("Panel1");
    const auto lines = std::count(opened.begin(), opened.end(), '\n');
    EXPECT_EQ(panel->text().toStdString(), "Kept 0 lines, dropped " + std::to_string(lines));

    form.textArea()->undo();
    EXPECT_EQ(form.text(), opened);
    form.textArea()->redo();
    EXPECT_EQ(form.text(), "");
    form.textArea()->undo();
    trigger("BFFB");
    const std::string filtered = form.text();
    EXPECT_NE(filtered, opened);
    form.textArea()->insertAt("edit", 0, 0);
    trigger("restore");
    EXPECT_EQ(form.text(), opened);
    form.textArea()->undo();
    EXPECT_EQ(form.text(), "edit" + filtered);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

// A further file appended after the text: reduced with it, its sections adjusted with
// the first file's, and 恢复原文 gives back both as they were opened.
TEST_F(WindowTest, AppendedFileJoinsTheTextAndIsRestoredWithIt)
{
    const std::filesystem::path first = sourceDir() / "examples/bffb_line.dat";
    const std::filesystem::path gsi = sourceDir() / "tests/data/gsi/bf_line.gsi";
    form.openFile(first);
    const std::string opened = form.text() + readOpenedText(gsi).text;
    dialogs.openAnswers = {gsi};
    trigger("append");
    EXPECT_EQ(form.text(), opened);
    EXPECT_EQ(form.windowTitle(), "Levara – bffb_line.dat *");
    QLabel* panel = form.statusBar()->findChild<QLabel*>("Panel1");
    EXPECT_EQ(panel->text().toStdString(), "Appended " + gsi.string() + ": " + readOpenedText(gsi).status->english());
    trigger("BFFB");
    EXPECT_NE(form.text(), opened);
    trigger("restore");
    EXPECT_EQ(form.text(), opened);
    dialogs.openAnswers = {{}};  // cancelled: the text stays
    trigger("append");
    EXPECT_EQ(form.text(), opened);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();

    // A first file without a last line end: the appended file starts a line of its own,
    // in the text and in what 恢复原文 gives back.
    std::string unended = readOpenedText(first).text;
    unended.erase(unended.find_last_not_of("\r\n") + 1);
    writeBytes(scratch / "unended.dat", unended);
    form.openFile(scratch / "unended.dat");
    dialogs.openAnswers = {gsi};
    trigger("append");
    const std::string joined = form.text();
    EXPECT_EQ(joined.find(unended + "\r\n"), 0u);
    trigger("BFFB");
    trigger("restore");
    EXPECT_EQ(form.text(), joined);
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();

    // A fault in the second file of a network names that file and its own line: the
    // first station's reading on line 3 missing.
    std::string bad = routeText({{"J", "B", 0.6, 590, 5}});
    const std::size_t third = bad.find('\n', bad.find('\n') + 1) + 1;
    bad.erase(third, bad.find('\n', third) + 1 - third);
    writeBytes(scratch / "day1.dat", routeText({{"A", "J", 0.4, 400, 4}}, "10"));
    writeBytes(scratch / "day2.dat", bad);
    form.openFile(scratch / "day1.dat");
    dialogs.openAnswers = {scratch / "day2.dat"};
    trigger("append");
    trigger("networkTable");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0].rfind((scratch / "day2.dat").string() + ":2: station 1, starting on line 2", 0), 0u)
        << dialogs.errors[0];
}

TEST_F(WindowTest, AnEditedTextIsAskedAboutBeforeCloseAndOpen)
{
    writeBytes(scratch / "line.dat", "a\r\n");
    form.openFile(scratch / "line.dat");
    form.show();
    // Not edited: nothing asked.
    form.openFile(scratch / "line.dat");
    EXPECT_TRUE(dialogs.unsavedQuestions.empty());

    form.textArea()->insertAt("b", 0, 0);
    EXPECT_EQ(form.windowTitle(), "Levara – line.dat *");
    dialogs.unsavedTextAnswers = {UnsavedTextAnswer::Cancel, UnsavedTextAnswer::Cancel};
    EXPECT_FALSE(form.close());
    trigger("open");  // no open dialog comes up
    EXPECT_EQ(dialogs.unsavedQuestions, (std::vector<std::string>{"line.dat", "line.dat"}));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.text(), "ba\r\n");

    // Save, its dialog cancelled: still open; then saved under the proposed name.
    dialogs.unsavedTextAnswers = {UnsavedTextAnswer::Save, UnsavedTextAnswer::Save};
    dialogs.saveAnswers = {{}, {scratch / "line_text.dat", kDatFilter}};
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.close());
    EXPECT_EQ(dialogs.saveProposals.back(), scratch / "line_text");
    EXPECT_EQ(readBytes(scratch / "line_text.dat"), "ba\r\n\r\n");
    EXPECT_EQ(form.windowTitle(), "Levara – line.dat");

    form.show();
    form.textArea()->insertAt("c", 0, 0);
    dialogs.unsavedTextAnswers = {UnsavedTextAnswer::Discard};
    dialogs.openAnswers = {scratch / "line.dat"};
    trigger("open");
    EXPECT_EQ(form.text(), "a\r\n");
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

// The wrong 整理 item keeps nothing of a leveling file; its book is saved, and said empty.
TEST_F(WindowTest, ABookOfNoStationIsSavedAndSaidEmpty)
{
    form.openFile(sourceDir() / "examples/bffb_line.dat");
    trigger("dandian");
    dialogs.saveAnswers = {{scratch / "empty.xls", kExcelFilter}};
    trigger("bffbEXLE");
    EXPECT_TRUE(std::filesystem::exists(scratch / "empty.xls"));
    EXPECT_EQ(dialogs.notices, std::vector<std::string>{"Saved " + (scratch / "empty.xls").string() +
                                                        ", but the text holds no station: the book is empty."});
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

TEST_F(WindowTest, ACancelledReduceAndSaveLeavesTheText)
{
    form.openFile(sourceDir() / "examples/bffb_line.dat");
    const std::string opened = form.text();
    for (const char* item : {"bffbEXLE", "adjustmentTable", "gamaXml"}) {
        dialogs.filterAnswers = {FilterAnswer::Filter};
        dialogs.saveAnswers = {{}};
        trigger(item);
        EXPECT_EQ(form.text(), opened) << item;
        EXPECT_EQ(form.windowTitle(), "Levara – bffb_line.dat") << item;
    }
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

TEST_F(WindowTest, ThePanelIsClearedOnOpenAndMarkedOutOfDateByAnEdit)
{
    trigger("standard2");
    // The example's sights are over 二等's limits.
    form.openFile(sourceDir() / "tests/data/bffb_line.dat");
    trigger("checkText");
    QTableWidget* list = form.checkPanel()->list();
    ASSERT_GT(list->rowCount(), 0);
    form.textArea()->insertAt(" ", 0, 0);
    EXPECT_EQ(form.checkPanel()->summary()->text().toStdString().rfind("Out of date: ", 0), 0u);
    EXPECT_GT(list->rowCount(), 0);
    form.openFile(sourceDir() / "tests/data/single_points.dat");
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_TRUE(form.checkPanel()->summary()->text().isEmpty());
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
}

// The open raw file itself, as the save's file: the question says so.
TEST_F(WindowTest, TheOverwriteQuestionNamesTheOpenRawFile)
{
    writeBytes(scratch / "line.dat", "a\r\n");
    writeBytes(scratch / "other.dat", "o\r\n");
    form.openFile(scratch / "line.dat");
    dialogs.saveAnswers = {{scratch / "other.dat", kDatFilter}, {scratch / "line.dat", kDatFilter}};
    dialogs.overwriteAnswers = {false, false};
    trigger("TXT");
    trigger("TXT");
    EXPECT_EQ(dialogs.overwriteQuestions,
              (std::vector<std::filesystem::path>{scratch / "other.dat", scratch / "line.dat"}));
    EXPECT_EQ(dialogs.overwriteOfOpenFile, (std::vector<bool>{false, true}));
    EXPECT_EQ(readBytes(scratch / "line.dat"), "a\r\n");
}

TEST_F(WindowTest, ShortcutsFindGoToLineHelpAndAbout)
{
    const auto key = [&](const char* name) { return form.findChild<QAction*>(name)->shortcut(); };
    EXPECT_EQ(key("open"), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(key("saveAgain"), QKeySequence(QKeySequence::Save));
    EXPECT_EQ(key("checkText"), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(key("find"), QKeySequence(QKeySequence::Find));
    EXPECT_EQ(key("goToLine"), QKeySequence(Qt::CTRL | Qt::Key_G));

    form.setText("a\r\nTP9 b\r\nc TP9\r\n");
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    dialogs.findAnswers = {"TP9"};
    trigger("find");
    form.textArea()->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    EXPECT_EQ(std::tuple(fromLine, fromIndex, toIndex), std::tuple(1, 0, 3));
    trigger("findNext");
    form.textArea()->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    EXPECT_EQ(std::tuple(fromLine, fromIndex, toIndex), std::tuple(2, 2, 5));
    dialogs.findAnswers = {"none"};
    trigger("find");
    EXPECT_EQ(form.statusBar()->findChild<QLabel*>("Panel1")->text(), "Not found: none");
    dialogs.lineAnswers = {1};
    trigger("goToLine");
    form.textArea()->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    EXPECT_EQ(std::tuple(fromLine, fromIndex, toLine), std::tuple(0, 0, 0));

    // Nothing saved yet: Ctrl+S saves the text.
    dialogs.saveAnswers = {{}};
    trigger("saveAgain");
    EXPECT_EQ(dialogs.savePresets, std::vector<int>{kDatFilter});

    trigger("guide");
    trigger("about");
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(dialogs.shown[0].startsWith("## Quick start"));
    EXPECT_FALSE(dialogs.shown[0].contains("## Building by hand"));
    EXPECT_TRUE(dialogs.shown[1].startsWith("Levara " LEVARA_VERSION "\n")) << dialogs.shown[1].toStdString();
}

TEST_F(WindowTest, AWorkbookOpenedByMistakeIsSaidToBeOne)
{
    form.setText("kept\r\n");
    writeBytes(scratch / "book.dat", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0", 11));
    dialogs.openAnswers = {scratch / "book.dat"};
    trigger("open");
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0],
              (scratch / "book.dat").string() + ": this is an Excel workbook, not a raw file of a digital level");
    EXPECT_EQ(form.text(), "kept\r\n");
}

// As levara-cli check --order: a line whose method Levara does not read is checked in
// the order chosen; one that names none is read in the order its tags show.
TEST_F(WindowTest, CheckAsksForTheOrderOfALineThatNamesNone)
{
    trigger("standard2");
    const auto text = [](const std::string& method) {
        return lines({startLine(method), readingLine("BM1", "Rb", "1.52345", "30.100"),
                      readingLine("TP1", "Rf", "1.41234", "29.500"), endLine()});
    };
    form.setText(text(""));
    trigger("checkText");
    EXPECT_TRUE(dialogs.orderQuestions.empty());
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();

    form.setText(text("aBF"));
    dialogs.orderAnswers = {std::nullopt, leveling::ObservationOrder::BF};
    trigger("checkText");
    EXPECT_FALSE(form.checkPanel()->isVisible()) << "cancelled";
    trigger("checkText");
    EXPECT_EQ(dialogs.orderQuestions, (std::vector<int>{1, 1}));
    EXPECT_TRUE(dialogs.errors.empty()) << dialogs.errors.front();
    EXPECT_NE(form.checkPanel()->summary()->text().toStdString().find("stations: 1"), std::string::npos)
        << form.checkPanel()->summary()->text().toStdString();
}

// A station the level's heights contradict is a row of the panel, its line chosen as
// a finding's is.
TEST_F(WindowTest, TheInstrumentsDisagreementIsARowOfThePanel)
{
    trigger("standard2");
    std::string raw = readBytes(sourceDir() / "tests/data/m5_oddities.dat");
    const std::size_t row = raw.find("For M5|Adr    35|");
    ASSERT_NE(row, std::string::npos);
    raw.replace(raw.find("10.30000", row), 8, "10.30009");
    writeBytes(scratch / "wrong.dat", raw);
    form.openFile(scratch / "wrong.dat");
    form.show();
    trigger("checkText");
    QTableWidget* list = form.checkPanel()->list();
    int found = -1;
    for (int r = 0; r < list->rowCount(); ++r)
        if (list->item(r, 4)->text() == "differs from the instrument's computation")
            found = r;
    ASSERT_GE(found, 0);
    EXPECT_EQ(list->item(found, 1)->text().toStdString(), "31");
    EXPECT_EQ(list->item(found, 3)->text().toStdString(), "BM2");
    EXPECT_EQ(list->item(found, 5)->text().toStdString(), "0.20000 m");
    EXPECT_EQ(list->item(found, 6)->text().toStdString(), "the instrument's 0.20009 m");
    EXPECT_NE(form.checkPanel()->summary()->text().toStdString().find("instrument's computation: 1"),
              std::string::npos);
    list->setCurrentCell(found, 3);
    int fromLine = 0, fromIndex = 0, toLine = 0, toIndex = 0;
    form.textArea()->getSelection(&fromLine, &fromIndex, &toLine, &toIndex);
    EXPECT_EQ(std::tuple(fromLine, fromIndex, toLine), std::tuple(30, 0, 30));
}

}  // namespace
}  // namespace levara::testing
