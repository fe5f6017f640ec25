#pragma once
// What Levara remembers between runs, in Qt's settings store (QSettings, named in
// main): the last folder of each file dialog, the window's geometry and the files
// opened last. Nothing else is remembered.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace levara::settings {

// dialog: "open" or "save". Empty when none is remembered.
QString lastFolder(const QString& dialog);
void setLastFolder(const QString& dialog, const QString& folder);

QByteArray windowGeometry();
void setWindowGeometry(const QByteArray& geometry);

inline constexpr int kRecentFiles = 8;
// Newest first, at most kRecentFiles.
QStringList recentFiles();
// Puts file first, once.
void addRecentFile(const QString& file);

}  // namespace levara::settings
