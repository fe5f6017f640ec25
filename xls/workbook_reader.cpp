// Reading a Workbook stream into WorkbookData.
#include <unordered_map>
#include <utility>

#include "xls/bytes.h"
#include "xls/record_ids.h"
#include "xls/record_order.h"
#include "xls/record_stream.h"
#include "xls/unicode.h"
#include "xls/workbook_data.h"

namespace levara::xls {

namespace {

std::string at(const RawRecord& record) { return " at byte " + std::to_string(record.position); }

[[noreturn]] void damaged(std::string detail, const std::string& explanation)
{
    throw Error(Error::Kind::Damaged, std::move(detail), explanation);
}

void checkGlobalsBof(const RawRecord& bof)
{
    const std::uint16_t version = peekU16(bof.body.data());
    const std::uint16_t substream = peekU16(bof.body.data() + 2);
    if (version == 0x0500)
        throw Error(Error::Kind::Biff5, "",
                    "the workbook is in the Excel 5.0/95 (BIFF5) format; only Excel 97-2003 (BIFF8) workbooks "
                    "can be used");
    if (version != 0x0600)
        damaged(recordAt(bof), "the workbook is not in the Excel 97-2003 (BIFF8) format");
    if (substream != 0x0005)
        damaged(recordAt(bof), "the Workbook stream does not begin with the workbook globals");
}

Item placeholder(Item::Kind kind, std::uint16_t type) { return Item{kind, type, {}, 0}; }

void readGlobals(WorkbookData& book, const std::vector<RawRecord>& records, std::size_t& i)
{
    bool fonts = false, formats = false, xfs = false, sst = false, extSst = false;
    for (++i; i < records.size(); ++i) {
        const RawRecord& r = records[i];
        switch (r.type) {
        case rec::kBof: damaged(recordAt(r), "the workbook globals end without an EOF record");
        case rec::kFilePass:
            throw Error(Error::Kind::Encrypted, "",
                        "the workbook is encrypted (saved with a password); save it without a password first");
        case rec::kFont:
            if (!std::exchange(fonts, true))
                book.globals.push_back(placeholder(Item::Kind::Fonts, r.type));
            book.styles.readFont(r.body);
            break;
        case rec::kFormat:
            if (!std::exchange(formats, true))
                book.globals.push_back(placeholder(Item::Kind::Formats, r.type));
            book.styles.readFormat(r.body);
            break;
        case rec::kXf:
            if (!std::exchange(xfs, true))
                book.globals.push_back(placeholder(Item::Kind::Xfs, r.type));
            book.styles.readXf(r.body);
            break;
        case rec::kBoundSheet:
            book.globals.push_back(Item{Item::Kind::BoundSheet, r.type, std::string(r.body), 0});
            break;
        case rec::kSst: {
            if (std::exchange(sst, true)) {  // a second table: nothing refers to it, keep it as it is
                book.globals.push_back(Item{Item::Kind::Record, r.type, std::string(r.body), 0});
                break;
            }
            std::vector<std::string_view> parts{r.body};
            while (i + 1 < records.size() && records[i + 1].type == rec::kContinue)
                parts.push_back(records[++i].body);
            book.strings.read(parts);
            book.readStringTotal = peekU32(r.body.data());
            book.globals.push_back(placeholder(Item::Kind::Sst, r.type));
            break;
        }
        case rec::kExtSst:
            if (!sst || std::exchange(extSst, true)) {
                book.globals.push_back(Item{Item::Kind::Record, r.type, std::string(r.body), 0});
                break;
            }
            book.readBucketSize = peekU16(r.body.data());
            book.globals.push_back(placeholder(Item::Kind::ExtSst, r.type));
            break;
        case rec::kXfCrc: book.globals.push_back(Item{Item::Kind::XfCrc, r.type, std::string(r.body), 0}); break;
        case rec::kEof:
            book.globals.push_back(Item{Item::Kind::Record, r.type, {}, 0});
            ++i;
            return;
        default: book.globals.push_back(Item{Item::Kind::Record, r.type, std::string(r.body), 0}); break;
        }
    }
    damaged("EOF", "the Workbook stream is truncated: the workbook globals end without an EOF record");
}

void readMerges(SheetData& sheet, const RawRecord& r)
{
    ByteReader in(r.body, "MERGEDCELLS");
    const std::uint16_t count = in.u16();
    if (in.remaining() < std::size_t(count) * 8)
        damaged(recordAt(r), "a MERGEDCELLS record" + at(r) + " holds fewer ranges than it claims");
    for (std::uint16_t k = 0; k < count; ++k) {
        const std::uint16_t firstRow = in.u16(), lastRow = in.u16(), firstColumn = in.u16(), lastColumn = in.u16();
        // A range no reader could show is left out rather than refused.
        if (firstRow <= lastRow && firstColumn <= lastColumn && lastColumn < kMaxColumns)
            sheet.merges.addRead(Range{firstRow + 1, firstColumn + 1, lastRow + 1, lastColumn + 1});
    }
}

void readSheet(SheetData& sheet, const std::vector<RawRecord>& records, std::size_t& i, std::size_t strings)
{
    const RawRecord& bof = records[i];
    sheet.worksheet = peekU16(bof.body.data() + 2) == 0x0010;
    sheet.items.push_back(Item{Item::Kind::Record, bof.type, std::string(bof.body), 0});
    int depth = 1;
    bool tableStarted = false, tableEnded = false, contiguous = true, afterFormula = false;
    for (++i; i < records.size(); ++i) {
        const RawRecord& r = records[i];
        if (r.type == rec::kBof)
            ++depth;
        if (r.type == rec::kEof && --depth == 0) {
            sheet.items.push_back(Item{Item::Kind::Record, r.type, {}, 0});
            ++i;
            if (!tableStarted && sheet.worksheet)
                WorkbookData::insertItem(sheet.items, worksheetOrder(),
                                         placeholder(Item::Kind::CellTable, kCellTableSlot));
            sheet.cells.finishReading(contiguous);
            return;
        }
        // Charts and other sheets are kept whole; so are charts inside a worksheet.
        if (!sheet.worksheet || depth > 1 || r.type == rec::kBof || r.type == rec::kEof) {
            sheet.items.push_back(Item{Item::Kind::Record, r.type, std::string(r.body), 0, sheet.worksheet});
            continue;
        }
        const bool tableRecord = r.type == rec::kRow || r.type == rec::kDbCell || rec::isCellRecord(r.type) ||
                                 (afterFormula && (rec::isFormulaFollower(r.type) || r.type == rec::kContinue));
        if (tableRecord) {
            if (!tableStarted)
                sheet.items.push_back(placeholder(Item::Kind::CellTable, kCellTableSlot));
            else if (tableEnded)
                contiguous = false;
            tableStarted = true;
            sheet.cells.read(r, strings);
            afterFormula = r.type == rec::kFormula || (afterFormula && r.type != rec::kRow &&
                                                       !rec::isCellRecord(r.type) && r.type != rec::kDbCell);
            continue;
        }
        afterFormula = false;
        if (tableStarted)
            tableEnded = true;
        switch (r.type) {
        case rec::kIndex: sheet.items.push_back(Item{Item::Kind::Index, r.type, std::string(r.body), 0}); break;
        case rec::kDimensions:
            sheet.items.push_back(Item{Item::Kind::Dimensions, r.type, std::string(r.body), 0});
            break;
        case rec::kMergedCells:
            readMerges(sheet, r);
            sheet.items.push_back(Item{Item::Kind::MergedCells, r.type, std::string(r.body), 0});
            break;
        case rec::kColInfo:
            sheet.columns.read(r.body);
            sheet.items.push_back(Item{Item::Kind::ColInfo, r.type, std::string(r.body), 0});
            break;
        case rec::kDefaultRowHeight:
            sheet.defaultRowTwips = peekU16(r.body.data() + 2);
            sheet.items.push_back(Item{Item::Kind::Record, r.type, std::string(r.body), 0});
            break;
        default: sheet.items.push_back(Item{Item::Kind::Record, r.type, std::string(r.body), 0}); break;
        }
    }
    damaged("EOF", "the Workbook stream is truncated: a sheet ends without an EOF record");
}

}  // namespace

void WorkbookData::read(WorkbookData& book, std::string_view stream)
{
    const std::vector<RawRecord> records = splitRecords(stream);
    if (records.empty() || records[0].type != rec::kBof)
        damaged("BOF", "the Workbook stream does not begin with a BOF record");
    checkGlobalsBof(records[0]);
    book.globals.push_back(Item{Item::Kind::Record, records[0].type, std::string(records[0].body), 0});
    std::size_t i = 0;
    readGlobals(book, records, i);
    if (book.styles.xfCount() == 0)
        damaged("XF", "the workbook has no cell formats (XF records)");
    // A workbook whose cells use only built-in number formats has no FORMAT record;
    // a format or font added to it still needs its place among the globals.
    if (!WorkbookData::findItem(book.globals, rec::kFont))
        WorkbookData::insertItem(book.globals, globalsOrder(), placeholder(Item::Kind::Fonts, rec::kFont));
    if (!WorkbookData::findItem(book.globals, rec::kFormat))
        WorkbookData::insertItem(book.globals, globalsOrder(), placeholder(Item::Kind::Formats, rec::kFormat));

    std::unordered_map<std::uint32_t, std::size_t> sheetAt;
    while (i < records.size()) {
        if (records[i].type != rec::kBof)
            damaged(recordAt(records[i]), "a record" + at(records[i]) + " lies outside every sheet");
        sheetAt[records[i].position] = book.sheets.size();
        book.sheets.emplace_back();
        readSheet(book.sheets.back(), records, i, book.strings.size());
    }

    std::size_t boundSheets = 0;
    std::vector<bool> named(book.sheets.size(), false);
    for (Item& item : book.globals) {
        if (item.kind != Item::Kind::BoundSheet)
            continue;
        ByteReader in(item.body, "BOUNDSHEET");
        const std::uint32_t position = in.u32();
        in.u8();
        const std::uint8_t type = in.u8();
        const std::u16string name = readShortUnicodeString(in);
        const auto found = sheetAt.find(position);
        if (found == sheetAt.end() || named[found->second])
            damaged("BOUNDSHEET " + utf8FromUtf16(name),
                    "the sheet \"" + utf8FromUtf16(name) + "\" points to no sheet in the Workbook stream");
        named[found->second] = true;
        item.sheet = found->second;
        SheetData& sheet = book.sheets[found->second];
        sheet.name = utf8FromUtf16(name);
        sheet.boundSheet = boundSheets++;
        if (type == 0 && sheet.worksheet)
            book.worksheets.push_back(found->second);
    }
    std::vector<bool> used(book.strings.size(), false);
    for (const SheetData& sheet : book.sheets)
        sheet.cells.countStrings(used, book.readStringRefs);
}

}  // namespace levara::xls
