#include "language/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace levara {

Translators::Translators(Language language)
{
    if (language == Language::English)
        return;
    auto levara = std::make_unique<QTranslator>();
    if (!levara->load(QStringLiteral(":/i18n/levara_zh_CN.qm"))) {
        loaded_ = false;
        return;
    }
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

std::string translatedSource(const char* source)
{
    return QCoreApplication::translate(kMessageContext, source).toStdString();
}

}  // namespace levara
