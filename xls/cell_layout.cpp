// Writing a worksheet's cells: as read, or in Excel's layout of blocks of 32 rows,
// each its ROW records, the rows' cells and a DBCELL pointing back at them.
#include <algorithm>

#include "xls/bytes.h"
#include "xls/cell_table.h"
#include "xls/record_ids.h"

namespace levara::xls {

namespace {

constexpr int kRowsPerBlock = 32;

}  // namespace

std::size_t CellTable::sizeEstimate() const
{
    if (!rebuilt_)
        return asRead_.size();
    std::size_t size = 0;
    for (const Row& row : rows_)
        size += (row.hasRecord || !row.cells.empty() ? 24 : 0) + row.cells.size() * 14;
    return size;
}

std::size_t CellTable::dbCellCount() const
{
    if (!rebuilt_)
        return asReadDbCells_.size();
    std::size_t count = 0;
    for (std::size_t first = 0; first < rows_.size(); first += kRowsPerBlock) {
        const std::size_t end = std::min(rows_.size(), first + kRowsPerBlock);
        for (std::size_t row = first; row < end; ++row)
            if (rows_[row].hasRecord || !rows_[row].cells.empty()) {
                ++count;
                break;
            }
    }
    return count;
}

CellTable::Bounds CellTable::bounds() const
{
    Bounds b;
    bool anyRow = false, anyCell = false;
    std::uint16_t firstColumn = 0xFFFF, lastColumn = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        const Row& r = rows_[row];
        if (r.hasRecord || !r.cells.empty()) {
            if (!anyRow)
                b.firstRow = std::uint32_t(row);
            b.lastRowPlus1 = std::uint32_t(row + 1);
            anyRow = true;
        }
        if (!r.cells.empty()) {
            if (!anyCell)
                b.firstCellRow = std::uint32_t(row);
            b.lastCellRowPlus1 = std::uint32_t(row + 1);
            anyCell = true;
            firstColumn = std::min(firstColumn, r.cells.front().column);
            lastColumn = std::max(lastColumn, r.cells.back().column);
        }
    }
    if (anyCell) {
        b.firstColumn = firstColumn;
        b.lastColumnPlus1 = std::uint16_t(lastColumn + 1);
    }
    return b;
}

std::vector<std::uint32_t> CellTable::write(StreamWriter& out, const std::vector<std::uint32_t>& newStringIndex,
                                            std::uint16_t defaultRowTwips) const
{
    std::vector<std::uint32_t> dbCells;
    if (rebuilt_) {
        writeRebuilt(out, newStringIndex, defaultRowTwips, dbCells);
        return dbCells;
    }
    const std::size_t base = out.position();
    out.bytes().append(asRead_);
    char* bytes = out.bytes().data() + base;
    for (std::uint32_t field : asReadStringFields_)
        pokeU32(bytes + field, newStringIndex[peekU32(bytes + field)]);
    for (std::uint32_t offset : asReadDbCells_)
        dbCells.push_back(std::uint32_t(base + offset));
    return dbCells;
}

void CellTable::writeRebuilt(StreamWriter& out, const std::vector<std::uint32_t>& newStringIndex,
                             std::uint16_t defaultRowTwips, std::vector<std::uint32_t>& dbCells) const
{
    std::string body;
    std::vector<std::uint32_t> cellStarts;
    for (std::size_t first = 0; first < rows_.size(); first += kRowsPerBlock) {
        const std::size_t end = std::min(rows_.size(), first + kRowsPerBlock);
        std::size_t firstRowPosition = 0;
        cellStarts.clear();
        for (std::size_t row = first; row < end; ++row) {
            const Row& r = rows_[row];
            if (!r.hasRecord && r.cells.empty())
                continue;
            if (cellStarts.empty())
                firstRowPosition = out.position();
            cellStarts.push_back(0);
            std::array<char, 16> record = r.record;
            if (!r.hasRecord) {
                record.fill(0);
                pokeU16(record.data() + 6, defaultRowTwips);
                pokeU32(record.data() + 12, kDefaultRowFlags);
            }
            pokeU16(record.data(), std::uint16_t(row));
            if (!r.hasRecord && !r.cells.empty()) {
                pokeU16(record.data() + 2, r.cells.front().column);
                pokeU16(record.data() + 4, std::uint16_t(r.cells.back().column + 1));
            }
            out.write(rec::kRow, std::string_view(record.data(), record.size()));
        }
        if (cellStarts.empty())
            continue;
        std::size_t k = 0;
        for (std::size_t row = first; row < end; ++row) {
            const Row& r = rows_[row];
            if (!r.hasRecord && r.cells.empty())
                continue;
            cellStarts[k++] = std::uint32_t(out.position());
            writeRowCells(out, int(row), r, newStringIndex);
        }
        // DBCELL: back to the first ROW, then where each row's cells start, the first
        // from the end of the first ROW record, each later one from the previous.
        const std::size_t dbCell = out.position();
        body.clear();
        putU32(body, std::uint32_t(dbCell - firstRowPosition));
        std::size_t previous = firstRowPosition + 20;
        for (std::uint32_t start : cellStarts) {
            putU16(body, std::uint16_t(start - previous));
            previous = start;
        }
        dbCells.push_back(std::uint32_t(dbCell));
        out.write(rec::kDbCell, body);
    }
}

