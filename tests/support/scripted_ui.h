#pragma once
// A Ui that answers the commands' dialogs from a script, without a window.
#include <gtest/gtest.h>

#include <deque>

#include "commands/commands.h"

namespace levara::testing {

class ScriptedUi : public Ui {
public:
    std::string shownText;
    std::deque<SaveChoice> saveAnswers;
    std::deque<bool> overwriteAnswers;
    std::vector<std::string> notices;
    std::string status;
    int busyDepth = 0;

    const std::string& text() override { return shownText; }
    void setText(std::string text) override { shownText = std::move(text); }
    std::filesystem::path chooseFileToOpen() override { return openAnswer; }
    SaveChoice chooseFileToSave(int) override
    {
        if (saveAnswers.empty()) {
            ADD_FAILURE() << "unexpected save dialog";
            return {};
        }
        SaveChoice answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    bool confirmOverwrite(const std::filesystem::path&) override
    {
        if (overwriteAnswers.empty()) {
            ADD_FAILURE() << "unexpected overwrite question";
            return false;
        }
        const bool answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }
    // As levara-cli answers: the tests choose their texts.
    FilterAnswer askFilterFirst(RecordFilter) override { return FilterAnswer::SaveAsItIs; }
    void notify(const Message& message) override { notices.push_back(message.english()); }
    void showStatus(const Message& text) override { status = text.english(); }
    void clearStatus() override { status.clear(); }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

    std::filesystem::path openAnswer;
};

}  // namespace levara::testing
