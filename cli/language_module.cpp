// levara-cli's Qt, a module of its own: levara-cli loads it (user_language.cpp) only
// when it has something to say in Chinese, since starting Qt takes longer than a
// whole text save.
#include <QCoreApplication>
#include <iostream>

#include "language/language.h"

namespace {

// stderr carries levara-cli's own line only: Qt's remarks, such as its switch to a
// UTF-8 locale when the user has none, are left out.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "levara-cli: " << message.toStdString() << '\n';
}

}  // namespace

// Starts Qt with Levara's Chinese translation; the messages' source translation, or
// null when the translation cannot be loaded. argc and argv are main's.
extern "C" __attribute__((visibility("default"))) levara::SourceTranslation levaraCliChinese(int* argc, char** argv)
{
    qInstallMessageHandler(quietQt);
    // Both live until the process ends: messages are translated until then.
    static const QCoreApplication* const application = new QCoreApplication(*argc, argv);
    static const levara::Translators* const translators = new levara::Translators(levara::Language::Chinese);
    (void)application;
    return translators->loaded() ? levara::translatedSource : nullptr;
}
