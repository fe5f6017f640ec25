#pragma once
// Form1: Levara's one window. The menu runs the commands; the text area holds the
// text they hand over to each other.
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <string>

#include "commands/commands.h"
#include "window/dialogs.h"

class QLabel;
class QsciScintilla;
class QStatusBar;

namespace levara {

class Form1 : public QMainWindow, public Ui {
    Q_OBJECT
public:
    // FilePosition: the program's own directory, holding the temp folder.
    Form1(Dialogs& dialogs, std::filesystem::path FilePosition, QWidget* parent = nullptr);

    QsciScintilla* RichTextBox1() const { return RichTextBox1_; }
    QStatusBar* sbar() const { return sbar_; }
    Commands& commands() { return commands_; }

    // Ui
    std::string text() override;
    void setText(std::string text) override;
    std::filesystem::path chooseFileToOpen() override { return dialogs_.showOpen(); }
    SaveChoice chooseFileToSave(std::optional<int> presetFilterIndex) override
    {
        return dialogs_.showSave(presetFilterIndex);
    }
    bool confirmOverwrite(const std::filesystem::path& file) override { return dialogs_.askOverwrite(file); }
    void notify(const std::string& message) override { dialogs_.showNotice(message); }
    void setBusy(bool busy) override;

private:
    void buildMenus();
    void buildStatusBar();
    // Runs a menu command; a failure is shown in a message box.
    void run(void (Commands::*command)());

    Dialogs& dialogs_;
    Commands commands_;
    QsciScintilla* RichTextBox1_;
    QStatusBar* sbar_;
    // The text as last set or read, so an unchanged document is not copied out again.
    std::string shownText_;
};

}  // namespace levara
