#include "books/pipeline/workbook_kinds.h"

#include <algorithm>

#include "books/fieldbook/fieldbook.h"
#include "books/tables/adjustment_table.h"
#include "books/tables/network_table.h"
#include "books/tables/precision_table.h"
#include "books/tables/tables.h"

namespace levara::books {

namespace {

using leveling::ObservationOrder;

template <ObservationOrder order>
void fillLineBook(xls::Workbook& book, const TextLines& lines, const Sections* read, const BookMarks* marks,
                  const leveling::Adjustment*, const NetworkReport*)
{
    writeLineBook(book.sheet(0), lines, order, marks, read);
}

void fillBfBook(xls::Workbook& book, const TextLines& lines, const Sections* read, const BookMarks* marks,
                const leveling::Adjustment*, const NetworkReport*)
{
    writeBfBook(book.sheet(0), lines, marks, read);
}

void fillAlternatingBook(xls::Workbook& book, const TextLines& lines, const Sections* read, const BookMarks* marks,
                         const leveling::Adjustment*, const NetworkReport*)
{
    writeAlternatingBook(book.sheet(0), lines, marks, read);
}

void fillTwoWayBook(xls::Workbook& book, const TextLines& lines, const Sections* read, const BookMarks* marks,
                    const leveling::Adjustment*, const NetworkReport*)
{
    writeTwoWayBook(book.sheet(0), book.sheet(1), lines, marks, read);
}

void fillIntermediateTable(xls::Workbook& book, const TextLines& lines, const Sections*, const BookMarks*,
                           const leveling::Adjustment*, const NetworkReport*)
{
    writeIntermediateTable(book.sheet(0), lines);
}

void fillSinglePointTable(xls::Workbook& book, const TextLines& lines, const Sections*, const BookMarks*,
                          const leveling::Adjustment*, const NetworkReport*)
{
    writeSinglePointTable(book.sheet(0), lines);
}

void fillAdjustmentTable(xls::Workbook& book, const TextLines&, const Sections*, const BookMarks*,
                         const leveling::Adjustment* adjustment, const NetworkReport*)
{
    writeAdjustmentTable(book.sheet(0), *adjustment);
    writePrecisionTable(book.sheet(1), *adjustment);
}

void fillNetworkTable(xls::Workbook& book, const TextLines&, const Sections*, const BookMarks*,
                      const leveling::Adjustment*, const NetworkReport* network)
{
    writeNetworkTable(book.sheet(0), *network);
}

}  // namespace

const std::array<WorkbookKindInfo, 10> kWorkbookKinds = {{
    {WorkbookKind::BffbBook, "bffb", "线路手薄(BFFB)", "bffbEXLE", "BFFB", "exc.xls", 1, RecordFilter::Leveling,
     ObservationOrder::BFFB, false, false, fillLineBook<ObservationOrder::BFFB>},
    {WorkbookKind::BbffBook, "bbff", "线路手薄(BBFF)", "bbffEXLE", "BBFF", "exc.xls", 1, RecordFilter::Leveling,
     ObservationOrder::BBFF, false, false, fillLineBook<ObservationOrder::BBFF>},
    {WorkbookKind::BfbfBook, "bfbf", "线路手薄(BFBF)", "bfbfEXLE", "BFBF", "exc.xls", 1, RecordFilter::Leveling,
     ObservationOrder::BFBF, false, false, fillLineBook<ObservationOrder::BFBF>},
    {WorkbookKind::BfBook, "bf", "线路手薄(BF)", "bfEXLE", "BF", "exc2.xls", 1, RecordFilter::Leveling,
     ObservationOrder::BF, false, false, fillBfBook},
    {WorkbookKind::AbffbBook, "abffb", "线路手薄(aBFFB 单一线路)", "aBFFBL", "aBFFB", "exc.xls", 1,
     RecordFilter::Leveling, ObservationOrder::aBFFB, false, false, fillAlternatingBook},
    {WorkbookKind::AbffbTwoWayBook, "abffb-2way", "线路手薄(aBFFB 双转往返)", "aBFFBwf", "aBFFB_two_way", "exc3.xls", 2,
     RecordFilter::Leveling, ObservationOrder::aBFFB, true, false, fillTwoWayBook},
    {WorkbookKind::IntermediateTable, "intermediate", "中间点测量表格", "rrzEXLX", "intermediate", "exc1.xls", 1,
     RecordFilter::IntermediateSights, std::nullopt, false, false, fillIntermediateTable},
    {WorkbookKind::SinglePointTable, "single", "单点测量表格", "dandianEXCEL", "single_points", "exc0.xls", 1,
     RecordFilter::SinglePoints, std::nullopt, false, false, fillSinglePointTable},
    {WorkbookKind::AdjustmentTable, "adjustment", "高差配赋表", "adjustmentTable", "adjustment", "exc4.xls", 2,
     RecordFilter::Leveling, std::nullopt, false, true, fillAdjustmentTable},
    {WorkbookKind::NetworkTable, "network", "平差成果表", "networkTable", "network", "exc5.xls", 1,
     RecordFilter::Leveling, std::nullopt, false, true, fillNetworkTable},
}};

const WorkbookKindInfo& workbookKind(WorkbookKind kind)
{
    for (const WorkbookKindInfo& info : kWorkbookKinds)
        if (info.kind == kind)
            return info;
    return kWorkbookKinds.front();  // every kind is in the table
}

std::string_view templateName(WorkbookKind kind) { return workbookKind(kind).template_; }

std::vector<WorkbookKind> fieldBooksOf(const std::vector<ObservationOrder>& orders)
{
    const auto fits = [&](ObservationOrder order) { return std::ranges::find(orders, order) != orders.end(); };
    std::vector<WorkbookKind> books;
    for (const WorkbookKindInfo& info : kWorkbookKinds) {
        if (!info.order || !fits(*info.order))
            continue;
        if (info.twoWay && fits(ObservationOrder::BFFB))
            continue;
        books.push_back(info.kind);
    }
    return books;
}

}  // namespace levara::books
