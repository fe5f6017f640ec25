#include "window/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "language/language.h"

namespace levara {

const char* const kOpenFilter = "DAT(*.dat)|*.dat|TXT(*.txt)|*.txt|GSI(*.gsi)|*.gsi|所有文件(*.*)|*.*";
const char* const kSaveFilter =
    "EXCEL(*.xls)|*.xls|CSV(*.csv)|*.csv|DAT(*.dat)|*.dat|XML(*.xml)|*.xml|所有文件（*.*)|*.*";

namespace {

// A dialog must show the normal pointer even while a command holds the busy one.
class NormalPointer {
public:
    NormalPointer() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~NormalPointer() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

QtDialogs::QtDialogs()
    : openDialog_("打开文件", kOpenFilter, "open"), saveDialog_("保存文件", kSaveFilter, "save", "txt"),
      limitsDialog_("打开限差文件", "JSON(*.json)|*.json|所有文件(*.*)|*.*", "limits"),
      knownPointsDialog_("打开已知点文件", "TXT(*.txt)|*.txt|CSV(*.csv)|*.csv|所有文件(*.*)|*.*", "knownPoints")
{
}

std::filesystem::path QtDialogs::showOpenLimits()
{
    NormalPointer pointer;
    return limitsDialog_.show(parent_, CommonDialog::Mode::Open).toStdString();
}

std::filesystem::path QtDialogs::showOpenKnownPoints()
{
    NormalPointer pointer;
    return knownPointsDialog_.show(parent_, CommonDialog::Mode::Open).toStdString();
}

std::filesystem::path QtDialogs::showOpen()
{
    openDialog_.clearFileName();
    return openDialog_.show(parent_, CommonDialog::Mode::Open).toStdString();
}

SaveChoice QtDialogs::showSave(int filterIndex, const std::filesystem::path& proposed)
{
    NormalPointer pointer;
    saveDialog_.setFilterIndex(filterIndex);
    // The name saved last, of whatever kind, is no proposal.
    saveDialog_.clearFileName();
    saveDialog_.propose(QString::fromStdString(proposed.string()));
    const QString file = saveDialog_.show(parent_, CommonDialog::Mode::Save);
    return {file.toStdString(), saveDialog_.filterIndex()};
}

bool QtDialogs::askOverwrite(const std::filesystem::path& file, bool openFile)
{
    NormalPointer pointer;
    const Message question =
        openFile ? Message(QT_TRANSLATE_NOOP("levara", "%1 already exists: it is the raw file open in the window. "
                                                       "Replacing it loses the file as it was read.\n\nReplace it?"),
                           file)
                 : Message(QT_TRANSLATE_NOOP("levara", "%1 already exists.\n\nReplace it?"), file);
    QMessageBox box(QMessageBox::Warning, "Levara", translatedText(question), QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

UnsavedTextAnswer QtDialogs::askUnsavedText(const std::string& textName)
{
    NormalPointer pointer;
    const Message question =
        textName.empty()
            ? Message(QT_TRANSLATE_NOOP("levara", "The text has changes that are not saved. Save the text?"))
            : Message(QT_TRANSLATE_NOOP("levara", "The text of %1 has changes that are not saved. Save the text?"),
                      textName);
    QMessageBox box(QMessageBox::Warning, "Levara", translatedText(question),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return UnsavedTextAnswer::Save;
    case QMessageBox::Discard: return UnsavedTextAnswer::Discard;
    default: return UnsavedTextAnswer::Cancel;
    }
}

FilterAnswer QtDialogs::askFilterFirst(const std::string& arrangeItem)
{
    NormalPointer pointer;
    QMessageBox box(QMessageBox::Question, "Levara",
                    translatedText(Message(QT_TRANSLATE_NOOP("levara", "The text still holds lines that %1 leaves out; "
                                                                       "a workbook saved from them may be wrong.\n\n"
                                                                       "Reduce the text first?"),
                                           "整理 › " + arrangeItem)),
                    QMessageBox::Cancel, parent_);
    QPushButton* filter = box.addButton(translatedText(Message(QT_TRANSLATE_NOOP("levara", "Reduce, then save"))),
                                        QMessageBox::AcceptRole);
    QPushButton* asItIs =
        box.addButton(translatedText(Message(QT_TRANSLATE_NOOP("levara", "Save as it is"))), QMessageBox::AcceptRole);
    box.setDefaultButton(filter);
    box.exec();
    if (box.clickedButton() == filter)
        return FilterAnswer::Filter;
    if (box.clickedButton() == asItIs)
        return FilterAnswer::SaveAsItIs;
    return FilterAnswer::Cancel;
}

std::optional<leveling::ObservationOrder> QtDialogs::askOrder(int line)
{
    NormalPointer pointer;
    constexpr leveling::ObservationOrder kMethods[] = {leveling::ObservationOrder::BFFB,
                                                       leveling::ObservationOrder::BBFF,
                                                       leveling::ObservationOrder::BFBF, leveling::ObservationOrder::BF,
                                                       leveling::ObservationOrder::aBFFB};
    QStringList names;
    for (const leveling::ObservationOrder method : kMethods)
        names << QString::fromUtf8(leveling::orderName(method).data(), qsizetype(leveling::orderName(method).size()));
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        parent_, "观测顺序",
        translatedText(Message(QT_TRANSLATE_NOOP("levara", "The leveling line at line %1 names no observation order "
                                                           "Levara reads. In which order were its stations read?"),
                               line)),
        names, 0, false, &ok);
    if (!ok)
        return std::nullopt;
    return kMethods[names.indexOf(chosen)];
}

std::optional<books::WorkbookKind> QtDialogs::askFittingBook(const Message& problem,
                                                             const std::vector<books::WorkbookKind>& fitting)
{
    NormalPointer pointer;
    QMessageBox box(QMessageBox::Warning, "Levara",
                    translatedText(
                        Message(QT_TRANSLATE_NOOP("levara", "%1\n\nSave a book that fits instead?"), problem)),
                    QMessageBox::Cancel, parent_);
    std::vector<QPushButton*> buttons;
    for (const books::WorkbookKind kind : fitting)
        buttons.push_back(box.addButton(books::workbookKind(kind).caption, QMessageBox::AcceptRole));
    box.setDefaultButton(buttons.front());
    box.exec();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return fitting[i];
    return std::nullopt;
}

std::string QtDialogs::askFindText(const std::string& last)
{
    NormalPointer pointer;
    return QInputDialog::getText(parent_, "查找", translatedText(Message(QT_TRANSLATE_NOOP("levara", "Find:"))),
                                 QLineEdit::Normal, QString::fromStdString(last))
        .toStdString();
}

int QtDialogs::askLine(int current, int lines)
{
    NormalPointer pointer;
    bool ok = false;
    const int line =
        QInputDialog::getInt(parent_, "转到行",
                             translatedText(Message(QT_TRANSLATE_NOOP("levara", "Line (1 to %1):"), lines)), current, 1,
                             std::max(1, lines), 1, &ok);
    return ok ? line : 0;
}

void QtDialogs::showHelp(const QString& markdown)
{
    QDialog dialog(parent_);
    dialog.setWindowTitle("使用说明");
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QTextBrowser(&dialog);
    text->setMarkdown(markdown);
    layout->addWidget(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    // A readable column of text, most of the screen high.
    dialog.resize(text->fontMetrics().horizontalAdvance(QString(90, '0')), parent_ ? parent_->height() : 600);
    dialog.exec();
}

void QtDialogs::showAbout(const QString& text) { QMessageBox::about(parent_, "关于 Levara", text); }

void QtDialogs::showNotice(const Message& message)
{
    NormalPointer pointer;
    QMessageBox::information(parent_, "Levara", translatedText(message));
}

void QtDialogs::showWarning(const Message& message)
{
    NormalPointer pointer;
    QMessageBox::warning(parent_, "Levara", translatedText(message));
}

void QtDialogs::showError(const Message& message)
{
    NormalPointer pointer;
    QMessageBox::critical(parent_, "Levara", translatedText(message));
}

}  // namespace levara
