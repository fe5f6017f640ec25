#include <QApplication>
#include <QMessageBox>

#include "window/form1.h"
#include "window/qt_dialogs.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    levara::QtDialogs dialogs;
    std::filesystem::path FilePosition;
    try {
        FilePosition = levara::programDirectory();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, "Levara", QString::fromStdString(error.what()));
        return 1;
    }
    levara::Form1 form(dialogs, FilePosition);
    dialogs.setParent(&form);
    form.show();
    return app.exec();
}
