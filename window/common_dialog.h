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
    // defaultSuffix is added to a name typed without one.
    CommonDialog(QString title, const QString& filter, QString defaultSuffix = {});

    // Shows the dialog; returns the chosen file, empty when cancelled.
    QString show(QWidget* parent, Mode mode);

    // Forgets the file chosen last, which the dialog would offer again.
    void clearFileName() { fileName_.clear(); }
    // The filter chosen last, from 1; the dialog opens on it.
    int filterIndex() const { return filterIndex_; }
    void setFilterIndex(int index) { filterIndex_ = index; }

private:
    QString title_;
    QString defaultSuffix_;
    QString fileName_;
    int filterIndex_ = 1;
    // The descriptions exactly as given, each with the pattern the dialog filters by.
    QStringList descriptions_;
    QStringList nameFilters_;
};

}  // namespace levara
