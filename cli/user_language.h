#pragma once
// levara-cli's messages in the user's language. English is the messages' own; for
// Chinese, Qt's translators are loaded from the module levara-cli-language.so beside
// the program (language_module.cpp), only when there is something to say.
#include <optional>

#include "records/records.h"

namespace levara {

// What kept the user's language from loading, when something did: messages then
// stay English. argc and argv are main's.
std::optional<Message> speakUsersLanguage(int& argc, char** argv);

}  // namespace levara
