#include "books/pipeline/xls_sheet.h"

#include "records/error.h"

namespace levara::books {

namespace {

xls::Range toRange(const CellRange& r) { return {r.firstRow, r.firstColumn, r.lastRow, r.lastColumn}; }
CellRange fromRange(const xls::Range& r) { return {r.firstRow, r.firstColumn, r.lastRow, r.lastColumn}; }

}  // namespace

CellValue XlsSheet::value(int row, int column) const
{
    const xls::Value value = sheet_.value(row, column);
    if (const double* number = std::get_if<double>(&value))
        return *number;
    if (const std::string* text = std::get_if<std::string>(&value))
        return *text;
    return {};
}

void XlsSheet::setNumber(int row, int column, double value) { sheet_.setNumber(row, column, value); }
void XlsSheet::setText(int row, int column, std::string_view text) { sheet_.setText(row, column, text); }
void XlsSheet::clearValue(int row, int column) { sheet_.clearValue(row, column); }
void XlsSheet::merge(const CellRange& range) { sheet_.merge(toRange(range)); }
void XlsSheet::unmerge(const CellRange& range) { sheet_.unmerge(toRange(range)); }

std::optional<CellRange> XlsSheet::mergeAt(int row, int column) const
{
    if (auto merged = sheet_.mergeAt(row, column))
        return fromRange(*merged);
    return std::nullopt;
}

std::vector<CellRange> XlsSheet::merges() const
{
    std::vector<CellRange> result;
    for (const auto& range : sheet_.merges())
        result.push_back(fromRange(range));
    return result;
}

void XlsSheet::drawBorders(const CellRange& range) { sheet_.setThinBorders(toRange(range)); }

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
