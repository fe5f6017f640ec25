#include "books/pipeline/xls_sheet.h"

#include "records/records.h"

namespace levara::books {

CellValue XlsSheet::value(int row, int column) const { return sheet_.value(row, column); }
void XlsSheet::setNumber(int row, int column, double value) { sheet_.setNumber(row, column, value); }
void XlsSheet::setText(int row, int column, std::string_view text) { sheet_.setText(row, column, text); }
void XlsSheet::clearValue(int row, int column) { sheet_.clearValue(row, column); }
void XlsSheet::merge(const CellRange& range) { sheet_.merge(range); }
void XlsSheet::unmerge(const CellRange& range) { sheet_.unmerge(range); }

std::optional<CellRange> XlsSheet::mergeAt(int row, int column) const { return sheet_.mergeAt(row, column); }
std::vector<CellRange> XlsSheet::merges() const { return sheet_.merges(); }

void XlsSheet::drawBorders(const CellRange& range) { sheet_.setThinBorders(range); }

bool XlsSheet::hasBorders(int row, int column) const
{
    return sheet_.borders(row, column) == xls::Borders{1, 1, 1, 1};
}

int XlsSheet::lastRow() const { return sheet_.lastRow(); }

XlsSheets::XlsSheets(xls::Workbook& book)
{
    for (std::size_t i = 0; i < book.sheetCount(); ++i)
        sheets_.emplace_back(book.sheet(i));
}

Sheet& XlsSheets::item(std::size_t item)
{
    if (item < 1 || item > sheets_.size())
        throw Error("the working workbook has no worksheet " + std::to_string(item) + " (the template needs " +
                    std::to_string(item) + " worksheets)");
    return sheets_[item - 1];
}

}  // namespace levara::books
