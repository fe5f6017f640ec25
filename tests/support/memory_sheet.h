#pragma once
// A worksheet held in memory, for testing outputs without a workbook.
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "books/sheet_cells.h"
#include "books/workbook_sheets.h"

namespace levara::testing {

class MemorySheet : public books::Sheet {
public:
    books::CellValue value(int row, int column) const override;
    void setNumber(int row, int column, double value) override;
    void setText(int row, int column, std::string_view text) override;
    void clearValue(int row, int column) override;
    void merge(const books::CellRange& range) override;
    void unmerge(const books::CellRange& range) override;
    std::optional<books::CellRange> mergeAt(int row, int column) const override;
    std::vector<books::CellRange> merges() const override { return merges_; }
    void drawBorders(const books::CellRange& range) override;
    bool hasBorders(int row, int column) const override;
    int lastRow() const override;

private:
    static void check(int row, int column);
    std::map<std::pair<int, int>, books::CellValue> cells_;
    std::vector<books::CellRange> merges_;
    std::set<std::pair<int, int>> bordered_;
};

class MemorySheets : public books::WorkbookSheets {
public:
    explicit MemorySheets(std::size_t count) : sheets_(count) {}
    std::size_t count() const override { return sheets_.size(); }
    books::Sheet& item(std::size_t item) override;
    MemorySheet& operator[](std::size_t item) { return sheets_.at(item - 1); }

private:
    std::vector<MemorySheet> sheets_;
};

}  // namespace levara::testing
