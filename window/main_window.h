#pragma once
// Levara's one window. The menu runs the commands; the text area holds the text
// they hand over to each other.
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "commands/commands.h"
#include "window/dialogs.h"

class QActionGroup;
class QLabel;
class QMenu;
class QsciScintilla;

namespace levara {

class CheckPanel;

class MainWindow : public QMainWindow, public Ui {
    Q_OBJECT
public:
    // programDir: the program's own directory, holding the temp folder. The window
    // takes its size and place from the last run, or shows a whole raw line.
    MainWindow(Dialogs& dialogs, std::filesystem::path programDir, QWidget* parent = nullptr);

    QsciScintilla* textArea() const { return textArea_; }
    CheckPanel* checkPanel() const { return checkPanel_; }

    // Opens file as "打开" does: a dropped file, a recent one, the command line's. An
    // edited text is asked about first.
    void openFile(const std::filesystem::path& file);

    // Ui
    const std::string& text() override;
    void setText(std::string text) override;
    void replaceText(std::string text) override;
    void setSharedText(std::shared_ptr<const std::string> text) override;
    void replaceBySharedText(std::shared_ptr<const std::string> text) override;
    bool textEdited() override { return edited_; }
    std::filesystem::path chooseFileToOpen() override { return dialogs_.showOpen(); }
    SaveChoice chooseFileToSave(int filterIndex) override;
    bool confirmOverwrite(const std::filesystem::path& file) override;
    void textSaved() override;
    FilterAnswer askFilterFirst(RecordFilter filter) override;
    void notify(const Message& message) override { dialogs_.showNotice(message); }
    void showStatus(const Message& status) override;
    void clearStatus() override;
    void setBusy(bool busy) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Files dropped on the text area are opened, not inserted as text.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTextArea();
    void buildMenus();
    void buildCheckMenu();
    // "编辑": 查找 (Ctrl+F, F3 for the next) and 转到行 (Ctrl+G).
    void buildEditMenu();
    // ask: the text to find is asked for, else the last one is found again.
    void find(bool ask);
    // "帮助": 使用说明 (the README's part for users) and 关于 Levara.
    void buildHelpMenu();
    // The 高差配赋表 and the files for adjustment software after the save items, with
    // the known-points file and the distribution they use.
    void buildAdjustmentItems(QMenu* save);
    void chooseKnownPoints(const std::filesystem::path& file);
    // The "检核" item named item is chosen: its standard is the commands' and is
    // remembered. A limits file that cannot be read is reported and nothing changes.
    void chooseStandard(const QString& item, bool remember);
    // "检核当前文本", asking for the order of a leveling line that names none.
    leveling::CheckReport checkWithOrder();
    // "保存 › 线路手薄(…)": a book the observations contradict is refused, and the books
    // that fit are offered instead.
    void saveFieldBook(books::WorkbookKind kind);
    // Ends a command the user cancelled.
    struct Cancelled {};
    void buildStatusBar();
    void fillRecentMenu();
    QSize startSize() const;
    // Runs a menu command; a failure is shown in a message box, its line selected.
    void run(const std::function<void()>& command);
    // Runs a save command whose dialog proposes the open file's name with kind added.
    void runSave(const char* kind, const std::function<void()>& command);
    // The file is open: its name in the title, it first in the recent files.
    void opened(const std::filesystem::path& file);
    // The text in the text area, its NUL and other bytes kept; undoable or not.
    void putText(const std::string& text, bool undoable);
    // The open file's name, and "*" while the text holds changes not saved.
    void showTitle();
    // Before an edited text is closed or replaced: saved, discarded, or false to keep it.
    bool mayDiscardText();
    // focus: the text area takes the keyboard, as after an error.
    void selectLine(int line, bool focus = true);

    Dialogs& dialogs_;
    Commands commands_;
    QsciScintilla* textArea_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QLabel* firstPanel_ = nullptr;
    QActionGroup* standards_ = nullptr;
    QAction* knownPoints_ = nullptr;
    CheckPanel* checkPanel_ = nullptr;
    QString commandsStandardItem_;  // the "检核" item whose standard the commands hold
    // The text as last set or read, so an unchanged document is not copied out again.
    // Shared with the commands when it is the file as opened.
    std::shared_ptr<const std::string> shownText_ = std::make_shared<const std::string>();
    bool textChanged_ = false;  // since shownText_ was taken
    bool edited_ = false;       // by the user, since a command set the text
    bool puttingText_ = false;
    std::filesystem::path openedFile_;             // absolute; empty until a file is opened
    const char* saveKind_ = nullptr;               // of the save running, for its proposed name
    std::optional<leveling::CheckReport> report_;  // the panel's
    QAction* lastSave_ = nullptr;                  // the save item Ctrl+S repeats
    std::string findText_;
    bool panelPlaced_ = false;  // its width remembered
};

}  // namespace levara
