#pragma once
// Levara's one window. The menu runs the commands; the text area holds the text
// they hand over to each other.
#include <QMainWindow>
#include <filesystem>
#include <string>

#include "commands/commands.h"
#include "window/dialogs.h"

class QsciScintilla;

namespace levara {

class MainWindow : public QMainWindow, public Ui {
    Q_OBJECT
public:
    // programDir: the program's own directory, holding the temp folder.
    MainWindow(Dialogs& dialogs, std::filesystem::path programDir, QWidget* parent = nullptr);

    QsciScintilla* textArea() const { return textArea_; }

    // Ui
    const std::string& text() override;
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
    void buildTextArea();
    void buildMenus();
    void buildStatusBar();
    // Runs a menu command; a failure is shown in a message box.
    void run(void (*command)(Commands&));

    Dialogs& dialogs_;
    Commands commands_;
    QsciScintilla* textArea_ = nullptr;
    // The text as last set or read, so an unchanged document is not copied out again.
    std::string shownText_;
};

}  // namespace levara
