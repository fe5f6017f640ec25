#pragma once
// A file dialog that remembers its file name and filter index between uses, as the
// window's two common dialogs do.
#include <QString>
#include <QStringList>

class QWidget;

namespace levara {

class CommonDialog {
public:
    enum class Mode { Open, Save };

    // filter: description|pattern pairs, e.g. "DAT(*.dat)|*.dat|TXT(*.txt)|*.txt".
    CommonDialog(QString title, const QString& filter, QString defaultExt = {});

    // Shows the dialog; returns the chosen file, empty when cancelled.
    QString show(QWidget* parent, Mode mode);

    QString DialogTitle;
    QString FileName;
    int FilterIndex = 1;  // from 1
    QString DefaultExt;

    // The descriptions exactly as given, each with the pattern the dialog filters by.
    const QStringList& descriptions() const { return descriptions_; }
    const QStringList& nameFilters() const { return nameFilters_; }

private:
    QStringList descriptions_;
    QStringList nameFilters_;
};

}  // namespace levara
