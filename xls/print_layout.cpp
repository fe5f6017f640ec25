// What a worksheet's printout is made of, as its records store it: the page setup,
// the manual page breaks, row heights and column widths.
#include <algorithm>

#include "xls/biff_records.h"
#include "xls/bytes.h"
#include "xls/defined_names.h"
#include "xls/record_ids.h"
#include "xls/record_order.h"
#include "xls/unicode.h"
#include "xls/workbook_data.h"

namespace levara::xls {

namespace {

// SETUP flags ([MS-XLS] 2.4.257 Setup) and the built-in name of print titles.
constexpr std::uint16_t kSetupPortrait = 0x0002;
constexpr std::uint16_t kSetupNotInitialised = 0x0004;  // fNoPls: paper, scale and orientation undefined
constexpr std::uint16_t kSetupNoOrientation = 0x0040;
constexpr std::uint16_t kWsBoolFitToPage = 0x0100;
constexpr char16_t kPrintTitles = 0x07;
constexpr double kDefaultColumnWidth = 8;  // characters, when DEFCOLWIDTH is absent

const SheetData& sheetOf(const WorkbookData* book, std::size_t index) { return book->sheets[book->worksheets[index]]; }

const Item* record(const SheetData& sheet, std::uint16_t type)
{
    for (const Item& item : sheet.items)
        if (item.type == type && !item.nested)
            return &item;
    return nullptr;
}

// The number a record of one 8-byte number holds (the margins), if any.
std::optional<double> storedInches(const SheetData& sheet, std::uint16_t type)
{
    const Item* item = record(sheet, type);
    if (!item || item->body.size() < 8)
        return std::nullopt;
    const double inches = peekDouble(item->body.data());
    return inches >= 0 && inches < 49 ? std::optional<double>(inches) : std::nullopt;
}

std::string storedText(const SheetData& sheet, std::uint16_t type)
{
    const Item* item = record(sheet, type);
    if (!item || item->body.empty())
        return {};
    try {
        ByteReader in(item->body, "HEADER or FOOTER");
        return utf8FromUtf16(readUnicodeString(in));
    } catch (const Error&) {
        return {};
    }
}

void readSetup(const SheetData& sheet, PageSetup& setup)
{
    const Item* item = record(sheet, rec::kSetup);
    const std::string_view b = item ? std::string_view(item->body) : std::string_view();
    std::uint16_t fitWidth = 1, fitHeight = 0;
    if (b.size() >= 12) {
        const std::uint16_t flags = peekU16(b.data() + 10);
        if (!(flags & kSetupNotInitialised)) {
            setup.paperSize = peekU16(b.data());
            const std::uint16_t scale = peekU16(b.data() + 2);
            setup.scale = scale >= 10 && scale <= 400 ? scale : 100;
            if (!(flags & kSetupNoOrientation))
                setup.landscape = !(flags & kSetupPortrait);
        }
        fitWidth = peekU16(b.data() + 6);
        fitHeight = peekU16(b.data() + 8);
    }
    if (b.size() >= 32) {
        setup.headerMargin = std::clamp(peekDouble(b.data() + 16), 0.0, 49.0);
        setup.footerMargin = std::clamp(peekDouble(b.data() + 24), 0.0, 49.0);
    }
    const Item* wsBool = record(sheet, rec::kWsBool);
    const bool fit = wsBool && wsBool->body.size() >= 2 && (peekU16(wsBool->body.data()) & kWsBoolFitToPage);
    // Fitting to other than one page wide has no place in PageSetup; at most it prints
    // at full size.
    setup.fitToPageWidth = fit && fitWidth == 1;
    setup.fitPagesTall = setup.fitToPageWidth ? fitHeight : 0;
    if (fit && fitWidth != 1)
        setup.scale = 100;
}

void readPrintTitles(const WorkbookData& book, const SheetData& sheet, PageSetup& setup)
{
    for (const Item& item : book.globals) {
        if (item.type != rec::kName || item.nested)
            continue;
        const auto name = readDefinedName(item.body);
        if (!name || !name->builtin || name->name != std::u16string(1, kPrintTitles) ||
            name->sheet != sheet.boundSheet + 1)
            continue;
        for (const SheetArea& area : formulaAreas(book.globals, name->formula))
            if (area.sheet == sheet.boundSheet && area.range.firstColumn == 1 && area.range.lastColumn == kMaxColumns) {
                setup.repeatFirstRow = area.range.firstRow;
                setup.repeatLastRow = area.range.lastRow;
            }
    }
}

}  // namespace

PageSetup Worksheet::pageSetup() const
{
    const SheetData& sheet = sheetOf(book_, index_);
    PageSetup setup;
    readSetup(sheet, setup);
    setup.leftMargin = storedInches(sheet, rec::kLeftMargin).value_or(setup.leftMargin);
    setup.rightMargin = storedInches(sheet, rec::kRightMargin).value_or(setup.rightMargin);
    setup.topMargin = storedInches(sheet, rec::kTopMargin).value_or(setup.topMargin);
    setup.bottomMargin = storedInches(sheet, rec::kBottomMargin).value_or(setup.bottomMargin);
    const Item* center = record(sheet, rec::kHCenter);
    setup.centerHorizontally = center && center->body.size() >= 2 && peekU16(center->body.data()) != 0;
    setup.header = storedText(sheet, rec::kHeader);
    setup.footer = storedText(sheet, rec::kFooter);
    readPrintTitles(*book_, sheet, setup);
    return setup;
}

double Worksheet::rowHeight(int row) const
{
    if (row < 1 || row > kMaxRows)
        return 0;
    const SheetData& sheet = sheetOf(book_, index_);
    return sheet.cells.rowHeight(row - 1).value_or(sheet.defaultRowTwips) / 20.0;
}

double Worksheet::columnWidth(int column) const
{
    if (column < 1 || column > kMaxColumns)
        return 0;
    const SheetData& sheet = sheetOf(book_, index_);
    if (const auto width = sheet.columns.width(column - 1))
        return *width / 256.0;
    const Item* defColWidth = record(sheet, rec::kDefColWidth);
    return defColWidth && defColWidth->body.size() >= 2 ? peekU16(defColWidth->body.data()) : kDefaultColumnWidth;
}

double Worksheet::standardFontPoints() const { return book_->styles.standardFontPoints(); }

void Worksheet::setRowBreaks(const std::vector<int>& rows)
{
    if (rows.size() > kMaxRowBreaks)
        throw LimitError(Error::Kind::LayoutLimit, std::to_string(rows.size()),
                         "a worksheet holds at most " + std::to_string(kMaxRowBreaks) + " page breaks, not " +
                             std::to_string(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i] < 2 || rows[i] > kMaxRows || (i > 0 && rows[i] <= rows[i - 1]))
            throw Error(Error::Kind::BadRequest, std::to_string(rows[i]),
                        "page breaks must lie before rows 2 to 65536, in ascending order");
    SheetData& sheet = book_->sheets[book_->worksheets[index_]];
    if (rows.empty())
        std::erase_if(sheet.items,
                      [](const Item& item) { return item.type == rec::kHorizontalPageBreaks && !item.nested; });
    else
        WorkbookData::setRecord(sheet.items, worksheetOrder(), rec::kHorizontalPageBreaks, body::rowBreaks(rows));
}

std::vector<int> Worksheet::rowBreaks() const
{
    std::vector<int> rows;
    const Item* item = record(sheetOf(book_, index_), rec::kHorizontalPageBreaks);
    if (!item)
        return rows;
    try {
        ByteReader in(item->body, "HORIZONTALPAGEBREAKS");
        for (std::uint16_t count = in.u16(); count > 0; --count) {
            rows.push_back(in.u16() + 1);
            in.skip(4);  // the columns it spans
        }
    } catch (const Error&) {
        // A break list cut short: the breaks read so far.
    }
    return rows;
}

}  // namespace levara::xls
