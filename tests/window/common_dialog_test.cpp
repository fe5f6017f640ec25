// The real file dialogs, answered offscreen: exact captions and the filter index.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTimer>

#include "qt_application.h"
#include "tests/support/test_files.h"
#include "window/qt_dialogs.h"

namespace levara::testing {
namespace {

struct Seen {
    QString title;
    QStringList filters;
    QString selectedFilter;
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

}  // namespace
}  // namespace levara::testing
