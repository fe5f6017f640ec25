#pragma once
// The language Levara speaks to its user, for both front ends: which one, the Qt
// translators that speak it, and a message in it. Menu captions, sheet labels and
// cell texts are not messages: they read the same in every language.
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "records/records.h"

class QTranslator;

namespace levara {

enum class Language { Chinese, English };

// The variables the language follows, as the environment holds them ("" unset).
struct LocaleVariables {
    std::string language;  // LANGUAGE, a list like "fr:en"
    std::string lcAll;
    std::string lcMessages;
    std::string lang;

    static LocaleVariables fromEnvironment();
};

// English when the user's language is English, Chinese when it is Chinese, unset
// (no variable, or the C or POSIX locale) or any other: LANGUAGE is searched for the
// first of the two, then the locale of messages (LC_ALL, LC_MESSAGES, LANG) decides.
Language languageFor(const LocaleVariables& variables);
inline Language systemLanguage() { return languageFor(LocaleVariables::fromEnvironment()); }

// Levara's own translation (built into the program) and, for Chinese, Qt's own for
// its dialogs (Debian's qt6-translations-l10n), installed in the running
// QCoreApplication while the object lives. English needs none: the sources are
// English. Throws Error when Levara's translation cannot be loaded.
class Translators {
public:
    explicit Translators(Language language);
    ~Translators();
    Translators(const Translators&) = delete;
    Translators& operator=(const Translators&) = delete;

private:
    std::vector<std::unique_ptr<QTranslator>> installed_;
};

// The message in the installed language, its nested messages translated too and
// each placeholder filled once.
QString translated(const Message& message);

}  // namespace levara
