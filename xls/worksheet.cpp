// The worksheet's cells, merges and borders, checked at the edge of the format.
#include <algorithm>
#include <cmath>

#include "xls/record_ids.h"
#include "xls/record_order.h"
#include "xls/unicode.h"
#include "xls/workbook_data.h"

namespace levara::xls {

namespace {

constexpr std::uint16_t kDefaultCellXf = 15;

SheetData& sheetOf(WorkbookData* book, std::size_t index) { return book->sheets[book->worksheets[index]]; }

bool inside(int row, int column) { return row >= 1 && row <= kMaxRows && column >= 1 && column <= kMaxColumns; }

// Apart from checkCell: the check stays small enough to be inlined into every setter.
[[noreturn]] void throwOutside(int row, int column)
{
    if (row < 1 || row > kMaxRows)
        throw LimitError(Error::Kind::RowLimit, std::to_string(row),
                         "row " + std::to_string(row) + " is outside rows 1 to 65536 of a .xls worksheet");
    throw LimitError(Error::Kind::ColumnLimit, std::to_string(column),
                     "column " + std::to_string(column) + " is outside columns 1 to 256 of a .xls worksheet");
}

void checkCell(int row, int column)
{
    if (!inside(row, column))
        throwOutside(row, column);
}

Range checked(Range range)
{
    if (range.firstRow > range.lastRow)
        std::swap(range.firstRow, range.lastRow);
    if (range.firstColumn > range.lastColumn)
        std::swap(range.firstColumn, range.lastColumn);
    checkCell(range.firstRow, range.firstColumn);
    checkCell(range.lastRow, range.lastColumn);
    return range;
}

// The XF a new cell of the sheet gets: its row's, else its column's, else the default.
std::uint16_t defaultXf(const SheetData& sheet, int row, int column)
{
    if (const auto xf = sheet.cells.rowDefaultXf(row))
        return *xf;
    return sheet.columns.xf(column).value_or(kDefaultCellXf);
}

// The cell at (row, column) from 0, made with its default format when absent.
Cell& editCell(WorkbookData& book, SheetData& sheet, int row, int column)
{
    Cell* cell = sheet.cells.find(row, column);
    if (!cell) {
        const std::uint16_t xf = book.styles.cellXf(defaultXf(sheet, row, column));  // may throw LimitError
        prepareCellChanges(sheet);
        cell = &sheet.cells.cell(row, column, xf);
    } else {
        prepareCellChanges(sheet);
    }
    sheet.cells.forget(*cell);
    return *cell;
}

}  // namespace

std::string Worksheet::name() const { return sheetOf(book_, index_).name; }

Value Worksheet::value(int row, int column) const
{
    if (!inside(row, column))
        return std::monostate{};
    const SheetData& sheet = sheetOf(book_, index_);
    const Cell* cell = sheet.cells.find(row - 1, column - 1);
    return cell ? sheet.cells.value(*cell, book_->strings) : Value{};
}

void Worksheet::setNumber(int row, int column, double value)
{
    checkCell(row, column);
    if (!std::isfinite(value))
        throw Error(Error::Kind::BadRequest, std::to_string(value),
                    "cannot store " + std::to_string(value) + " in a cell: not a finite number");
    Cell& cell = editCell(*book_, sheetOf(book_, index_), row - 1, column - 1);
    std::uint32_t rk;
    if (encodeRk(value, rk)) {
        cell.kind = CellKind::Rk;
        cell.rk = rk;
    } else {
        cell.kind = CellKind::Number;
        cell.number = value;
    }
}

void Worksheet::setText(int row, int column, std::string_view utf8)
{
    checkCell(row, column);
    if (utf8.empty()) {
        clearValue(row, column);
        return;
    }
    const std::u16string text = utf16FromUtf8(utf8);
    if (text.size() > kMaxTextLength)
        throw LimitError(Error::Kind::TextLimit, std::to_string(text.size()),
                         "a text of " + std::to_string(text.size()) +
                             " characters is longer than the 32767 a cell holds");
    Cell& cell = editCell(*book_, sheetOf(book_, index_), row - 1, column - 1);
    cell.kind = CellKind::Text;
    cell.sst = book_->addString(text);
}

void Worksheet::clearValue(int row, int column)
{
    checkCell(row, column);
    SheetData& sheet = sheetOf(book_, index_);
    const Cell* existing = sheet.cells.find(row - 1, column - 1);
    if (!existing || existing->kind == CellKind::Blank)
        return;
    Cell& cell = editCell(*book_, sheet, row - 1, column - 1);
    cell.kind = CellKind::Blank;
}

void Worksheet::merge(const Range& range)
{
    const Range r = checked(range);
    if (r.firstRow == r.lastRow && r.firstColumn == r.lastColumn)
        return;
    SheetData& sheet = sheetOf(book_, index_);
    // Merges changed before have their record already.
    if (!sheet.mergesChanged && !WorkbookData::findItem(sheet.items, rec::kMergedCells))
        WorkbookData::insertItem(sheet.items, worksheetOrder(),
                                 Item{Item::Kind::MergedCells, rec::kMergedCells, {}, 0});
    sheet.merges.merge(r);
    sheet.mergesChanged = true;
}

void Worksheet::unmerge(const Range& range)
{
    const Range r = checked(range);
    SheetData& sheet = sheetOf(book_, index_);
    if (sheet.merges.unmerge(r))
        sheet.mergesChanged = true;
}

std::optional<Range> Worksheet::mergeAt(int row, int column) const
{
    if (!inside(row, column))
        return std::nullopt;
    return sheetOf(book_, index_).merges.at(row, column);
}

std::vector<Range> Worksheet::merges() const { return sheetOf(book_, index_).merges.all(); }

void Worksheet::setThinBorders(const Range& range)
{
    const Range r = checked(range);
    SheetData& sheet = sheetOf(book_, index_);
    Styles& styles = book_->styles;
    const int first = r.firstColumn - 1, last = r.lastColumn - 1;
    // The format a new cell gets: its row's, else its column's, else the default.
    const auto newCellXf = [&](std::optional<std::uint16_t> rowXf, int column) {
        return rowXf ? *rowXf : sheet.columns.xf(column).value_or(kDefaultCellXf);
    };

    // Each cell needs at most one new format. Only when the workbook has no room for
    // that many are the formats the borders need counted before changing anything.
    const auto cellCount = std::size_t(r.lastRow - r.firstRow + 1) * std::size_t(last - first + 1);
    if (!styles.hasRoomFor(cellCount)) {
        std::vector<std::uint16_t> sources;
        for (int row = r.firstRow - 1; row < r.lastRow; ++row) {
            const std::optional<std::uint16_t> rowXf = sheet.cells.rowDefaultXf(row);
            sheet.cells.forEachInRange(row, first, last, [&](int column, const Cell* cell) {
                const std::uint16_t xf = cell ? cell->xf : newCellXf(rowXf, column);
                if (std::find(sources.begin(), sources.end(), xf) == sources.end())
                    sources.push_back(xf);
            });
        }
        styles.checkRoomFor(styles.newXfsForBorders(sources));
    }

    prepareCellChanges(sheet);
    // Neighbouring cells mostly share their format, and so their bordered one.
    int lastSource = -1;
    std::uint16_t lastBordered = 0;
    for (int row = r.firstRow - 1; row < r.lastRow; ++row) {
        const std::optional<std::uint16_t> rowXf = sheet.cells.rowDefaultXf(row);
        sheet.cells.editRange(
            row, first, last, [&](int column) { return newCellXf(rowXf, column); },
            [&](Cell& cell) {
                if (cell.xf != lastSource) {
                    lastSource = cell.xf;
                    lastBordered = styles.borderedXf(cell.xf);
                }
                sheet.cells.setXf(cell, lastBordered);
            });
    }
}

Borders Worksheet::borders(int row, int column) const
{
    if (!inside(row, column))
        return {};
    const SheetData& sheet = sheetOf(book_, index_);
    const Cell* cell = sheet.cells.find(row - 1, column - 1);
    return book_->styles.borders(cell ? cell->xf : defaultXf(sheet, row - 1, column - 1));
}

void Worksheet::setFontColour(const Range& range, std::uint16_t colour)
{
    const Range r = checked(range);
    SheetData& sheet = sheetOf(book_, index_);
    Styles& styles = book_->styles;
    const auto sourceXf = [&](int row, int column) {
        const Cell* existing = sheet.cells.find(row, column);
        return existing ? existing->xf : styles.cellXf(defaultXf(sheet, row, column));
    };
    // The formats first: when the workbook has no room for them, no cell has changed.
    for (int row = r.firstRow - 1; row < r.lastRow; ++row)
        for (int column = r.firstColumn - 1; column < r.lastColumn; ++column)
            styles.withFontColour(sourceXf(row, column), colour);
    prepareCellChanges(sheet);
    for (int row = r.firstRow - 1; row < r.lastRow; ++row)
        for (int column = r.firstColumn - 1; column < r.lastColumn; ++column) {
            const std::uint16_t source = sourceXf(row, column);
            sheet.cells.setXf(sheet.cells.cell(row, column, source), styles.withFontColour(source, colour));
        }
}

std::uint16_t Worksheet::fontColour(int row, int column) const
{
    if (!inside(row, column))
        return kAutomaticFontColour;
    const SheetData& sheet = sheetOf(book_, index_);
    const Cell* cell = sheet.cells.find(row - 1, column - 1);
    return book_->styles.fontColour(cell ? cell->xf : defaultXf(sheet, row - 1, column - 1));
}

std::string Worksheet::numberFormat(int row, int column) const
{
    if (!inside(row, column))
        return "General";
    const SheetData& sheet = sheetOf(book_, index_);
    const Cell* cell = sheet.cells.find(row - 1, column - 1);
    return book_->styles.formatCode(cell ? cell->xf : defaultXf(sheet, row - 1, column - 1));
}

void Worksheet::setNumberFormat(const Range& range, std::string_view code)
{
    const Range r = checked(range);
    SheetData& sheet = sheetOf(book_, index_);
    Styles& styles = book_->styles;
    // The formats first: when the workbook has no room for them, no cell has changed.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> formatted;  // source XF, its formatted one
    const auto sourceXf = [&](int row, int column) {
        const Cell* existing = sheet.cells.find(row, column);
        return existing ? existing->xf : styles.cellXf(defaultXf(sheet, row, column));
    };
    for (int row = r.firstRow - 1; row < r.lastRow; ++row)
        for (int column = r.firstColumn - 1; column < r.lastColumn; ++column) {
            const std::uint16_t source = sourceXf(row, column);
            if (std::find_if(formatted.begin(), formatted.end(), [&](const auto& f) { return f.first == source; }) ==
                formatted.end())
                formatted.emplace_back(source, styles.withNumberFormat(source, code));
        }
    prepareCellChanges(sheet);
    for (int row = r.firstRow - 1; row < r.lastRow; ++row)
        for (int column = r.firstColumn - 1; column < r.lastColumn; ++column) {
            const std::uint16_t source = sourceXf(row, column);
            const auto it =
                std::find_if(formatted.begin(), formatted.end(), [&](const auto& f) { return f.first == source; });
            sheet.cells.setXf(sheet.cells.cell(row, column, source), it->second);
        }
}

int Worksheet::lastRow() const { return sheetOf(book_, index_).cells.lastCellRow() + 1; }

void Worksheet::setStyle(int row, int column, StyleId style)
{
    checkCell(row, column);
    if (style < 0 || std::size_t(style) >= book_->styles.xfCount() || book_->styles.isStyleXf(std::uint16_t(style)))
        throw Error(Error::Kind::BadRequest, std::to_string(style),
                    "cell format " + std::to_string(style) + " does not exist in this workbook");
    SheetData& sheet = sheetOf(book_, index_);
    prepareCellChanges(sheet);
    Cell& cell = sheet.cells.cell(row - 1, column - 1, std::uint16_t(style));
    sheet.cells.setXf(cell, std::uint16_t(style));
}

void Worksheet::setColumns(int firstColumn, int lastColumn, double widthInCharacters, std::optional<StyleId> style)
{
    checkCell(1, firstColumn);
    checkCell(1, lastColumn);
    if (firstColumn > lastColumn)
        std::swap(firstColumn, lastColumn);
    if (!(widthInCharacters >= 0 && widthInCharacters <= 255))
        throw LimitError(Error::Kind::LayoutLimit, std::to_string(widthInCharacters),
                         "column width " + std::to_string(widthInCharacters) + " is outside 0 to 255 characters");
    if (style && (*style < 0 || std::size_t(*style) >= book_->styles.xfCount() ||
                  book_->styles.isStyleXf(std::uint16_t(*style))))
        throw Error(Error::Kind::BadRequest, std::to_string(*style),
                    "cell format " + std::to_string(*style) + " does not exist in this workbook");
    SheetData& sheet = sheetOf(book_, index_);
    if (!WorkbookData::findItem(sheet.items, rec::kColInfo))
        WorkbookData::insertItem(sheet.items, worksheetOrder(), Item{Item::Kind::ColInfo, rec::kColInfo, {}, 0});
    sheet.columns.set(firstColumn - 1, lastColumn - 1, std::uint16_t(std::lround(widthInCharacters * 256)),
                      style ? std::optional<std::uint16_t>(std::uint16_t(*style)) : std::nullopt);
}

void Worksheet::setRowHeight(int row, double points)
{
    checkCell(row, 1);
    if (!(points > 0 && points <= 409))
        throw LimitError(Error::Kind::LayoutLimit, std::to_string(points),
                         "row height " + std::to_string(points) + " is outside 0 to 409 points");
    SheetData& sheet = sheetOf(book_, index_);
    prepareCellChanges(sheet);
    sheet.cells.setRowHeight(row - 1, std::uint16_t(std::lround(points * 20)));
}

}  // namespace levara::xls
