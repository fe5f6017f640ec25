#pragma once
// The window's dialogs: the open and the save dialog, the overwrite and the reduce
// question and the message boxes, which show a message in the user's language.
// Tests put answering dialogs in their place.
#include <filesystem>
#include <string>

#include "commands/commands.h"

namespace levara {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::filesystem::path showOpen() = 0;
    // The limits file of "检核 › 限差文件…". Empty: cancelled.
    virtual std::filesystem::path showOpenLimits() = 0;
    // The known-points file of "保存 › 已知点文件…". Empty: cancelled.
    virtual std::filesystem::path showOpenKnownPoints() = 0;
    virtual SaveChoice showSave(int filterIndex) = 0;
    virtual bool askOverwrite(const std::filesystem::path& file) = 0;
    // arrangeItem: the caption of the "整理" item that would reduce the text.
    virtual ReduceAnswer askReduceFirst(const std::string& arrangeItem) = 0;
    virtual void showNotice(const Message& message) = 0;
    virtual void showError(const Message& message) = 0;
};

}  // namespace levara
