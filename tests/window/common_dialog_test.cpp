// The real dialogs, answered offscreen: exact captions, the filter index, and the
// language they speak.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "qt_application.h"
#include "tests/support/test_files.h"
#include "window/window.h"

namespace levara::testing {
namespace {

struct Seen {
    QString title;
    QStringList filters;
    QString selectedFilter;
    QString fileNameLabel;
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
    SaveChoice choice = dialogs.showSave(3);
    EXPECT_EQ(save.title, "保存文件");
    EXPECT_EQ(save.filters, QStringList({"EXCEL(*.xls)", "CSV(*.csv)", "DAT(*.dat)", "所有文件（*.*)"}));
    EXPECT_EQ(save.selectedFilter, "DAT(*.dat)");
    EXPECT_EQ(choice.file, scratch / "book.xls");
    EXPECT_EQ(choice.filterIndex, 1);

    // Without a preset the dialog keeps the last filter; a cancel returns no file.
    Seen again;
    answerNextDialog(again, {}, 0);
    choice = dialogs.showSave(std::nullopt);
    EXPECT_EQ(again.selectedFilter, "EXCEL(*.xls)");
    EXPECT_TRUE(choice.file.empty());

    // A name typed without an extension gets "txt".
    Seen typed;
    answerNextDialog(typed, QString::fromStdString((scratch / "notes").string()), 4);
    choice = dialogs.showSave(std::nullopt);
    EXPECT_EQ(choice.file, scratch / "notes.txt");
    EXPECT_EQ(choice.filterIndex, 4);
}

// Reads and closes the next message box: its text and its buttons' captions.
void answerNextMessageBox(QString& text, QStringList& buttons)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &text, &buttons] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;  // the file dialog is still closing
        poll->deleteLater();
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
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

TEST(CommonDialogs, AFailingSaveSpeaksChineseUnderAChineseLocale)
{
    application();
    const ScopedVariable locale("LC_ALL", "zh_CN.UTF-8");
    ASSERT_EQ(systemLanguage(), Language::Chinese);
    const Translators translators(systemLanguage());
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
}

}  // namespace
}  // namespace levara::testing
