#include "commands/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
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

Translators::Translators(Language language)
{
    if (language == Language::English)
        return;
    auto levara = std::make_unique<QTranslator>();
    if (!levara->load(QStringLiteral(":/i18n/levara_zh_CN.qm")))
        throw Error(Message(QT_TRANSLATE_NOOP("levara", "cannot load the translation %1"), "levara_zh_CN.qm"));
    QCoreApplication::installTranslator(levara.get());
    installed_.push_back(std::move(levara));

    // Without Debian's Qt translations Qt's dialogs keep their English buttons;
    // Levara's own messages are still Chinese.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        installed_.push_back(std::move(qt));
    }
}

Translators::~Translators()
{
    for (const auto& translator : installed_)
        QCoreApplication::removeTranslator(translator.get());
}

QString translated(const Message& message)
{
    std::vector<std::string> values;
    values.reserve(message.arguments().size());
    for (const Message::Argument& argument : message.arguments()) {
        if (const auto* nested = std::get_if<Message>(&argument))
            values.push_back(translated(*nested).toStdString());
        else
            values.push_back(std::get<std::string>(argument));
    }
    const QString pattern = QCoreApplication::translate(kMessageContext, message.source());
    return QString::fromStdString(fillPlaceholders(pattern.toStdString(), values));
}

}  // namespace levara
