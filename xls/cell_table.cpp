#include "xls/cell_table.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "xls/bytes.h"
#include "xls/record_ids.h"
#include "xls/record_stream.h"
#include "xls/sst.h"
#include "xls/unicode.h"

namespace levara::xls {

namespace {

constexpr std::uint32_t kRowCustomHeight = 0x40;  // fUnsynced
constexpr std::uint32_t kRowHidden = 0x20;        // fDyZero

void checkColumn(std::uint32_t column, std::uint32_t position)
{
    if (column >= std::uint32_t(kMaxColumns))
        throw Error(Error::Kind::Damaged, "@" + std::to_string(position),
                    "a cell record at byte " + std::to_string(position) + " lies in column " +
                        std::to_string(column + 1) + ", beyond the last column");
}

const char* errorText(std::uint8_t code)
{
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#N/A";
    }
}

// The body of the first record of kept bytes (they start with a record header).
std::string_view firstBody(std::string_view records) { return records.substr(4, peekU16(records.data() + 2)); }

}  // namespace

bool encodeRk(double value, std::uint32_t& rk)
{
    if (!std::isfinite(value))
        return false;
    // A whole number within the 30 bits: the range first, so the cast is defined.
    const auto fits = [](double v) { return v >= -536870912.0 && v < 536870912.0 && double(std::int64_t(v)) == v; };
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    if (fits(value) && !(value == 0 && std::signbit(value))) {
        rk = std::uint32_t(std::int32_t(value) * 4) | 2;
        return true;
    }
    if ((bits & 0x3FFFFFFFFull) == 0) {
        rk = std::uint32_t(bits >> 32);
        return true;
    }
    const double hundredfold = value * 100;
    if (fits(hundredfold)) {
        const std::uint32_t candidate = std::uint32_t(std::int32_t(hundredfold) * 4) | 3;
        if (std::bit_cast<std::uint64_t>(decodeRk(candidate)) == bits) {
            rk = candidate;
            return true;
        }
    }
    return false;
}

double decodeRk(std::uint32_t rk)
{
    double value;
    if (rk & 2)
        value = double(std::int32_t(rk) >> 2);
    else
        value = std::bit_cast<double>(std::uint64_t(rk & 0xFFFFFFFCu) << 32);
    return (rk & 1) ? value / 100 : value;
}

Row& CellTable::addRows(int row)
{
    rows_.resize(std::size_t(row) + 1);
    return rows_[std::size_t(row)];
}

void CellTable::addReadCell(int row, const Cell& cell)
{
    std::vector<Cell>& cells = rowAt(row).cells;
    if (cells.empty() || cells.back().column < cell.column) {
        cells.push_back(cell);
        return;
    }
    auto it = std::lower_bound(cells.begin(), cells.end(), cell.column,
                               [](const Cell& c, std::uint16_t column) { return c.column < column; });
    if (it != cells.end() && it->column == cell.column)
        *it = cell;  // a later record for the same cell wins
    else
        cells.insert(it, cell);
}

