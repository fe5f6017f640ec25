#pragma once
// levara-cli's messages in the user's language. English is the messages' own; for
// Chinese, Qt's translators are loaded from the module levara-cli-language.so beside
// the program (language_module.cpp), only when there is something to say.

namespace levara {

// Throws Error when the module or its translation cannot be loaded. argc and argv
// are main's.
void speakUsersLanguage(int& argc, char** argv);

}  // namespace levara
