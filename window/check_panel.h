#pragma once
// The panel beside the text area that lists what "检核当前文本" found: a summary line,
// each leveling line's count, then one row per value over its limit and per station
// the instrument's results contradict (leveling/instrument_check.h). Choosing a row
// asks for its line; a button saves the findings as CSV.
#include <QDockWidget>

#include "commands/commands.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace levara {

class CheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CheckPanel(QWidget* parent);

    // Shows the panel with the report's summary and findings; lines: the leveling
    // lines checked, by the findings' section index.
    void showReport(const leveling::CheckReport& report, const std::vector<Commands::CheckedLine>& lines);
    // The text was replaced: nothing of the report holds.
    void clearReport();
    // The text was edited: the report says it is of the text as it was.
    void markOutOfDate();

    // Wide enough for the list's columns as they are now.
    int contentWidth() const;

    QLabel* summary() const { return summary_; }
    QLabel* lineTotals() const { return lineTotals_; }
    QTableWidget* list() const { return list_; }
    QPushButton* saveButton() const { return save_; }

signals:
    // The text line of the row chosen.
    void lineChosen(int line);
    void saveRequested();

private:
    QLabel* summary_ = nullptr;
    QLabel* lineTotals_ = nullptr;
    QTableWidget* list_ = nullptr;
    QPushButton* save_ = nullptr;
    QString summaryText_;  // of the report shown
    bool outOfDate_ = false;
};

}  // namespace levara
