#include <QApplication>
#include <QMessageBox>

#include "language/language.h"
#include "window/main_window.h"
#include "window/qt_dialogs.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // An export interrupted by SIGINT or SIGTERM leaves no temporary behind.
    levara::removeTemporariesOnSignals();
    // Where Qt's settings store keeps what the window remembers.
    QCoreApplication::setOrganizationName("Levara");
    QCoreApplication::setApplicationName("levara");
    const levara::Translators translators(levara::systemLanguage());
    levara::setSourceTranslation(levara::translatedSource);
    std::filesystem::path programDir;
    try {
        if (!translators.loaded())
            throw levara::Error(levara::translationMissing());
        programDir = levara::programDirectory();
    } catch (const levara::Error& error) {
        QMessageBox::critical(nullptr, "Levara", levara::translatedText(error.message()));
        return 1;
    }
    levara::QtDialogs dialogs;
    levara::MainWindow window(dialogs, programDir);
    dialogs.setParent(&window);
    window.show();
    // levara FILE opens the file as "打开" would.
    if (const QStringList arguments = QCoreApplication::arguments(); arguments.size() > 1)
        window.openFile(arguments[1].toStdString());
    return app.exec();
}
