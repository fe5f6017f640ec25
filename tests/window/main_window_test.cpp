// The real window, driven offscreen: menu actions triggered, text read back, files
// checked on disk.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <Qsci/qsciscintilla.h>

#include "fake_dialogs.h"
#include "qt_application.h"
#include "tests/support/raw_lines.h"
#include "tests/support/readers.h"
#include "tests/support/test_files.h"
#include "window/main_window.h"

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
    EXPECT_EQ(top, (std::vector<std::pair<std::string, std::string>>{{"open", "打开"},
                                                                     {"zhengli", "整理"},
                                                                     {"save", "保存"}}));

    auto items = [&](const char* menu) {
        std::vector<std::pair<std::string, std::string>> result;
        for (QAction* action : form.findChild<QMenu*>(menu)->actions()) {
            EXPECT_TRUE(action->isEnabled() && action->isVisible() && !action->isCheckable());
            EXPECT_TRUE(action->shortcut().isEmpty());
            result.emplace_back(action->objectName().toStdString(), action->text().toStdString());
        }
        return result;
    };
    EXPECT_EQ(items("zhengli"), (std::vector<std::pair<std::string, std::string>>{{"BFFB", "水准线路"},
                                                                                  {"rrz", "测中间点"},
                                                                                  {"dandian", "单点测量"}}));
    EXPECT_EQ(items("save"), (std::vector<std::pair<std::string, std::string>>{{"bffbEXLE", "线路手薄(BFFB)"},
                                                                               {"bbffEXLE", "线路手薄(BBFF)"},
                                                                               {"bfbfEXLE", "线路手薄(BFBF)"},
                                                                               {"aBFFBwf", "线路手薄(aBFFB 双转往返)"},
                                                                               {"aBFFBL", "线路手薄(aBFFB 单一线路)"},
                                                                               {"bfEXLE", "线路手薄(BF)"},
                                                                               {"rrzEXLX", "中间点测量表格"},
                                                                               {"dandianEXCEL", "单点测量表格"},
                                                                               {"TXT", "原始文本"}}));
}

TEST_F(WindowTest, TextAreaFillsTheClientAreaAtAnySize)
{
    QsciScintilla* text = form.textArea();
    EXPECT_EQ(text->wrapMode(), QsciScintilla::WrapNone);
    EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    const QStringList families = text->font().families();
    EXPECT_TRUE(std::any_of(families.begin(), families.end(), [&](const QString& family) {
        return chinese.contains(family);
    })) << "no font in the text area's list shows Chinese";
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
    EXPECT_EQ(dialogs.savePresets, (std::vector<std::optional<int>>{3}));
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

TEST_F(WindowTest, EverySaveItemWritesItsWorkbook)
{
    form.setText(lines({rawLine("BM1", "Rb", "1.52345", "30.100", ""), rawLine("TP1", "Rf", "1.41234", "29.500", ""),
                        rawLine("TP1", "Rf", "1.41236", "29.520", ""), rawLine("BM1", "Rb", "1.52349", "30.120", "")}));
    for (const char* item :
         {"bffbEXLE", "bbffEXLE", "bfbfEXLE", "aBFFBwf", "aBFFBL", "bfEXLE", "rrzEXLX", "dandianEXCEL"}) {
        const std::filesystem::path out = scratch / (std::string(item) + ".xls");
        dialogs.saveAnswers = {{out, kExcelFilter}};
        trigger(item);
        EXPECT_TRUE(std::filesystem::exists(out)) << item;
    }
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
    dialogs.saveAnswers = {{out, 3}};
    trigger("bffbEXLE");
    EXPECT_FALSE(std::filesystem::exists(out));
    ASSERT_EQ(dialogs.notices.size(), 1u);
    EXPECT_NE(dialogs.notices[0].find("EXCEL(*.xls)"), std::string::npos);
    EXPECT_EQ(dialogs.savePresets, (std::vector<std::optional<int>>{std::nullopt}));
    // The working workbook is renewed before anything is asked.
    EXPECT_EQ(readBytes(program / "temp/excel.xls"), readBytes(program / "temp/exc.xls"));
    EXPECT_TRUE(pointerRestored());
}

}  // namespace
}  // namespace levara::testing
