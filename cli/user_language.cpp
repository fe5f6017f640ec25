#include "cli/user_language.h"

#include <dlfcn.h>

#include "commands/commands.h"

namespace levara {

namespace {

constexpr const char* kModule = "levara-cli-language.so";
using StartChinese = SourceTranslation (*)(int* argc, char** argv);

[[noreturn]] void cannotLoad(const char* why)
{
    throw Error(Message(QT_TRANSLATE_NOOP("levara", "cannot load the translation %1"), why ? why : kModule));
}

}  // namespace

void speakUsersLanguage(int& argc, char** argv)
{
    if (systemLanguage() == Language::English)
        return;
    // Never closed: Qt stays until the process ends.
    void* module = dlopen((programDirectory() / kModule).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        cannotLoad(dlerror());
    const auto start = reinterpret_cast<StartChinese>(dlsym(module, "levaraCliChinese"));
    if (!start)
        cannotLoad(dlerror());
    const SourceTranslation translation = start(&argc, argv);
    if (!translation)
        cannotLoad("levara_zh_CN.qm");
    setSourceTranslation(translation);
}

}  // namespace levara
