// Writing WorkbookData as a Workbook stream. Items kept as read are written as they
// were; the engine's own records are made here, and positions are filled in once the
// records they point at are written.
#include <algorithm>
#include <utility>

#include "xls/biff_records.h"
#include "xls/bytes.h"
#include "xls/record_ids.h"
#include "xls/record_order.h"
#include "xls/workbook_data.h"

namespace levara::xls {

namespace {

// One reader could not read a Workbook stream kept in the OLE2 mini stream (under
// 4,096 bytes) or of exactly 4,096 bytes; readers ignore bytes after the last EOF.
constexpr std::size_t kLeastStreamSize = 4608;

// EXTSST buckets as Excel makes them, unless the template's size still serves.
std::uint16_t bucketSize(std::size_t strings, std::uint16_t asRead)
{
    if (asRead > 0 && (strings + asRead - 1) / asRead <= 128)
        return asRead;
    return std::uint16_t(strings < 1024 ? 8 : strings / 128 + 1);
}

void writeMerges(StreamWriter& out, const std::vector<Range>& merges)
{
    for (std::size_t first = 0; first < merges.size(); first += body::kMergesPerRecord)
        out.write(rec::kMergedCells,
                  body::mergedCells(merges.data() + first, std::min(body::kMergesPerRecord, merges.size() - first)));
}

void writeSheet(StreamWriter& out, const SheetData& sheet, const std::vector<std::uint32_t>& newStringIndex)
{
    const CellTable& cells = sheet.cells;
    std::size_t indexPosition = 0, defColWidth = 0;
    const Item* indexItem = nullptr;
    std::vector<std::uint32_t> dbCells;
    bool mergesWritten = false, columnsWritten = false;
    for (const Item& item : sheet.items) {
        switch (item.kind) {
        case Item::Kind::Index:
            indexItem = &item;
            indexPosition = out.position();
            out.write(rec::kIndex, std::string(16 + 4 * cells.dbCellCount(), '\0'));
            break;
        case Item::Kind::Dimensions:
            if (cells.rebuilt()) {
                const CellTable::Bounds b = cells.bounds();
                out.write(rec::kDimensions,
                          body::dimensions(b.firstCellRow, b.lastCellRowPlus1, b.firstColumn, b.lastColumnPlus1));
            } else {
                out.writeVerbatim(item.type, item.body);
            }
            break;
        case Item::Kind::CellTable: dbCells = cells.write(out, newStringIndex, sheet.defaultRowTwips); break;
        case Item::Kind::MergedCells:
            if (!sheet.mergesChanged)
                out.writeVerbatim(item.type, item.body);
            else if (!std::exchange(mergesWritten, true))
                writeMerges(out, sheet.merges.all());
            break;
        case Item::Kind::ColInfo:
            if (!sheet.columns.changed())
                out.writeVerbatim(item.type, item.body);
            else if (!std::exchange(columnsWritten, true))
                sheet.columns.write(out);
            break;
        default:
            if (item.type == rec::kDefColWidth)
                defColWidth = out.position();
            out.writeVerbatim(item.type, item.body);
            break;
        }
    }
    if (!indexItem)
        return;
    // INDEX: the rows, where DEFCOLWIDTH is and where each DBCELL is. A template's
    // own row range is kept while its cells are.
    std::uint32_t firstRow, lastRowPlus1, defColWidthField = std::uint32_t(defColWidth);
    if (cells.rebuilt() || indexItem->body.size() < 16) {
        const CellTable::Bounds b = cells.bounds();
        firstRow = b.firstRow;
        lastRowPlus1 = b.lastRowPlus1;
    } else {
        firstRow = peekU32(indexItem->body.data() + 4);
        lastRowPlus1 = peekU32(indexItem->body.data() + 8);
        if (peekU32(indexItem->body.data() + 12) == 0)
            defColWidthField = 0;
    }
    const std::string index = body::index(firstRow, lastRowPlus1, defColWidthField, dbCells);
    std::copy(index.begin(), index.end(), out.bytes().begin() + std::ptrdiff_t(indexPosition + 4));
}

}  // namespace

std::string WorkbookData::write() const
{
    std::vector<bool> used(strings.size(), false);
    std::uint32_t references = 0;
    for (const SheetData& sheet : sheets)
        sheet.cells.countStrings(used, references);
    // The total as the template counted it (writers differ), moved by what changed.
    const std::int64_t total = std::int64_t(readStringTotal) + std::int64_t(references) - std::int64_t(readStringRefs);
    const std::uint32_t totalStrings = std::uint32_t(std::max<std::int64_t>(total, 0));

    StreamWriter out;
    std::size_t estimate = 65536 + strings.size() * 16;
    for (const SheetData& sheet : sheets)
        estimate += sheet.cells.sizeEstimate() + sheet.merges.size() * 8;
    out.bytes().reserve(estimate);
    SharedStrings::Written written;
    written.newIndex.resize(strings.size());
    for (std::uint32_t i = 0; i < written.newIndex.size(); ++i)
        written.newIndex[i] = i;
    std::vector<std::size_t> boundSheetFields(sheets.size(), 0);
    std::vector<bool> hasBoundSheet(sheets.size(), false);

    for (const Item& item : globals) {
        switch (item.kind) {
        case Item::Kind::Fonts: styles.writeFonts(out); break;
        case Item::Kind::Formats: styles.writeFormats(out); break;
        case Item::Kind::Xfs: styles.writeXfs(out); break;
        case Item::Kind::BoundSheet:
            boundSheetFields[item.sheet] = out.position() + 4;
            hasBoundSheet[item.sheet] = true;
            out.writeVerbatim(item.type, item.body);
            break;
        case Item::Kind::Sst: {
            std::size_t kept = std::size_t(std::count(used.begin(), used.end(), true));
            written = strings.write(out, used, totalStrings, bucketSize(kept, readBucketSize));
            break;
        }
        case Item::Kind::ExtSst: out.write(rec::kExtSst, written.extSst); break;
        case Item::Kind::XfCrc: {
            std::string body = item.body;
            pokeU16(body.data() + 14, std::uint16_t(styles.xfCount()));
            pokeU32(body.data() + 16, styles.xfChecksum());
            out.writeVerbatim(item.type, body);
            break;
        }
        default: out.writeVerbatim(item.type, item.body); break;
        }
    }
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        if (hasBoundSheet[s])
            out.patchU32(boundSheetFields[s], std::uint32_t(out.position()));
        writeSheet(out, sheets[s], written.newIndex);
    }
    std::string stream = std::move(out.bytes());
    if (stream.size() < kLeastStreamSize)
        stream.resize(kLeastStreamSize, '\0');
    return stream;
}