void CellTable::read(const RawRecord& record, std::size_t stringCount)
{
    const std::uint32_t offsetInTable = std::uint32_t(asRead_.size());
    putU16(asRead_, record.type);
    putU16(asRead_, std::uint16_t(record.body.size()));
    asRead_.append(record.body);

    if (rec::isFormulaFollower(record.type) || (record.type == rec::kContinue)) {
        if (lastOther_ >= 0) {
            std::string& kept = others_[std::size_t(lastOther_)];
            putU16(kept, record.type);
            putU16(kept, std::uint16_t(record.body.size()));
            kept.append(record.body);
        }
        return;
    }
    lastOther_ = -1;

    ByteReader in(record.body, "cell");
    switch (record.type) {
    case rec::kDbCell: asReadDbCells_.push_back(offsetInTable); return;
    case rec::kRow: {
        const std::uint16_t number = peekU16(record.body.data());
        Row& row = rowAt(number);
        std::copy_n(record.body.data(), 16, row.record.begin());
        row.hasRecord = true;
        return;
    }
    case rec::kMulRk:
    case rec::kMulBlank: {
        const std::uint16_t row = in.u16();
        const std::uint16_t first = in.u16();
        const std::size_t unit = record.type == rec::kMulRk ? 6 : 2;
        if ((record.body.size() - 6) % unit != 0)
            throw Error(Error::Kind::Damaged, recordAt(record.type, record.position),
                        "a MULRK or MULBLANK record at byte " + std::to_string(record.position) +
                            " does not hold whole cells");
        const std::size_t count = (record.body.size() - 6) / unit;
        const std::uint16_t last = peekU16(record.body.data() + record.body.size() - 2);
        if (count == 0 || std::size_t(last) + 1 != first + count)
            throw Error(Error::Kind::Damaged, recordAt(record.type, record.position),
                        "a MULRK or MULBLANK record at byte " + std::to_string(record.position) +
                            " gives a column range that does not match its cells");
        checkColumn(last, record.position);
        for (std::size_t i = 0; i < count; ++i) {
            Cell cell;
            cell.column = std::uint16_t(first + i);
            cell.xf = in.u16();
            if (unit == 6) {
                cell.kind = CellKind::Rk;
                cell.rk = in.u32();
            } else {
                cell.kind = CellKind::Blank;
            }
            addReadCell(row, cell);
        }
        return;
    }
    default: break;
    }

    // One cell: row, column, XF, then its content.
    const std::uint16_t row = in.u16();
    Cell cell;
    cell.column = in.u16();
    cell.xf = in.u16();
    checkColumn(cell.column, record.position);
    switch (record.type) {
    case rec::kBlank: cell.kind = CellKind::Blank; break;
    case rec::kNumber:
        cell.kind = CellKind::Number;
        cell.number = in.f64();
        break;
    case rec::kRk:
        cell.kind = CellKind::Rk;
        cell.rk = in.u32();
        break;
    case rec::kLabelSst:
        cell.kind = CellKind::Text;
        cell.sst = in.u32();
        if (cell.sst >= stringCount)
            throw Error(Error::Kind::Damaged, recordAt(record.type, record.position),
                        "a text cell at byte " + std::to_string(record.position) + " refers to string " +
                            std::to_string(cell.sst) + " but the string table has " + std::to_string(stringCount));
        asReadStringFields_.push_back(offsetInTable + 4 + 6);
        break;
    default:  // FORMULA, BOOLERR, LABEL, RSTRING
        cell.kind = CellKind::Other;
        cell.other = std::uint32_t(others_.size());
        others_.emplace_back(asRead_.substr(offsetInTable));
        if (record.type == rec::kFormula)
            lastOther_ = std::int64_t(cell.other);
        break;
    }
    addReadCell(row, cell);
}

void CellTable::finishReading(bool contiguous)
{
    if (!contiguous)
        dropAsRead();
    lastOther_ = -1;
}

void CellTable::dropAsRead()
{
    rebuilt_ = true;
    std::string().swap(asRead_);
    std::vector<std::uint32_t>().swap(asReadStringFields_);
    std::vector<std::uint32_t>().swap(asReadDbCells_);
}

void CellTable::widenRowRecord(Row& r, int column)
{
    // As read, the record's column range may be wider than its cells (Excel keeps it
    // so), and that is kept.
    std::uint16_t first = peekU16(r.record.data() + 2), end = peekU16(r.record.data() + 4);
    if (first >= end) {
        first = std::uint16_t(column);
        end = std::uint16_t(column + 1);
    }
    pokeU16(r.record.data() + 2, std::min<std::uint16_t>(first, std::uint16_t(column)));
    pokeU16(r.record.data() + 4, std::max<std::uint16_t>(end, std::uint16_t(column + 1)));
}

Cell& CellTable::cell(int row, int column, std::uint16_t xf)
{
    markChanged();
    Row& r = rowAt(row);
    std::vector<Cell>& cells = r.cells;
    const std::size_t at = std::size_t(lowerBound(cells, column) - cells.cbegin());
    if (at < cells.size() && cells[at].column == column)
        return cells[at];
    if (r.hasRecord)
        widenRowRecord(r, column);
    if (cells.empty())
        cells.reserve(12);  // a book's row holds some ten cells, borders included: one allocation
    Cell blank;
    blank.column = std::uint16_t(column);
    blank.xf = xf;
    return *cells.insert(cells.begin() + std::ptrdiff_t(at), blank);
}

