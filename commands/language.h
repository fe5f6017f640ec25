#pragma once
// The language Levara speaks to its user, for both front ends: which one. The front
// ends put messages into it through Qt's translators (language/language.h). Menu
// captions, sheet labels and cell texts are not messages: they read the same in
// every language.
#include <string>

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

}  // namespace levara
