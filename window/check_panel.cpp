#include "window/check_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "language/language.h"

namespace levara {

namespace {

enum Column { kLevelingLine, kLine, kStation, kPoint, kItem, kValue, kLimit, kSource, kColumns };

QTableWidgetItem* cell(const QString& text, bool number = false)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

CheckPanel::CheckPanel(QWidget* parent) : QDockWidget("检核结果", parent)
{
    setObjectName("checkPanel");
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(4, 4, 4, 4);
    summary_ = new QLabel(content);
    summary_->setObjectName("checkSummary");
    summary_->setWordWrap(true);
    lineTotals_ = new QLabel(content);
    lineTotals_->setObjectName("checkLineTotals");
    lineTotals_->setWordWrap(true);
    list_ = new QTableWidget(0, kColumns, content);
    list_->setObjectName("checkList");
    list_->setHorizontalHeaderLabels({"线路", "行", "测站", "点号", "项目", "数值", "限差", "依据"});
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->horizontalHeader()->setStretchLastSection(true);
    save_ = new QPushButton(translatedText(Message(QT_TRANSLATE_NOOP("levara", "Save as CSV…"))), content);
    save_->setObjectName("saveFindings");
    save_->setEnabled(false);
    connect(save_, &QPushButton::clicked, this, &CheckPanel::saveRequested);
    layout->addWidget(summary_);
    layout->addWidget(lineTotals_);
    layout->addWidget(list_);
    layout->addWidget(save_, 0, Qt::AlignRight);
    setWidget(content);
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (const QTableWidgetItem* line = row >= 0 ? list_->item(row, kLine) : nullptr)
            emit lineChosen(line->data(Qt::UserRole).toInt());
    });
}

int CheckPanel::contentWidth() const
{
    const QMargins margins = widget()->layout()->contentsMargins();
    return list_->horizontalHeader()->length() + 2 * list_->frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent) + margins.left() + margins.right() +
           2 * style()->pixelMetric(QStyle::PM_DockWidgetFrameWidth);
}

void CheckPanel::clearReport()
{
    summaryText_.clear();
    outOfDate_ = false;
    summary_->clear();
    lineTotals_->clear();
    list_->clearContents();
    list_->setRowCount(0);
    save_->setEnabled(false);
}

void CheckPanel::markOutOfDate()
{
    if (outOfDate_ || summaryText_.isEmpty())
        return;
    outOfDate_ = true;
    summary_->setText(
        translatedText(Message(QT_TRANSLATE_NOOP("levara", "Out of date: the text was edited after this check. %1"),
                               summaryText_.toStdString())));
    // Its rows may name lines that have moved: shown greyed, still chosen to look at.
    for (int row = 0; row < list_->rowCount(); ++row)
        for (int column = 0; column < list_->columnCount(); ++column)
            if (QTableWidgetItem* item = list_->item(row, column))
                item->setForeground(palette().brush(QPalette::Disabled, QPalette::Text));
}

void CheckPanel::showReport(const leveling::CheckReport& report, const std::vector<Commands::CheckedLine>& lines)
{
    summaryText_ = translatedText(checkSummary(report));
    for (const Message& line : precisionText(report))
        summaryText_ += "\n" + translatedText(line);
    outOfDate_ = false;
    summary_->setText(summaryText_);
    // Each leveling line's count, so that a line's findings are told from another's.
    std::vector<int> over(lines.size()), differing(lines.size());
    for (const leveling::Finding& finding : report.findings)
        if (std::size_t(finding.section) < over.size())
            ++over[std::size_t(finding.section)];
    for (const leveling::InstrumentDisagreement& disagreement : report.instrument)
        if (std::size_t(disagreement.section) < differing.size())
            ++differing[std::size_t(disagreement.section)];
    QStringList totals;
    for (std::size_t section = 0; section < lines.size(); ++section) {
        if (lines[section].stations == 0)
            continue;
        if (differing[section] == 0)
            totals << translatedText(Message(QT_TRANSLATE_NOOP("levara", "Line %1: %2 stations, %3 over the limits"),
                                             lines[section].name, lines[section].stations, over[section]));
        else
            totals << translatedText(Message(QT_TRANSLATE_NOOP("levara", "Line %1: %2 stations, %3 over the limits, "
                                                                         "%4 differ from the instrument's computation"),
                                             lines[section].name, lines[section].stations, over[section],
                                             differing[section]));
    }
    lineTotals_->setText(totals.join('\n'));
    save_->setEnabled(true);
    const std::vector<leveling::Finding> rows = listedRows(report);
    list_->clearContents();
    list_->setRowCount(int(rows.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
        const leveling::Finding& finding = rows[std::size_t(row)];
        const auto section = std::size_t(finding.section);
        list_->setItem(row, kLevelingLine,
                       cell(section < lines.size() ? QString::fromStdString(lines[section].name) : QString()));
        QTableWidgetItem* line = cell(QString::number(finding.line.value()), true);
        line->setData(Qt::UserRole, finding.line.value());
        list_->setItem(row, kLine, line);
        list_->setItem(row, kStation, cell(finding.station ? QString::number(finding.station) : QString(), true));
        list_->setItem(row, kPoint, cell(QString::fromStdString(finding.point)));
        list_->setItem(row, kItem, cell(translatedText(Message(leveling::itemName(finding.item)))));
        list_->setItem(row, kValue, cell(QString::fromStdString(findingValueText(finding)), true));
        list_->setItem(row, kLimit, cell(translatedText(findingLimitText(finding))));
        list_->setItem(row, kSource, cell(QString::fromStdString(findingSourceText(finding))));
    }
    list_->resizeColumnsToContents();
    show();
}

}  // namespace levara
