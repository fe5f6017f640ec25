#pragma once
// Sheet is the worksheet an output writes (xlsheet): the few operations the field
// books and point tables use. Rows and columns count from 1. The workbook engine
// provides it for a real workbook; tests may use one held in memory.
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "xls/xls.h"

namespace levara::books {

// A block of cells, and a cell's value (empty, a number, or a text in UTF-8): the
// same as the workbook engine's.
using CellRange = xls::Range;
using CellValue = xls::Value;

class Sheet {
public:
    virtual ~Sheet() = default;

    virtual CellValue value(int row, int column) const = 0;
    virtual void setNumber(int row, int column, double value) = 0;
    // Stores the text as it is; the empty text clears the value.
    virtual void setText(int row, int column, std::string_view text) = 0;
    // Empties the cell and keeps its format, as "clear contents" does.
    virtual void clearValue(int row, int column) = 0;

    // A new merge replaces every merge it overlaps.
    virtual void merge(const CellRange& range) = 0;
    virtual void unmerge(const CellRange& range) = 0;
    virtual std::optional<CellRange> mergeAt(int row, int column) const = 0;
    virtual std::vector<CellRange> merges() const = 0;

    // Thin continuous borders in automatic colour on every edge of every cell.
    virtual void drawBorders(const CellRange& range) = 0;
    // Whether the cell shows a thin border on all four edges.
    virtual bool hasBorders(int row, int column) const = 0;

    // The highest row holding a cell, 0 when there is none.
    virtual int lastRow() const = 0;
};

// Writes text into a cell the way typed input is taken: a text that reads as a
// number (typedNumber) becomes that number, the empty text empties the cell, any
// other text is stored as it is.
void enter(Sheet& sheet, int row, int column, std::string_view text);

// The numeric value of a cell: its number, the leading number of its text, 0 when empty.
double numberAt(const Sheet& sheet, int row, int column);

bool isEmpty(const CellValue& value);

}  // namespace levara::books
