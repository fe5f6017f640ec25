#include "commands/language.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace levara {

namespace {

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The language part of a locale or LANGUAGE entry: "zh" of "zh_CN.UTF-8".
std::string_view languageCode(std::string_view name) { return name.substr(0, name.find_first_of("_.@")); }

}  // namespace

LocaleVariables LocaleVariables::fromEnvironment()
{
    return {variable("LANGUAGE"), variable("LC_ALL"), variable("LC_MESSAGES"), variable("LANG")};
}

Language languageFor(const LocaleVariables& variables)
{
    std::string_view list = variables.language;
    while (!list.empty()) {
        const std::string_view entry = list.substr(0, list.find(':'));
        list.remove_prefix(std::min(list.size(), entry.size() + 1));
        if (languageCode(entry) == "en")
            return Language::English;
        if (languageCode(entry) == "zh")
            return Language::Chinese;
    }
    for (const std::string* locale : {&variables.lcAll, &variables.lcMessages, &variables.lang}) {
        if (locale->empty())
            continue;
        return languageCode(*locale) == "en" ? Language::English : Language::Chinese;
    }
    return Language::Chinese;
}

}  // namespace levara
