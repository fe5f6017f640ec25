#include "memory_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "records/records.h"

namespace levara::testing {

void MemorySheet::check(int row, int column)
{
    if (row < 1 || row > 65536 || column < 1 || column > 256) {
        ADD_FAILURE() << "cell (" << row << ", " << column << ") is outside a worksheet";
        throw Error("cell outside the worksheet");
    }
}

books::CellValue MemorySheet::value(int row, int column) const
{
    auto found = cells_.find({row, column});
    return found == cells_.end() ? books::CellValue{} : found->second;
}

void MemorySheet::setNumber(int row, int column, double value)
{
    check(row, column);
    cells_[{row, column}] = value;
}

void MemorySheet::setText(int row, int column, std::string_view text)
{
    check(row, column);
    if (text.empty())
        cells_.erase({row, column});
    else
        cells_[{row, column}] = std::string(text);
}

void MemorySheet::clearValue(int row, int column) { cells_.erase({row, column}); }

void MemorySheet::merge(const books::CellRange& range)
{
    check(range.firstRow, range.firstColumn);
    check(range.lastRow, range.lastColumn);
    auto overlaps = [&](const books::CellRange& m) {
        return m.firstRow <= range.lastRow && range.firstRow <= m.lastRow && m.firstColumn <= range.lastColumn &&
               range.firstColumn <= m.lastColumn;
    };
    std::erase_if(merges_, overlaps);
    if (range.firstRow != range.lastRow || range.firstColumn != range.lastColumn)
        merges_.push_back(range);
}

void MemorySheet::unmerge(const books::CellRange& range) { std::erase(merges_, range); }

std::optional<books::CellRange> MemorySheet::mergeAt(int row, int column) const
{
    for (const auto& m : merges_)
        if (m.contains(row, column))
            return m;
    return std::nullopt;
}

void MemorySheet::drawBorders(const books::CellRange& range)
{
    check(range.firstRow, range.firstColumn);
    check(range.lastRow, range.lastColumn);
    for (int r = range.firstRow; r <= range.lastRow; ++r)
        for (int c = range.firstColumn; c <= range.lastColumn; ++c)
            bordered_.insert({r, c});
}

bool MemorySheet::hasBorders(int row, int column) const { return bordered_.count({row, column}) > 0; }

int MemorySheet::lastRow() const
{
    int last = cells_.empty() ? 0 : cells_.rbegin()->first.first;
    if (!bordered_.empty())
        last = std::max(last, bordered_.rbegin()->first);
    return last;
}

books::Sheet& MemorySheets::item(std::size_t item)
{
    if (item < 1 || item > sheets_.size())
        throw Error("the workbook has no worksheet " + std::to_string(item));
    return sheets_[item - 1];
}

}  // namespace levara::testing
