#pragma once
// What Levara remembers between runs, in Qt's settings store (QSettings, named in
// main): the last folder of each file dialog, the window's geometry, the files
// opened last and the standard chosen in "检核". Nothing else is remembered.
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

// The "检核" item chosen last: its object name, empty when none is remembered; and
// the limits file chosen last.
QString standardItem();
void setStandardItem(const QString& item);
QString limitsFile();
void setLimitsFile(const QString& file);

}  // namespace levara::settings
