#pragma once
// language: Qt's translators, which put Levara's messages (records/message.h) into
// the user's language for the window and levara-cli. Built position-independent on
// Qt alone, so that levara-cli can load it as a module when it has something to say.
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "commands/commands.h"

class QTranslator;

namespace levara {

// Levara's own translation (built in) and, for Chinese, Qt's own for its dialogs
// (Debian's qt6-translations-l10n), installed in the running QCoreApplication while
// the object lives. English needs none: the sources are English.
class Translators {
public:
    explicit Translators(Language language);
    ~Translators();
    Translators(const Translators&) = delete;
    Translators& operator=(const Translators&) = delete;

    // False when Levara's own translation could not be loaded.
    bool loaded() const { return loaded_; }

private:
    std::vector<std::unique_ptr<QTranslator>> installed_;
    bool loaded_ = true;
};

// A message's source text in the installed language: the source translation the
// front ends give records (setSourceTranslation).
std::string translatedSource(const char* source);

// The message in the user's language, for Qt's widgets.
inline QString translatedText(const Message& message) { return QString::fromStdString(translated(message)); }

// The failure to report when Translators are not loaded.
inline Message translationMissing()
{
    return Message(QT_TRANSLATE_NOOP("levara", "cannot load the translation %1"), "levara_zh_CN.qm");
}

}  // namespace levara
