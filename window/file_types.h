#pragma once
// The type column of the file dialogs, in the user's language: Qt's own words for it
// ("Folder", "dat File") have no Chinese translation.
#include <QFileIconProvider>

namespace levara {

class FileTypes : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override;
};

}  // namespace levara
