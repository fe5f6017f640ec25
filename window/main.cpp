#include <QApplication>
#include <QMessageBox>

#include "window/main_window.h"
#include "window/qt_dialogs.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    levara::QtDialogs dialogs;
    std::filesystem::path programDir;
    try {
        programDir = levara::programDirectory();
    } catch (const levara::Error& error) {
        QMessageBox::critical(nullptr, "Levara", QString::fromStdString(error.what()));
        return 1;
    }
    levara::MainWindow window(dialogs, programDir);
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
