#pragma once
// The cells of one worksheet: rows in a vector indexed by row, each holding its cells
// sorted by column. The table is written either as read (its bytes kept, text cells
// pointed at the new string table) or, once anything in it changed, rebuilt in
// Excel's layout: blocks of 32 rows, each its ROW records, its cells and a DBCELL.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "xls/bytes.h"
#include "xls/record_stream.h"
#include "xls/xls.h"

namespace levara::xls {

class SharedStrings;

enum class CellKind : std::uint8_t {
    Blank,
    Number,  // NUMBER record
    Rk,      // RK record (or part of MULRK)
    Text,    // LABELSST
    Other,   // kept as read: FORMULA with its followers, BOOLERR, LABEL, RSTRING
};

struct Cell {
    std::uint16_t column = 0;  // from 0
    std::uint16_t xf = 0;
    CellKind kind = CellKind::Blank;
    union {
        double number;
        std::uint32_t rk;
        std::uint32_t sst;    // SST entry
        std::uint32_t other;  // index into the table's kept records
    };
    Cell() : number(0) {}
};

struct Row {
    std::vector<Cell> cells;        // sorted by column
    std::array<char, 16> record{};  // ROW body
    bool hasRecord = false;
};

// A ROW record's flags for a row of default format (XF 15); bit 8 is always set.
inline constexpr std::uint32_t kDefaultRowFlags = 0x000F0100;
inline constexpr std::uint32_t kRowHasDefaultXf = 0x80;  // fGhostDirty

// RK: the 30-bit number forms of BIFF. True when `value` has an exact one.
bool encodeRk(double value, std::uint32_t& rk);
double decodeRk(std::uint32_t rk);

class CellTable {
public:
    // Reading, record by record in stream order. Throws Error.
    void read(const RawRecord& record, std::size_t stringCount);
    // Called once the sheet's records are all read; `contiguous` says whether the
    // table's records lay together, so their bytes can be written back as they were.
    void finishReading(bool contiguous);

    const Row* row(int row) const { return row < int(rows_.size()) ? &rows_[row] : nullptr; }
    const Cell* find(int row, int column) const;
    Cell* find(int row, int column) { return const_cast<Cell*>(std::as_const(*this).find(row, column)); }
    // The cell, made blank with `xf` when absent.
    Cell& cell(int row, int column, std::uint16_t xf);

    // Calls visit(column, cell or nullptr) for columns first..last of the row, walking
    // the row once instead of looking each cell up.
    template <typename Visit>
    void forEachInRange(int row, int first, int last, Visit visit) const;
    // Makes the cells of columns first..last of the row exist, a new one blank with
    // xfFor(column), and calls visit(cell) on each in column order.
    template <typename XfFor, typename Visit>
    void editRange(int row, int first, int last, XfFor xfFor, Visit visit);
    // The XF a row gives its new cells, when it has one.
    std::optional<std::uint16_t> rowDefaultXf(int row) const;
    void setRowHeight(int row, std::uint16_t twips);
    // The height its ROW record gives a row, 0 when hidden; nothing without a record.
    std::optional<std::uint16_t> rowHeight(int row) const;

    // The cell's value: as read, or set.
    Value value(const Cell& cell, const SharedStrings& strings) const;
    void setXf(Cell& cell, std::uint16_t xf);
    // Replaces a kept record (a formula) by a plain value.
    void forget(Cell& cell);

    // The highest row holding a cell, from 0; -1 when none.
    int lastCellRow() const;

    // Any change switches the table to being rebuilt on writing.
    void markChanged()
    {
        if (!rebuilt_)
            dropAsRead();
    }
    bool rebuilt() const { return rebuilt_; }

    // Counts LABELSST cells per entry (size must be the string count).
    void countStrings(std::vector<bool>& used, std::uint32_t& references) const;

    // About the size write() will write, to reserve room for it.
    std::size_t sizeEstimate() const;
    // How many DBCELL records write() will write.
    std::size_t dbCellCount() const;
    struct Bounds {
        std::uint32_t firstRow = 0, lastRowPlus1 = 0;  // rows with a ROW record or cells
        std::uint32_t firstCellRow = 0, lastCellRowPlus1 = 0;
        std::uint16_t firstColumn = 0, lastColumnPlus1 = 0;  // of cells
    };
    Bounds bounds() const;
    // Writes the table; returns the stream positions of its DBCELL records.
    std::vector<std::uint32_t> write(StreamWriter& out, const std::vector<std::uint32_t>& newStringIndex,
                                     std::uint16_t defaultRowTwips) const;

private:
    // The row, made (with those before it) when the table has not reached it.
    Row& rowAt(int row) { return row < int(rows_.size()) ? rows_[std::size_t(row)] : addRows(row); }
    Row& addRows(int row);
    // The first of the row's cells at or after the column.
    static std::vector<Cell>::const_iterator lowerBound(const std::vector<Cell>& cells, int column);
    // A ROW record as read takes in a new cell's column.
    static void widenRowRecord(Row& row, int column);
    void dropAsRead();
    void addReadCell(int row, const Cell& cell);
    void writeRebuilt(StreamWriter& out, const std::vector<std::uint32_t>& newStringIndex,
                      std::uint16_t defaultRowTwips, std::vector<std::uint32_t>& dbCells) const;
    void writeRowCells(StreamWriter& out, int row, const Row& cells,
                       const std::vector<std::uint32_t>& newStringIndex) const;

