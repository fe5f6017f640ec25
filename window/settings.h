#pragma once
// What Levara remembers between runs, in Qt's settings store (QSettings, named in
// main): the last folder of each file dialog, the window's geometry, the files
// opened last, the check panel's width, the standard chosen in "检核", and the known-points file and the
// distribution of the 高差配赋表. Nothing else is remembered.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace levara::settings {

// dialog: "open" or "save". Empty when none is remembered.
QString lastFolder(const QString& dialog);
void setLastFolder(const QString& dialog, const QString& folder);

QByteArray windowGeometry();
void setWindowGeometry(const QByteArray& geometry);
// The check panel's place and width beside the text.
QByteArray windowState();
void setWindowState(const QByteArray& state);

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

// The known-points file chosen last, empty when none; the distribution, "byDistance"
// or "byStations", empty when none is remembered.
QString knownPointsFile();
void setKnownPointsFile(const QString& file);
QString distribution();
void setDistribution(const QString& item);

}  // namespace levara::settings