void CellTable::writeRowCells(StreamWriter& out, int row, const Row& r,
                              const std::vector<std::uint32_t>& newStringIndex) const
{
    const std::vector<Cell>& cells = r.cells;
    // Runs of adjacent RK or blank cells share one MULRK or MULBLANK record.
    const auto runEnd = [&](std::size_t i) {
        std::size_t j = i + 1;
        if (cells[i].kind == CellKind::Rk || cells[i].kind == CellKind::Blank)
            while (j < cells.size() && cells[j].kind == cells[i].kind && cells[j].column == cells[j - 1].column + 1)
                ++j;
        return j;
    };
    const auto bodySize = [&](const Cell& cell, std::size_t run) -> std::size_t {
        if (run > 1)
            return 6 + run * (cell.kind == CellKind::Rk ? 6 : 2);
        switch (cell.kind) {
        case CellKind::Blank: return 6;
        case CellKind::Number: return 14;
        case CellKind::Rk:
        case CellKind::Text: return 10;
        case CellKind::Other: break;
        }
        return 0;
    };

    // The row's records are sized first and laid out in one piece of the stream.
    std::size_t size = 0;
    for (std::size_t i = 0, j; i < cells.size(); i = j) {
        j = runEnd(i);
        size += cells[i].kind == CellKind::Other ? others_[cells[i].other].size() : 4 + bodySize(cells[i], j - i);
    }
    char* p = out.extend(size);
    for (std::size_t i = 0, j; i < cells.size(); i = j) {
        j = runEnd(i);
        const Cell& cell = cells[i];
        if (cell.kind == CellKind::Other) {
            const std::string& kept = others_[cell.other];
            std::copy(kept.begin(), kept.end(), p);
            p += kept.size();
            continue;
        }
        const std::size_t body = bodySize(cell, j - i);
        const bool rk = cell.kind == CellKind::Rk;
        std::uint16_t type = rec::kBlank;
        if (j - i > 1)
            type = rk ? rec::kMulRk : rec::kMulBlank;
        else if (cell.kind != CellKind::Blank)
            type = cell.kind == CellKind::Number ? rec::kNumber : rk ? rec::kRk : rec::kLabelSst;
        pokeU16(p, type);
        pokeU16(p + 2, std::uint16_t(body));
        pokeU16(p + 4, std::uint16_t(row));
        pokeU16(p + 6, cell.column);
        if (j - i > 1) {
            char* at = p + 8;
            for (std::size_t k = i; k < j; ++k) {
                pokeU16(at, cells[k].xf);
                at += 2;
                if (rk) {
                    pokeU32(at, cells[k].rk);
                    at += 4;
                }
            }
            pokeU16(at, cells[j - 1].column);
        } else {
            pokeU16(p + 8, cell.xf);
            if (cell.kind == CellKind::Number)
                pokeDouble(p + 10, cell.number);
            else if (rk)
                pokeU32(p + 10, cell.rk);
            else if (cell.kind == CellKind::Text)
                pokeU32(p + 10, newStringIndex[cell.sst]);
        }
        p += 4 + body;
    }
}

}  // namespace levara::xls
