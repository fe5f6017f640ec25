#pragma once
// Dialogs that answer from a script, for driving the real window in tests.
#include <QApplication>
#include <deque>
#include <functional>

#include "window/dialogs.h"

namespace levara::testing {

class FakeDialogs : public Dialogs {
public:
    std::deque<std::filesystem::path> openAnswers;
    std::deque<std::filesystem::path> limitsAnswers;
    std::deque<std::filesystem::path> knownPointsAnswers;
    std::deque<SaveChoice> saveAnswers;
    std::deque<bool> overwriteAnswers;
    std::deque<FilterAnswer> filterAnswers;
    // None scripted: the text is discarded, as the tests that do not ask about it expect.
    std::deque<UnsavedTextAnswer> unsavedTextAnswers;

    std::vector<int> savePresets;                      // the type each save dialog opened on
    std::vector<std::filesystem::path> saveProposals;  // the name each proposed
    std::vector<std::filesystem::path> overwriteQuestions;
    std::vector<bool> overwriteOfOpenFile;      // whether each named the open raw file
    std::vector<std::string> unsavedQuestions;  // the text's file each named
    std::vector<std::string> filterQuestions;   // the "整理" item each offered
    std::vector<std::string> notices;
    std::vector<std::string> errors;
    std::vector<bool> busyWhileAsked;  // whether the hourglass showed when a dialog came up

    std::filesystem::path showOpen() override
    {
        noteBusy();
        return take(openAnswers);
    }
    std::filesystem::path showOpenLimits() override { return take(limitsAnswers); }
    std::filesystem::path showOpenKnownPoints() override { return take(knownPointsAnswers); }
    SaveChoice showSave(int filterIndex, const std::filesystem::path& proposed) override
    {
        noteBusy();
        savePresets.push_back(filterIndex);
        saveProposals.push_back(proposed);
        return take(saveAnswers);
    }
    bool askOverwrite(const std::filesystem::path& file, bool openFile) override
    {
        overwriteQuestions.push_back(file);
        overwriteOfOpenFile.push_back(openFile);
        return take(overwriteAnswers);
    }
    UnsavedTextAnswer askUnsavedText(const std::string& textName) override
    {
        unsavedQuestions.push_back(textName);
        if (unsavedTextAnswers.empty())
            return UnsavedTextAnswer::Discard;
        return take(unsavedTextAnswers);
    }
    FilterAnswer askFilterFirst(const std::string& arrangeItem) override
    {
        filterQuestions.push_back(arrangeItem);
        return take(filterAnswers);
    }
    std::deque<std::optional<leveling::ObservationOrder>> orderAnswers;
    std::vector<int> orderQuestions;  // the line each named
    std::deque<std::string> findAnswers;
    std::deque<int> lineAnswers;
    std::vector<QString> shown;  // help and about texts

    std::optional<leveling::ObservationOrder> askOrder(int line) override
    {
        orderQuestions.push_back(line);
        return take(orderAnswers);
    }
    std::deque<std::optional<books::WorkbookKind>> bookAnswers;
    std::vector<std::string> bookQuestions;                    // the problem each said, in English
    std::vector<std::vector<books::WorkbookKind>> bookOffers;  // the books each offered
    std::optional<books::WorkbookKind> askFittingBook(const Message& problem,
                                                      const std::vector<books::WorkbookKind>& fitting) override
    {
        bookQuestions.push_back(problem.english());
        bookOffers.push_back(fitting);
        return take(bookAnswers);
    }
    std::string askFindText(const std::string&) override { return take(findAnswers); }
    int askLine(int, int) override { return take(lineAnswers); }
    void showHelp(const QString& markdown) override { shown.push_back(markdown); }
    void showAbout(const QString& text) override { shown.push_back(text); }
    // Kept in English.
    void showNotice(const Message& message) override { notices.push_back(message.english()); }
    void showError(const Message& message) override
    {
        noteBusy();
        errors.push_back(message.english());
    }
    // Kept with the errors, and counted.
    void showWarning(const Message& message) override
    {
        ++warnings;
        showError(message);
    }
    int warnings = 0;

private:
    void noteBusy()
    {
        const QCursor* cursor = QApplication::overrideCursor();
        busyWhileAsked.push_back(cursor && cursor->shape() == Qt::WaitCursor);
    }
    template <typename T>
    static T take(std::deque<T>& answers)
    {
        if (answers.empty()) {
            ADD_FAILURE() << "a dialog came up that the test did not expect";
            return T{};
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace levara::testing
