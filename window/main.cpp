#include <QApplication>
#include <QMessageBox>
#include <optional>

#include "window/main_window.h"
#include "window/qt_dialogs.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::optional<levara::Translators> translators;
    std::filesystem::path programDir;
    try {
        translators.emplace(levara::systemLanguage());
        programDir = levara::programDirectory();
    } catch (const levara::Error& error) {
        QMessageBox::critical(nullptr, "Levara", levara::translated(error.message()));
        return 1;
    }
    levara::QtDialogs dialogs;
    levara::MainWindow window(dialogs, programDir);
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}
