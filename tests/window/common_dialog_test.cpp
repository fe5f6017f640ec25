// The real dialogs, answered offscreen: exact captions, the filter index, and the
// language they speak.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

#include "language/language.h"
#include "qt_application.h"
#include "tests/support/test_files.h"
#include "window/settings.h"
#include "window/window.h"

namespace levara::testing {
namespace {

struct Seen {
    QString title;
    QStringList filters;
    QString selectedFilter;
    QString fileNameLabel;
    std::filesystem::path folder;
    QStringList proposed;  // the file the dialog opened with
};

// Answers the next file dialog: records what it shows, then picks file with filter.
void answerNextDialog(Seen& seen, const QString& file, int filterIndex)
{
    QTimer::singleShot(0, [&seen, file, filterIndex] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen.title = dialog->windowTitle();
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        for (int i = 0; i < types->count(); ++i)
            seen.filters << types->itemText(i);
        seen.selectedFilter = types->currentText();
        seen.fileNameLabel = dialog->findChild<QLabel*>("fileNameLabel")->text();
        seen.folder = dialog->directory().absolutePath().toStdString();
        seen.proposed = dialog->selectedFiles();
        if (file.isEmpty()) {
            dialog->reject();
            return;
        }
        types->setCurrentIndex(filterIndex - 1);
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

TEST(CommonDialogs, ShowTheirTitlesAndFiltersExactly)
{
    application();
    ScratchDir scratch;
    QtDialogs dialogs;
    writeBytes(scratch / "raw.gsi", "x");

    Seen open;
    answerNextDialog(open, QString::fromStdString((scratch / "raw.gsi").string()), 3);
    EXPECT_EQ(dialogs.showOpen(), scratch / "raw.gsi");
    EXPECT_EQ(open.title, "打开文件");
    EXPECT_EQ(open.filters, QStringList({"DAT(*.dat)", "TXT(*.txt)", "GSI(*.gsi)", "所有文件(*.*)"}));

    Seen save;
    answerNextDialog(save, QString::fromStdString((scratch / "book.xls").string()), 1);
    SaveChoice choice = dialogs.showSave(3, {});
    EXPECT_EQ(save.title, "保存文件");
    EXPECT_EQ(save.filters, QStringList({"EXCEL(*.xls)", "CSV(*.csv)", "DAT(*.dat)", "XML(*.xml)", "所有文件（*.*)"}));
    EXPECT_EQ(save.selectedFilter, "DAT(*.dat)");
    EXPECT_EQ(choice.file, scratch / "book.xls");
    EXPECT_EQ(choice.filterIndex, 1);

    // A cancel returns no file.
    Seen again;
    answerNextDialog(again, {}, 0);
    choice = dialogs.showSave(kExcelFilter, {});
    EXPECT_EQ(again.selectedFilter, "EXCEL(*.xls)");
    EXPECT_TRUE(choice.file.empty());

    // A proposed name gets the type's extension, in the proposed folder.
    std::filesystem::create_directories(scratch / "in");
    Seen proposed;
    answerNextDialog(proposed, {}, 0);
    dialogs.showSave(kXmlFilter, scratch / "in/line_gamaXml");
    EXPECT_EQ(proposed.folder, scratch / "in");
    EXPECT_EQ(proposed.proposed, QStringList{QString::fromStdString((scratch / "in/line_gamaXml.xml").string())});

    // A name typed without an extension gets the chosen type's; "txt" only under all files.
    struct Typed {
        const char* name;
        int filterIndex;
        const char* saved;
    };
    for (const Typed& typed :
         {Typed{"notes", 1, "notes.xls"}, Typed{"notes", 2, "notes.csv"}, Typed{"notes", 3, "notes.dat"},
          Typed{"notes", 4, "notes.xml"}, Typed{"notes", 5, "notes.txt"}, Typed{"notes.v2", 1, "notes.v2"},
          Typed{"book.XLS", 3, "book.XLS"}}) {
        Seen seen;
        answerNextDialog(seen, QString::fromStdString((scratch / typed.name).string()), typed.filterIndex);
        choice = dialogs.showSave(kDatFilter, {});
        EXPECT_EQ(choice.file, scratch / typed.saved) << typed.name << " " << typed.filterIndex;
        EXPECT_EQ(choice.filterIndex, typed.filterIndex);
    }
}

TEST(WindowMemory, FoldersGeometryAndRecentFilesOutliveTheWindow)
{
    application();
    ScratchDir scratch;
    const std::filesystem::path program = makeProgramDir(scratch);
    std::filesystem::create_directories(scratch / "in");
    std::filesystem::create_directories(scratch / "out");
    std::vector<std::filesystem::path> raw;
    for (int i = 1; i <= settings::kRecentFiles + 1; ++i) {
        raw.push_back(scratch / "in" / ("f" + std::to_string(i) + ".dat"));
        writeBytes(raw.back(), "line " + std::to_string(i) + "\r\n");
    }
    const QRect placed(40, 50, 900, 500);
    {
        QtDialogs dialogs;
        MainWindow window(dialogs, program);
        dialogs.setParent(&window);
        Seen open;
        answerNextDialog(open, QString::fromStdString(raw[0].string()), 1);
        window.findChild<QAction*>("open")->trigger();
        for (std::size_t i = 1; i < raw.size(); ++i)
            window.openFile(raw[i]);
        Seen save;
        answerNextDialog(save, QString::fromStdString((scratch / "out/copy").string()), kDatFilter);
        window.findChild<QAction*>("TXT")->trigger();
        ASSERT_TRUE(std::filesystem::exists(scratch / "out/copy.dat"));
        window.setGeometry(placed);
        window.show();
        window.close();
    }

    QtDialogs dialogs;
    MainWindow window(dialogs, program);
    dialogs.setParent(&window);
    window.show();
    EXPECT_EQ(window.geometry(), placed);
    QStringList recent;
    for (QAction* action : window.findChild<QMenu*>("recent")->actions())
        if (!action->data().isNull())  // a file, not the item that appends one
            recent << action->data().toString();
    QStringList newestFirst;
    for (auto file = raw.rbegin(); file != raw.rend() - 1; ++file)
        newestFirst << QString::fromStdString(file->string());
    EXPECT_EQ(recent, newestFirst);

    Seen open;
    answerNextDialog(open, {}, 0);
    window.findChild<QAction*>("open")->trigger();
    EXPECT_EQ(open.folder, scratch / "in");
    Seen save;
    answerNextDialog(save, {}, 0);
    window.findChild<QAction*>("TXT")->trigger();
    EXPECT_EQ(save.folder, scratch / "out");

    // A recent file opens, and comes first.
    window.findChild<QMenu*>("recent")->actions()[4]->trigger();
    EXPECT_EQ(window.windowTitle(), "Levara – f5.dat");
    EXPECT_EQ(window.text(), "line 5\r\n");
    EXPECT_EQ(window.findChild<QMenu*>("recent")->actions()[0]->data().toString(),
              QString::fromStdString(raw[4].string()));
}

// Reads and closes the next message box: its text and its buttons' captions; clicks
// the button captioned click, or accepts the box.
void answerNextMessageBox(QString& text, QStringList& buttons, const QString& click = {})
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &text, &buttons, click] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;  // the file dialog is still closing
        poll->deleteLater();
        text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
            if (button->text() == click)
                button->click();
        }
        if (click.isEmpty())
            box->accept();
    });
    poll->start(10);
}

