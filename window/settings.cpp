#include "window/settings.h"

#include <QSettings>

namespace levara::settings {

QString lastFolder(const QString& dialog) { return QSettings().value(dialog + "Dialog/folder").toString(); }

void setLastFolder(const QString& dialog, const QString& folder)
{
    QSettings().setValue(dialog + "Dialog/folder", folder);
}

QByteArray windowGeometry() { return QSettings().value("window/geometry").toByteArray(); }

void setWindowGeometry(const QByteArray& geometry) { QSettings().setValue("window/geometry", geometry); }

QByteArray windowState() { return QSettings().value("window/state").toByteArray(); }

void setWindowState(const QByteArray& state) { QSettings().setValue("window/state", state); }

QStringList recentFiles() { return QSettings().value("recentFiles").toStringList().mid(0, kRecentFiles); }

void addRecentFile(const QString& file)
{
    QStringList files = recentFiles();
    files.removeAll(file);
    files.prepend(file);
    QSettings().setValue("recentFiles", files.mid(0, kRecentFiles));
}

QString standardItem() { return QSettings().value("check/standard").toString(); }

void setStandardItem(const QString& item) { QSettings().setValue("check/standard", item); }

QString limitsFile() { return QSettings().value("check/limitsFile").toString(); }

void setLimitsFile(const QString& file) { QSettings().setValue("check/limitsFile", file); }

QString knownPointsFile() { return QSettings().value("adjustment/knownPoints").toString(); }

void setKnownPointsFile(const QString& file) { QSettings().setValue("adjustment/knownPoints", file); }

QString distribution() { return QSettings().value("adjustment/distribution").toString(); }

void setDistribution(const QString& item) { QSettings().setValue("adjustment/distribution", item); }

}  // namespace levara::settings