std::uint32_t WorkbookData::addString(std::u16string_view text)
{
    // A workbook with strings has its SST already.
    if (strings.size() == 0 && !findItem(globals, rec::kSst)) {
        insertItem(globals, globalsOrder(), Item{Item::Kind::Sst, rec::kSst, {}, 0});
        insertItem(globals, globalsOrder(), Item{Item::Kind::ExtSst, rec::kExtSst, {}, 0});
    }
    return strings.add(text);
}

Item* WorkbookData::findItem(std::vector<Item>& items, std::uint16_t type)
{
    for (Item& item : items)
        if (item.type == type && !item.nested)
            return &item;
    return nullptr;
}

Item& WorkbookData::setRecord(std::vector<Item>& items, std::span<const std::uint16_t> order, std::uint16_t type,
                              std::string body)
{
    if (Item* item = findItem(items, type)) {
        item->body = std::move(body);
        return *item;
    }
    return insertItem(items, order, Item{Item::Kind::Record, type, std::move(body), 0});
}

void prepareCellLayout(SheetData& sheet)
{
    sheet.cellLayoutReady = true;
    if (!WorkbookData::findItem(sheet.items, rec::kIndex))
        WorkbookData::insertItem(sheet.items, worksheetOrder(), Item{Item::Kind::Index, rec::kIndex, {}, 0});
    if (!WorkbookData::findItem(sheet.items, rec::kDimensions))
        WorkbookData::insertItem(sheet.items, worksheetOrder(), Item{Item::Kind::Dimensions, rec::kDimensions, {}, 0});
}

Item& WorkbookData::insertItem(std::vector<Item>& items, std::span<const std::uint16_t> order, Item item)
{
    const int rank = rankIn(order, item.type);
    // After the last item that comes no later in the order; unknown types before EOF.
    std::size_t place = items.empty() ? 0 : items.size() - 1;
    if (rank >= 0) {
        place = 1;
        for (std::size_t k = 0; k < items.size(); ++k) {
            const int other = rankIn(order, items[k].type);
            if (!items[k].nested && other >= 0 && other <= rank && items[k].type != rec::kEof)
                place = k + 1;
        }
    }
    place = std::min(place, items.size());
    return *items.insert(items.begin() + std::ptrdiff_t(place), std::move(item));
}

}  // namespace levara::xls
