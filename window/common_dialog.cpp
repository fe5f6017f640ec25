#include "window/common_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QScreen>

#include "window/file_types.h"
#include "window/settings.h"

namespace levara {

CommonDialog::CommonDialog(QString title, const QString& filter, QString name, QString allFilesSuffix)
    : title_(std::move(title)), name_(std::move(name))
{
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        descriptions_ << parts[i];
        // "*.*" means every file where the filters come from; here that is "*".
        QString patterns = parts[i + 1];
        suffixes_ << (patterns == "*.*" ? allFilesSuffix : patterns.section(';', 0, 0).section('.', 1));
        patterns.replace(';', ' ');
        if (patterns == "*.*")
            patterns = "*";
        // Qt reads the patterns from the last "(...)"; with the details hidden it then
        // shows the description exactly as given, full-width parenthesis included.
        nameFilters_ << parts[i] + " (" + patterns + ")";
    }
}

QString CommonDialog::show(QWidget* parent, Mode mode)
{
    QFileDialog dialog(parent, title_);
    FileTypes types;
    dialog.setIconProvider(&types);
    // Room for long names, sizes and types: 100 characters by 25 lines, within the screen.
    const QSize room(dialog.fontMetrics().horizontalAdvance(QString(100, '0')), 25 * dialog.fontMetrics().height());
    dialog.resize(room.boundedTo(dialog.screen()->availableGeometry().size() * 9 / 10).expandedTo(dialog.sizeHint()));
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                      QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode == Mode::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode == Mode::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters_);
    if (filterIndex_ >= 1 && filterIndex_ <= nameFilters_.size())
        dialog.selectNameFilter(nameFilters_[filterIndex_ - 1]);
    if (!proposed_.isEmpty()) {
        const QString suffix =
            filterIndex_ >= 1 && filterIndex_ <= suffixes_.size() ? suffixes_[filterIndex_ - 1] : QString();
        dialog.setDirectory(QFileInfo(proposed_).absolutePath());
        dialog.selectFile(suffix.isEmpty() ? proposed_ : proposed_ + '.' + suffix);
    } else if (!fileName_.isEmpty()) {
        dialog.selectFile(fileName_);
    } else if (const QString folder = settings::lastFolder(name_); QFileInfo(folder).isDir()) {
        dialog.setDirectory(folder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    // With the details hidden Qt reports the filter as shown, the description alone.
    const QString selected = dialog.selectedNameFilter();
    qsizetype index = descriptions_.indexOf(selected);
    if (index < 0)
        index = nameFilters_.indexOf(selected);
    if (index >= 0)
        filterIndex_ = int(index) + 1;
    fileName_ = dialog.selectedFiles().constFirst();
    // Qt's default suffix is one for every type; the chosen type's is added instead,
    // by Qt's rule: to a name without a dot.
    if (mode == Mode::Save && index >= 0 && !suffixes_[index].isEmpty() &&
        !QFileInfo(fileName_).fileName().contains('.'))
        fileName_ += '.' + suffixes_[index];
    settings::setLastFolder(name_, QFileInfo(fileName_).absolutePath());
    return fileName_;
}

}  // namespace levara
