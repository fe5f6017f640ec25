#pragma once
// A file dialog that remembers its file name and filter index between uses, as the
// window's two common dialogs do, and its last folder between runs.
#include <QString>
#include <QStringList>

class QWidget;

namespace levara {

class CommonDialog {
public:
    enum class Mode { Open, Save };

    // filter: description|pattern pairs, e.g. "DAT(*.dat)|*.dat|TXT(*.txt)|*.txt".
    // name: the dialog's name in the settings store ("open", "save").
    // A name typed without an extension in a save gets the chosen type's, or
    // allFilesSuffix under "*.*".
    CommonDialog(QString title, const QString& filter, QString name, QString allFilesSuffix = {});

    // Shows the dialog; returns the chosen file, empty when cancelled.
    QString show(QWidget* parent, Mode mode);

    // Forgets the file chosen last, which the dialog would offer again.
    void clearFileName() { fileName_.clear(); }
    // The file offered next: stem, the folder and name without extension, with the
    // extension of the type the dialog opens on; empty: none, in the last folder.
    void propose(const QString& stem) { proposed_ = stem; }
    // The filter chosen last, from 1; the dialog opens on it.
    int filterIndex() const { return filterIndex_; }
    void setFilterIndex(int index) { filterIndex_ = index; }

private:
    QString title_;
    QString name_;
    QString fileName_;
    QString proposed_;
    int filterIndex_ = 1;
    // The descriptions exactly as given, each with the pattern the dialog filters by
    // and the extension a typed name gets under it.
    QStringList descriptions_;
    QStringList nameFilters_;
    QStringList suffixes_;
};

}  // namespace levara
