#pragma once
// The outputs' Sheet over a worksheet of the workbook engine.
#include <deque>

#include "books/sheet_cells.h"
#include "books/workbook_sheets.h"
#include "xls/xls.h"

namespace levara::books {

class XlsSheet : public Sheet {
public:
    explicit XlsSheet(xls::Worksheet& sheet) : sheet_(sheet) {}

    CellValue value(int row, int column) const override;
    void setNumber(int row, int column, double value) override;
    void setText(int row, int column, std::string_view text) override;
    void clearValue(int row, int column) override;
    void merge(const CellRange& range) override;
    void unmerge(const CellRange& range) override;
    std::optional<CellRange> mergeAt(int row, int column) const override;
    std::vector<CellRange> merges() const override;
    void drawBorders(const CellRange& range) override;
    bool hasBorders(int row, int column) const override;
    int lastRow() const override;

private:
    xls::Worksheet& sheet_;
};

class XlsSheets : public WorkbookSheets {
public:
    explicit XlsSheets(xls::Workbook& book);
    std::size_t count() const override { return sheets_.size(); }
    Sheet& item(std::size_t item) override;

private:
    std::deque<XlsSheet> sheets_;
};

}  // namespace levara::books
