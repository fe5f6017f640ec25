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
    for (std::size_t i = 0; i < cells.size();) {
        const Cell& cell = cells[i];
        // Runs of adjacent RK or blank cells share one MULRK or MULBLANK record.
        std::size_t j = i + 1;
        if (cell.kind == CellKind::Rk || cell.kind == CellKind::Blank)
            while (j < cells.size() && cells[j].kind == cell.kind && cells[j].column == cells[j - 1].column + 1)
                ++j;
        if (j - i > 1) {
            const bool rk = cell.kind == CellKind::Rk;
            char* body = out.append(rk ? rec::kMulRk : rec::kMulBlank, 6 + (j - i) * (rk ? 6 : 2));
            pokeU16(body, std::uint16_t(row));
            pokeU16(body + 2, cell.column);
            body += 4;
            for (std::size_t k = i; k < j; ++k) {
                pokeU16(body, cells[k].xf);
                body += 2;
                if (rk) {
                    pokeU32(body, cells[k].rk);
                    body += 4;
                }
            }
            pokeU16(body, cells[j - 1].column);
            i = j;
            continue;
        }
        if (cell.kind == CellKind::Other) {
            out.bytes().append(others_[cell.other]);
            ++i;
            continue;
        }
        char* body = nullptr;
        switch (cell.kind) {
        case CellKind::Blank: body = out.append(rec::kBlank, 6); break;
        case CellKind::Number:
            body = out.append(rec::kNumber, 14);
            pokeDouble(body + 6, cell.number);
            break;
        case CellKind::Rk:
            body = out.append(rec::kRk, 10);
            pokeU32(body + 6, cell.rk);
            break;
        case CellKind::Text:
            body = out.append(rec::kLabelSst, 10);
            pokeU32(body + 6, newStringIndex[cell.sst]);
            break;
        case CellKind::Other: break;
        }
        pokeU16(body, std::uint16_t(row));
        pokeU16(body + 2, cell.column);
        pokeU16(body + 4, cell.xf);
        ++i;
    }
}

}  // namespace levara::xls