std::optional<std::uint16_t> CellTable::rowHeight(int row) const
{
    if (row >= int(rows_.size()) || !rows_[std::size_t(row)].hasRecord)
        return std::nullopt;
    const Row& r = rows_[std::size_t(row)];
    if (peekU32(r.record.data() + 12) & kRowHidden)
        return 0;
    return std::uint16_t(peekU16(r.record.data() + 6) & 0x7FFF);
}

void CellTable::setRowHeight(int row, std::uint16_t twips)
{
    markChanged();
    Row& r = rowAt(row);
    if (!r.hasRecord) {
        r.record.fill(0);
        pokeU16(r.record.data(), std::uint16_t(row));
        if (!r.cells.empty()) {
            pokeU16(r.record.data() + 2, r.cells.front().column);
            pokeU16(r.record.data() + 4, std::uint16_t(r.cells.back().column + 1));
        }
        pokeU32(r.record.data() + 12, kDefaultRowFlags);
        r.hasRecord = true;
    }
    pokeU16(r.record.data() + 6, twips);
    pokeU32(r.record.data() + 12, peekU32(r.record.data() + 12) | kRowCustomHeight);
}

Value CellTable::value(const Cell& cell, const SharedStrings& strings) const
{
    switch (cell.kind) {
    case CellKind::Blank: return std::monostate{};
    case CellKind::Number: return cell.number;
    case CellKind::Rk: return decodeRk(cell.rk);
    case CellKind::Text: return utf8FromUtf16(strings.entry(cell.sst).text);
    case CellKind::Other: break;
    }
    const std::string& kept = others_[cell.other];
    const std::uint16_t type = peekU16(kept.data());
    const std::string_view body = firstBody(kept);
    try {
        ByteReader in(body, "cell");
        in.skip(6);
        switch (type) {
        case rec::kBoolErr: {
            const std::uint8_t content = in.u8();
            if (in.u8())
                return std::string(errorText(content));
            return double(content);
        }
        case rec::kLabel:
        case rec::kRString: return utf8FromUtf16(readUnicodeString(in));
        case rec::kFormula: {
            const std::string_view result = in.take(8);
            if (peekU16(result.data() + 6) != 0xFFFF)
                return peekDouble(result.data());
            switch (std::uint8_t(result[0])) {
            case 0: {  // a text, in the STRING record that follows
                std::string_view rest = std::string_view(kept).substr(4 + body.size());
                while (rest.size() >= 4) {
                    const std::uint16_t followerType = peekU16(rest.data());
                    const std::string_view followerBody = rest.substr(4, peekU16(rest.data() + 2));
                    if (followerType == rec::kString) {
                        ByteReader text(followerBody, "STRING");
                        return utf8FromUtf16(readUnicodeString(text));
                    }
                    rest.remove_prefix(4 + followerBody.size());
                }
                return std::string();
            }
            case 1: return double(std::uint8_t(result[2]));
            case 2: return std::string(errorText(std::uint8_t(result[2])));
            default: return std::string();
            }
        }
        default: return std::monostate{};
        }
    } catch (const Error&) {
        return std::monostate{};  // a damaged cached result reads as empty
    }
}

int CellTable::lastCellRow() const
{
    for (int row = int(rows_.size()) - 1; row >= 0; --row)
        if (!rows_[std::size_t(row)].cells.empty())
            return row;
    return -1;
}

void CellTable::countStrings(std::vector<bool>& used, std::uint32_t& references) const
{
    // Kept bytes are written as they are: count what they refer to, duplicates included.
    if (!rebuilt_) {
        for (std::uint32_t field : asReadStringFields_) {
            used[peekU32(asRead_.data() + field)] = true;
            ++references;
        }
        return;
    }
    for (const Row& row : rows_)
        for (const Cell& cell : row.cells)
            if (cell.kind == CellKind::Text) {
                used[cell.sst] = true;
                ++references;
            }
}

}  // namespace levara::xls
