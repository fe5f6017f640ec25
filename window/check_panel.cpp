#include "window/check_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "language/language.h"

namespace levara {

namespace {

enum Column { kLine, kStation, kPoint, kItem, kValue, kLimit, kSource, kColumns };

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
    list_ = new QTableWidget(0, kColumns, content);
    list_->setObjectName("checkList");
    list_->setHorizontalHeaderLabels({"行", "测站", "点号", "项目", "数值", "限差", "依据"});
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(summary_);
    layout->addWidget(list_);
    setWidget(content);
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (const QTableWidgetItem* line = row >= 0 ? list_->item(row, kLine) : nullptr)
            emit lineChosen(line->data(Qt::UserRole).toInt());
    });
}

void CheckPanel::showReport(const leveling::CheckReport& report)
{
    QString summary = translatedText(checkSummary(report));
    for (const Message& line : precisionText(report))
        summary += "\n" + translatedText(line);
    summary_->setText(summary);
    const std::vector<leveling::Finding> rows = listedRows(report);
    list_->clearContents();
    list_->setRowCount(int(rows.size()));
    for (int row = 0; row < list_->rowCount(); ++row) {
        const leveling::Finding& finding = rows[std::size_t(row)];
        QTableWidgetItem* line = cell(QString::number(finding.line), true);
        line->setData(Qt::UserRole, finding.line);
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
