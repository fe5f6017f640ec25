// Page setup, frozen rows and defined names, for making templates: records of the
// sheet (and NAME records in the globals) set or inserted in their place.
#include <cmath>

#include "xls/biff_records.h"
#include "xls/bytes.h"
#include "xls/defined_names.h"
#include "xls/record_ids.h"
#include "xls/record_order.h"
#include "xls/unicode.h"
#include "xls/workbook_data.h"

namespace levara::xls {

namespace {

constexpr std::uint16_t kWsBoolFitToPage = 0x0100;
constexpr std::uint16_t kWindowFrozen = 0x0008;
constexpr std::uint16_t kWindowFrozenNoSplit = 0x0100;

SheetData& sheetOf(WorkbookData* book, std::size_t index) { return book->sheets[book->worksheets[index]]; }

void removeRecords(std::vector<Item>& items, std::uint16_t type)
{
    std::erase_if(items, [type](const Item& item) { return item.type == type && !item.nested; });
}

// The EXTERNSHEET entry for the workbook's own sheet `sheet`, made when missing.
std::uint16_t internalSheetReference(WorkbookData& book, std::uint16_t sheet)
{
    std::size_t supBooks = 0, internal = SIZE_MAX;
    for (const Item& item : book.globals)
        if (item.type == rec::kSupBook) {
            if (item.body.size() >= 4 && peekU16(item.body.data() + 2) == 0x0401 && internal == SIZE_MAX)
                internal = supBooks;
            ++supBooks;
        }
    if (internal == SIZE_MAX) {
        std::uint16_t sheets = 0;
        for (const Item& item : book.globals)
            sheets += item.kind == Item::Kind::BoundSheet;
        WorkbookData::insertItem(book.globals, globalsOrder(),
                                 Item{Item::Kind::Record, rec::kSupBook, body::internalSupBook(sheets), 0});
        internal = supBooks;
    }
    Item* externSheet = WorkbookData::findItem(book.globals, rec::kExternSheet);
    if (!externSheet)
        externSheet = &WorkbookData::insertItem(book.globals, globalsOrder(),
                                                Item{Item::Kind::Record, rec::kExternSheet, body::externSheet({}), 0});
    std::string& refs = externSheet->body;
    if (refs.size() < 2)
        refs = body::externSheet({});
    const std::uint16_t count = peekU16(refs.data());
    for (std::uint16_t k = 0; k < count && 2 + 6 * std::size_t(k + 1) <= refs.size(); ++k) {
        const char* entry = refs.data() + 2 + 6 * k;
        if (peekU16(entry) == internal && peekU16(entry + 2) == sheet && peekU16(entry + 4) == sheet)
            return k;
    }
    refs.resize(2 + 6 * std::size_t(count));
    putU16(refs, std::uint16_t(internal));
    putU16(refs, sheet);
    putU16(refs, sheet);
    pokeU16(refs.data(), std::uint16_t(count + 1));
    return count;
}

// After the other names, so that their numbers (by which formulas name them) stay.
void appendName(WorkbookData& book, std::string body)
{
    Item item{Item::Kind::Record, rec::kName, std::move(body), 0};
    std::size_t lastName = SIZE_MAX;
    for (std::size_t k = 0; k < book.globals.size(); ++k)
        if (book.globals[k].type == rec::kName)
            lastName = k;
    if (lastName != SIZE_MAX)
        book.globals.insert(book.globals.begin() + std::ptrdiff_t(lastName + 1), std::move(item));
    else
        WorkbookData::insertItem(book.globals, globalsOrder(), std::move(item));
}

bool isPrintTitles(const Item& item, std::uint16_t sheet)
{
    const std::string& b = item.body;
    return item.type == rec::kName && b.size() >= 16 && (peekU16(b.data()) & 0x0020) && std::uint8_t(b[3]) == 1 &&
           peekU16(b.data() + 8) == sheet + 1 && std::uint8_t(b[15]) == 0x07;
}

void setPrintTitles(WorkbookData& book, const SheetData& sheet, int firstRow, int lastRow)
{
    const auto tab = std::uint16_t(sheet.boundSheet);
    std::size_t existing = SIZE_MAX, lastName = SIZE_MAX;
    for (std::size_t k = 0; k < book.globals.size(); ++k) {
        if (book.globals[k].type == rec::kName)
            lastName = k;
        if (isPrintTitles(book.globals[k], tab))
            existing = k;
    }
    if (firstRow == 0) {
        if (existing == SIZE_MAX)
            return;
        // Formulas name NAME records by number: only the last one can go.
        if (existing != lastName)
            throw Error(Error::Kind::BadRequest, sheet.name,
                        "cannot remove the print titles of sheet \"" + sheet.name + "\": other names follow them");
        book.globals.erase(book.globals.begin() + std::ptrdiff_t(existing));
        return;
    }
    std::string name = body::printTitles(tab, internalSheetReference(book, tab), firstRow - 1, lastRow - 1);
    if (existing != SIZE_MAX)
        book.globals[existing].body = std::move(name);
    else
        appendName(book, std::move(name));
}

// Excel refuses a name that is empty, holds blanks or operators, starts with a digit
// or looks like a cell address ("A1", "R", "C").
void checkName(std::u16string_view name, std::string_view utf8)
{
    bool valid = !name.empty() && name.size() <= 255 && !(name[0] >= u'0' && name[0] <= u'9') && name[0] != u'.';
    for (char16_t c : name)
        if (c <= u' ' || std::u16string_view(u"!\"#$%&'()*+,-/:;<=>?@[]^`{|}~").find(c) != std::u16string_view::npos)
            valid = false;
    std::size_t letters = 0;
    while (letters < name.size() && ((name[letters] | 0x20) >= u'a' && (name[letters] | 0x20) <= u'z'))
        ++letters;
    std::size_t digits = letters;
    while (digits < name.size() && name[digits] >= u'0' && name[digits] <= u'9')
        ++digits;
    if ((letters >= 1 && letters <= 3 && digits > letters && digits == name.size()) ||
        (name.size() == 1 && (name[0] | 0x20) == u'r') || (name.size() == 1 && (name[0] | 0x20) == u'c'))
        valid = false;
    if (!valid)
        throw Error(Error::Kind::BadRequest, std::string(utf8),
                    "\"" + std::string(utf8) + "\" cannot be a defined name");
}

// Sets the sheet's name of that name to the formula, or adds it.
void setLocalName(WorkbookData& book, const SheetData& sheet, std::string_view utf8, std::string formula)
{
    const std::u16string name = utf16FromUtf8(utf8);
    checkName(name, utf8);
    const auto tab = std::uint16_t(sheet.boundSheet);
    std::string body = body::definedName(name, tab, formula);
    for (Item& item : book.globals) {
        if (item.type != rec::kName || item.nested)
            continue;
        const auto existing = readDefinedName(item.body);
        if (existing && !existing->builtin && existing->sheet == tab + 1 && sameName(existing->name, name)) {
            item.body = std::move(body);
            return;
        }
    }
    appendName(book, std::move(body));
}

void checkMargin(double inches, const char* which)
{
    if (!(inches >= 0 && inches < 49))
        throw Error(Error::Kind::BadRequest, std::to_string(inches),
                    std::string("the ") + which + " margin of " + std::to_string(inches) +
                        " inches is outside 0 to 49 inches");
}

}  // namespace

void Worksheet::setPageSetup(const PageSetup& setup)
{
    checkMargin(setup.leftMargin, "left");
    checkMargin(setup.rightMargin, "right");
    checkMargin(setup.topMargin, "top");
    checkMargin(setup.bottomMargin, "bottom");
    if (setup.paperSize < 0 || setup.paperSize > 255)
        throw Error(Error::Kind::BadRequest, std::to_string(setup.paperSize),
                    "paper size " + std::to_string(setup.paperSize) + " is not a paper size code");
    if (setup.repeatFirstRow != 0 &&
        (setup.repeatFirstRow < 1 || setup.repeatLastRow < setup.repeatFirstRow || setup.repeatLastRow > kMaxRows))
        throw LimitError(Error::Kind::LayoutLimit,
                         std::to_string(setup.repeatFirstRow) + "-" + std::to_string(setup.repeatLastRow),
                         "print title rows " + std::to_string(setup.repeatFirstRow) + " to " +
                             std::to_string(setup.repeatLastRow) + " are not rows of a .xls worksheet");
    checkMargin(setup.headerMargin, "header");
    checkMargin(setup.footerMargin, "footer");
    if (setup.scale < 10 || setup.scale > 400)
        throw Error(Error::Kind::BadRequest, std::to_string(setup.scale),
                    "a print scale of " + std::to_string(setup.scale) + "% is outside 10% to 400%");
    if (setup.fitPagesTall < 0 || setup.fitPagesTall > 32767 || (setup.fitPagesTall > 0 && !setup.fitToPageWidth))
        throw Error(Error::Kind::BadRequest, std::to_string(setup.fitPagesTall),
                    "pages tall are set only when fitting to the page width, from 0 to 32767");
    const std::u16string header = utf16FromUtf8(setup.header), footer = utf16FromUtf8(setup.footer);
    if (header.size() > 255 || footer.size() > 255)
        throw LimitError(Error::Kind::LayoutLimit, std::to_string(std::max(header.size(), footer.size())),
                         "a header or footer holds at most 255 characters");

    SheetData& sheet = sheetOf(book_, index_);
    const auto order = worksheetOrder();
    WorkbookData::setRecord(sheet.items, order, rec::kSetup, body::setup(setup));
    WorkbookData::setRecord(sheet.items, order, rec::kLeftMargin, body::f64(setup.leftMargin));
    WorkbookData::setRecord(sheet.items, order, rec::kRightMargin, body::f64(setup.rightMargin));
    WorkbookData::setRecord(sheet.items, order, rec::kTopMargin, body::f64(setup.topMargin));
    WorkbookData::setRecord(sheet.items, order, rec::kBottomMargin, body::f64(setup.bottomMargin));
    WorkbookData::setRecord(sheet.items, order, rec::kHCenter, body::u16(setup.centerHorizontally ? 1 : 0));
    WorkbookData::setRecord(sheet.items, order, rec::kHeader, body::headerFooter(header));
    WorkbookData::setRecord(sheet.items, order, rec::kFooter, body::headerFooter(footer));

    const Item* wsBool = WorkbookData::findItem(sheet.items, rec::kWsBool);
    std::uint16_t flags = wsBool && wsBool->body.size() >= 2 ? peekU16(wsBool->body.data()) : 0x04C1;
    flags = setup.fitToPageWidth ? (flags | kWsBoolFitToPage) : (flags & ~kWsBoolFitToPage);
    WorkbookData::setRecord(sheet.items, order, rec::kWsBool, body::u16(flags));

    setPrintTitles(*book_, sheet, setup.repeatFirstRow, setup.repeatLastRow);
}

void Worksheet::defineName(std::string_view name, const Range& range)
{
    const Range r = {std::min(range.firstRow, range.lastRow), std::min(range.firstColumn, range.lastColumn),
                     std::max(range.firstRow, range.lastRow), std::max(range.firstColumn, range.lastColumn)};
    if (r.firstRow < 1 || r.lastRow > kMaxRows)
        throw LimitError(Error::Kind::RowLimit, std::to_string(r.firstRow < 1 ? r.firstRow : r.lastRow),
                         "a name's cells must lie in rows 1 to 65536");
    if (r.firstColumn < 1 || r.lastColumn > kMaxColumns)
        throw LimitError(Error::Kind::ColumnLimit, std::to_string(r.firstColumn < 1 ? r.firstColumn : r.lastColumn),
                         "a name's cells must lie in columns 1 to 256");
    SheetData& sheet = sheetOf(book_, index_);
    const auto tab = std::uint16_t(sheet.boundSheet);
    setLocalName(*book_, sheet, name, body::areaFormula(internalSheetReference(*book_, tab), r));
}

void Worksheet::defineName(std::string_view name, double number)
{
    if (!std::isfinite(number))
        throw Error(Error::Kind::BadRequest, std::to_string(number),
                    "a name cannot stand for " + std::to_string(number));
    setLocalName(*book_, sheetOf(book_, index_), name, body::numberFormula(number));
}

void Worksheet::freezeRows(int rows)
{
    if (rows < 0 || rows >= kMaxRows)
        throw LimitError(Error::Kind::LayoutLimit, std::to_string(rows),
                         "cannot freeze " + std::to_string(rows) + " rows of a .xls worksheet");
    SheetData& sheet = sheetOf(book_, index_);
    const auto order = worksheetOrder();
    Item* window = WorkbookData::findItem(sheet.items, rec::kWindow2);
    if (!window || window->body.size() < 2)
        window = &WorkbookData::setRecord(sheet.items, order, rec::kWindow2, body::window2(false));
    std::uint16_t flags = peekU16(window->body.data());
    flags =
        rows > 0 ? (flags | kWindowFrozen | kWindowFrozenNoSplit) : (flags & ~(kWindowFrozen | kWindowFrozenNoSplit));
    pokeU16(window->body.data(), flags);

    removeRecords(sheet.items, rec::kPane);
    removeRecords(sheet.items, rec::kSelection);
    if (rows > 0) {
        WorkbookData::insertItem(sheet.items, order, Item{Item::Kind::Record, rec::kPane, body::pane(rows), 0});
        // A selection for each pane: the frozen rows above, the rows below (active).
        WorkbookData::insertItem(sheet.items, order,
                                 Item{Item::Kind::Record, rec::kSelection, body::selection(3, 0, 0), 0});
        WorkbookData::insertItem(sheet.items, order,
                                 Item{Item::Kind::Record, rec::kSelection, body::selection(2, rows, 0), 0});
    } else {
        WorkbookData::insertItem(sheet.items, order,
                                 Item{Item::Kind::Record, rec::kSelection, body::selection(3, 0, 0), 0});
    }
}

}  // namespace levara::xls
