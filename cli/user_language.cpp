#include "cli/user_language.h"

#include <dlfcn.h>

#include "commands/commands.h"

namespace levara {

namespace {

constexpr const char* kModule = "levara-cli-language.so";
using StartChinese = SourceTranslation (*)(int* argc, char** argv);

Message cannotLoad(const char* why)
{
    return Message(QT_TRANSLATE_NOOP("levara", "cannot load the translation %1"), why ? why : kModule);
}

}  // namespace

std::optional<Message> speakUsersLanguage(int& argc, char** argv)
{
    if (systemLanguage() == Language::English)
        return std::nullopt;
    std::filesystem::path moduleFile;
    try {
        moduleFile = programDirectory() / kModule;
    } catch (const Error& error) {
        return error.message();
    }
    // Never closed: Qt stays until the process ends.
    void* module = dlopen(moduleFile.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return cannotLoad(dlerror());
    const auto start = reinterpret_cast<StartChinese>(dlsym(module, "levaraCliChinese"));
    if (!start)
        return cannotLoad(dlerror());
    const SourceTranslation translation = start(&argc, argv);
    if (!translation)
        return cannotLoad("levara_zh_CN.qm");
    setSourceTranslation(translation);
    return std::nullopt;
}

}  // namespace levara