// A locale variable set for one test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedVariable() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

TEST(CommonDialogs, AFailingSaveAndTheReduceQuestionSpeakChineseUnderAChineseLocale)
{
    application();
    const ScopedVariable locale("LC_ALL", "zh_CN.UTF-8");
    ASSERT_EQ(systemLanguage(), Language::Chinese);
    const Translators translators(systemLanguage());
    setSourceTranslation(translatedSource);
    ScratchDir scratch;
    const std::filesystem::path program = makeProgramDir(scratch);
    std::filesystem::remove_all(program / "temp");
    QtDialogs dialogs;
    MainWindow window(dialogs, program);
    dialogs.setParent(&window);
    window.setText("x\r\n");

    Seen save;
    QString text;
    QStringList buttons;
    answerNextDialog(save, QString::fromStdString((scratch / "out.dat").string()), 3);
    answerNextMessageBox(text, buttons);
    window.findChild<QAction*>("TXT")->trigger();
    EXPECT_EQ(save.title, "保存文件");
    EXPECT_EQ(save.fileNameLabel, "文件名称(&N)：");  // Qt's own text, from Debian's Qt translations
    EXPECT_EQ(text.toStdString(), (program / "temp").string() + "：程序旁的 temp 文件夹不存在");
    EXPECT_EQ(buttons, QStringList{"确定"});
    EXPECT_FALSE(std::filesystem::exists(scratch / "out.dat"));

    for (const auto& [button, answer] : {std::pair{"整理后保存", FilterAnswer::Filter},
                                         {"按原样保存", FilterAnswer::SaveAsItIs},
                                         {"取消", FilterAnswer::Cancel}}) {
        QString question;
        QStringList choices;
        answerNextMessageBox(question, choices, button);
        EXPECT_EQ(dialogs.askFilterFirst("测中间点"), answer) << button;
        EXPECT_EQ(question, "文本中仍有“整理 › 测中间点”会去掉的行，用它保存的表格可能有误。\n\n先整理再保存吗？");
        choices.sort();
        EXPECT_EQ(choices, QStringList({"取消", "按原样保存", "整理后保存"}));
    }

    // The question before an edited text is closed, its buttons Qt's own.
    {
        QString question;
        QStringList choices;
        answerNextMessageBox(question, choices);
        dialogs.askUnsavedText("line.dat");
        EXPECT_EQ(question, "line.dat 的文本有改动尚未保存。保存文本吗？");
        EXPECT_EQ(choices, QStringList({"保存", "取消", "丢弃"}));
    }

    // The text area's menu and the dialogs' type column, from Qt's translations and Levara's.
    window.textArea()->setText("abc");
    window.textArea()->selectAll();
    QStringList captions;
    for (QAction* action : makeTextMenu(window.textArea())->actions())
        if (!action->isSeparator())
            captions << action->text().section('\t', 0, 0);
    EXPECT_EQ(captions, QStringList({"撤消(&U)", "重做(&R)", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除", "全选"}));
    EXPECT_EQ(FileTypes().type(QFileInfo(QString::fromStdString(scratch.path().string()))), "文件夹");
    EXPECT_EQ(FileTypes().type(QFileInfo("line.dat")), "dat 文件");

    // The overwrite question names the file, and says when it is the open raw file.
    for (const bool openFile : {false, true}) {
        QString question;
        QStringList choices;
        answerNextMessageBox(question, choices, "否(&N)");
        EXPECT_FALSE(dialogs.askOverwrite(scratch / "line.dat", openFile));
        EXPECT_EQ(question.toStdString(),
                  (scratch / "line.dat").string() + (openFile ? " 已存在，它就是窗口中打开的原始文件。替换它，原文件就"
                                                                "没有了。\n\n替换吗？"
                                                              : " 已存在。\n\n替换吗？"));
        EXPECT_EQ(choices, QStringList({"是(&Y)", "否(&N)"}));
    }
}

}  // namespace
}  // namespace levara::testing
