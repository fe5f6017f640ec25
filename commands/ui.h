#pragma once
// What a command needs from whoever runs it: the text area, the file dialogs, the
// overwrite and filter questions, the status text and the busy pointer. The window
// shows real dialogs; levara-cli and the tests answer them.
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "records/records.h"

namespace levara {

// The file a save dialog returned (empty: cancelled) and its filter index, from 1:
// 1 EXCEL(*.xls), 2 CSV(*.csv), 3 DAT(*.dat), 4 XML(*.xml), 5 all files.
struct SaveChoice {
    std::filesystem::path file;
    int filterIndex = 1;
};

inline constexpr int kExcelFilter = 1;
inline constexpr int kCsvFilter = 2;
inline constexpr int kDatFilter = 3;
inline constexpr int kXmlFilter = 4;
inline constexpr int kAllFilesFilter = 5;

// The answer to the question asked before a workbook is saved from a text that the
// matching filter would still change.
enum class FilterAnswer { Filter, SaveAsItIs, Cancel };

class Ui {
public:
    virtual ~Ui() = default;

    // The text area's whole text, UTF-8, its lines ended by CR LF; valid until the
    // text changes.
    virtual const std::string& text() = 0;
    virtual void setText(std::string text) = 0;
    // A command's text in place of the user's ("整理", "恢复原文"): the window keeps the
    // one replaced, to undo.
    virtual void replaceText(std::string text) { setText(std::move(text)); }
    // The same with a text the caller keeps as well (the file as opened, for "恢复原文"):
    // a front end may hold it without a copy of its own.
    virtual void setSharedText(std::shared_ptr<const std::string> text) { setText(*text); }
    virtual void replaceBySharedText(std::shared_ptr<const std::string> text) { replaceText(*text); }
    // Whether the user changed the text since it was set: its lines then no longer
    // come from the file opened.
    virtual bool textEdited() { return false; }

    // The open dialog, its file name cleared first. Empty: cancelled.
    virtual std::filesystem::path chooseFileToOpen() = 0;
    // The save dialog, opening with the name it remembers and the type filterIndex.
    virtual SaveChoice chooseFileToSave(int filterIndex) = 0;
    // Whether file, which exists, may be replaced: Yes (true) or No.
    virtual bool confirmOverwrite(const std::filesystem::path& file) = 0;
    // The text was saved whole ("原始文本"): nothing of it is lost when it is closed.
    virtual void textSaved() {}
    // Asked before the save dialog: the text holds lines that filter, the one the
    // workbook needs, would leave out.
    virtual FilterAnswer askFilterFirst(RecordFilter filter) = 0;
    // A command ended without writing what the user may expect; says why.
    virtual void notify(const Message& message) = 0;
    // What the text area holds or where it was saved last, in the status bar's first
    // panel; clearStatus gives the panel its own text back.
    virtual void showStatus(const Message& status) = 0;
    virtual void clearStatus() = 0;
    // A word about the file just opened that the user must not miss (characters that
    // did not decode): the window shows it as the status, levara-cli on stderr.
    virtual void warn(const Message& warning) { showStatus(warning); }

    // The hourglass pointer while a command writes files.
    virtual void setBusy(bool busy) = 0;
};

// Shows the busy pointer for its lifetime, so every path out of a command restores it.
class BusyPointer {
public:
    explicit BusyPointer(Ui& ui) : ui_(ui) { ui_.setBusy(true); }
    ~BusyPointer() { ui_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Ui& ui_;
};

}  // namespace levara
