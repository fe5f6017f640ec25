#pragma once
// The real dialogs of the window.
#include "window/common_dialog.h"
#include "window/dialogs.h"

class QWidget;

namespace levara {

class QtDialogs : public Dialogs {
public:
    QtDialogs();
    void setParent(QWidget* parent) { parent_ = parent; }

    std::filesystem::path showOpen() override;
    std::filesystem::path showOpenLimits() override;
    std::filesystem::path showOpenKnownPoints() override;
    SaveChoice showSave(int filterIndex, const std::filesystem::path& proposed) override;
    bool askOverwrite(const std::filesystem::path& file, bool openFile) override;
    UnsavedTextAnswer askUnsavedText(const std::string& textName) override;
    FilterAnswer askFilterFirst(const std::string& arrangeItem) override;
    std::optional<leveling::ObservationOrder> askOrder(int line) override;
    std::optional<books::WorkbookKind> askFittingBook(const Message& problem,
                                                      const std::vector<books::WorkbookKind>& fitting) override;
    std::string askFindText(const std::string& last) override;
    int askLine(int current, int lines) override;
    void showHelp(const QString& markdown) override;
    void showAbout(const QString& text) override;
    void showNotice(const Message& message) override;
    void showError(const Message& message) override;
    void showWarning(const Message& message) override;

private:
    CommonDialog openDialog_;
    CommonDialog saveDialog_;
    CommonDialog limitsDialog_;
    CommonDialog knownPointsDialog_;
    QWidget* parent_ = nullptr;
};

// Filters of the two dialogs, exactly as the window shows them.
extern const char* const kOpenFilter;
extern const char* const kSaveFilter;

}  // namespace levara
