#pragma once
// The window's dialogs: the open and the save dialog, the overwrite, filter and
// unsaved-text questions and the message boxes, which show a message in the user's
// language.
// Tests put answering dialogs in their place.
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "commands/commands.h"

namespace levara {

// The answer to the question asked before an edited text is closed or replaced.
enum class UnsavedTextAnswer { Save, Discard, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::filesystem::path showOpen() = 0;
    // The limits file of "检核 › 限差文件…". Empty: cancelled.
    virtual std::filesystem::path showOpenLimits() = 0;
    // The known-points file of "保存 › 已知点文件…". Empty: cancelled.
    virtual std::filesystem::path showOpenKnownPoints() = 0;
    // proposed: the folder and name without extension the dialog offers, the type's
    // extension added; empty: the last folder and no name.
    virtual SaveChoice showSave(int filterIndex, const std::filesystem::path& proposed) = 0;
    // openFile: file is the raw file the text was opened from.
    virtual bool askOverwrite(const std::filesystem::path& file, bool openFile) = 0;
    // textName: the file the text came from, or empty for a text of no file.
    virtual UnsavedTextAnswer askUnsavedText(const std::string& textName) = 0;
    // arrangeItem: the caption of the "整理" item that would filter the text.
    virtual FilterAnswer askFilterFirst(const std::string& arrangeItem) = 0;
    // The order of the stations of the leveling line whose Start-Line record is line
    // (or that starts there) and names none Levara reads; none when cancelled.
    virtual std::optional<leveling::ObservationOrder> askOrder(int line) = 0;
    // A field book the observations contradict (problem says where and how): which of
    // the books that fit to save instead; none when cancelled.
    virtual std::optional<books::WorkbookKind> askFittingBook(const Message& problem,
                                                              const std::vector<books::WorkbookKind>& fitting) = 0;
    // "查找…": the text to find, empty when cancelled.
    virtual std::string askFindText(const std::string& last) = 0;
    // "转到行…": a line from 1 to lines, 0 when cancelled.
    virtual int askLine(int current, int lines) = 0;
    // "使用说明": the README's part for users, in Markdown.
    virtual void showHelp(const QString& markdown) = 0;
    virtual void showAbout(const QString& text) = 0;
    virtual void showNotice(const Message& message) = 0;
    virtual void showError(const Message& message) = 0;
    // Guidance rather than a fault: what to choose or do first (the warning icon).
    virtual void showWarning(const Message& message) = 0;
};

}  // namespace levara
