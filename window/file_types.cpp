#include "window/file_types.h"

#include <QFileInfo>

#include "language/language.h"

namespace levara {

QString FileTypes::type(const QFileInfo& info) const
{
    if (info.isDir())
        return translatedText(Message(QT_TRANSLATE_NOOP("levara", "Folder")));
    if (const QString suffix = info.suffix(); !suffix.isEmpty())
        return translatedText(Message(QT_TRANSLATE_NOOP("levara", "%1 File"), suffix.toStdString()));
    return translatedText(Message(QT_TRANSLATE_NOOP("levara", "File")));
}

}  // namespace levara