    std::vector<Row> rows_;
    std::vector<std::string> others_;  // FORMULA (+followers), BOOLERR, LABEL, RSTRING: whole records
    std::int64_t lastOther_ = -1;      // the kept record the next followers belong to

    // The table as read, for writing it back unchanged.
    bool rebuilt_ = false;
    std::string asRead_;
    std::vector<std::uint32_t> asReadStringFields_;  // offsets of LABELSST string indexes in asRead_
    std::vector<std::uint32_t> asReadDbCells_;       // offsets of DBCELL records in asRead_
};

inline std::vector<Cell>::const_iterator CellTable::lowerBound(const std::vector<Cell>& cells, int column)
{
    // Cells mostly come in column order: the last one is the place to look first.
    if (cells.empty() || cells.back().column < column)
        return cells.end();
    return std::lower_bound(cells.begin(), cells.end(), column, [](const Cell& c, int col) { return c.column < col; });
}

inline std::optional<std::uint16_t> CellTable::rowDefaultXf(int row) const
{
    if (row >= int(rows_.size()) || !rows_[std::size_t(row)].hasRecord)
        return std::nullopt;
    const std::uint32_t flags = peekU32(rows_[std::size_t(row)].record.data() + 12);
    if (!(flags & kRowHasDefaultXf))
        return std::nullopt;
    return std::uint16_t(flags >> 16 & 0x0FFF);
}

inline void CellTable::setXf(Cell& cell, std::uint16_t xf)
{
    markChanged();
    cell.xf = xf;
    if (cell.kind == CellKind::Other)
        pokeU16(others_[cell.other].data() + 4 + 4, xf);
}

inline void CellTable::forget(Cell& cell)
{
    markChanged();
    if (cell.kind == CellKind::Other)
        std::string().swap(others_[cell.other]);
}

inline const Cell* CellTable::find(int row, int column) const
{
    if (row >= int(rows_.size()))
        return nullptr;
    const std::vector<Cell>& cells = rows_[std::size_t(row)].cells;
    const auto it = lowerBound(cells, column);
    return it != cells.end() && it->column == column ? &*it : nullptr;
}

template <typename Visit>
void CellTable::forEachInRange(int row, int first, int last, Visit visit) const
{
    static const std::vector<Cell> none;
    const std::vector<Cell>& cells = row < int(rows_.size()) ? rows_[std::size_t(row)].cells : none;
    auto it = lowerBound(cells, first);
    for (int column = first; column <= last; ++column) {
        if (it != cells.end() && it->column == column)
            visit(column, &*it++);
        else
            visit(column, static_cast<const Cell*>(nullptr));
    }
}

template <typename XfFor, typename Visit>
void CellTable::editRange(int row, int first, int last, XfFor xfFor, Visit visit)
{
    markChanged();
    Row& r = rowAt(row);
    std::vector<Cell>& cells = r.cells;
    const std::size_t begin = std::size_t(lowerBound(cells, first) - cells.begin());
    std::size_t end = begin;
    while (end < cells.size() && cells[end].column <= last)
        ++end;
    const std::size_t width = std::size_t(last - first) + 1;
    if (end - begin < width) {
        // Opens a gap for the missing cells and fills the range from its end, moving
        // the existing ones into their places.
        const std::size_t missing = width - (end - begin);
        // Borders come last to a book's rows: room for exactly the cells they add.
        if (cells.size() + missing > cells.capacity())
            cells.reserve(cells.size() + missing);
        cells.insert(cells.begin() + std::ptrdiff_t(end), missing, Cell());
        std::size_t from = end, to = begin + width;
        int lowestNew = last, highestNew = first;
        for (int column = last; column >= first; --column) {
            if (from > begin && cells[from - 1].column == column) {
                cells[--to] = cells[--from];
                continue;
            }
            Cell blank;
            blank.column = std::uint16_t(column);
            blank.xf = xfFor(column);
            cells[--to] = blank;
            lowestNew = column;
            highestNew = std::max(highestNew, column);
        }
        if (r.hasRecord) {
            widenRowRecord(r, lowestNew);
            widenRowRecord(r, highestNew);
        }
    }
    for (std::size_t i = begin; i < begin + width; ++i)
        visit(cells[i]);
}

}  // namespace levara::xls
