#pragma once
// The panel beside the text area that lists what "检核当前文本" found: a summary line,
// then one row per value over its limit. Choosing a row asks for its line.
#include <QDockWidget>

#include "commands/commands.h"

class QLabel;
class QTableWidget;

namespace levara {

class CheckPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CheckPanel(QWidget* parent);

    // Shows the panel with the report's summary and findings.
    void showReport(const leveling::CheckReport& report);

    QLabel* summary() const { return summary_; }
    QTableWidget* list() const { return list_; }

signals:
    // The text line of the row chosen.
    void lineChosen(int line);

private:
    QLabel* summary_ = nullptr;
    QTableWidget* list_ = nullptr;
};

}  // namespace levara
