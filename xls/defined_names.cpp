#include "xls/defined_names.h"

#include "xls/bytes.h"
#include "xls/record_ids.h"
#include "xls/unicode.h"

namespace levara::xls {

namespace {

constexpr std::uint16_t kBuiltinName = 0x0020;
constexpr std::uint16_t kInternalReferences = 0x0401;  // SUPBOOK of the workbook's own sheets
constexpr std::uint16_t kColumnBits = 0x3FFF;          // the rest flags relative references

// The tokens a name's reference is made of ([MS-XLS] 2.5.198 Ptg), in any class.
bool isToken(std::uint8_t ptg, std::uint8_t base) { return ptg == base || ptg == base + 0x20 || ptg == base + 0x40; }
constexpr std::uint8_t kRef3d = 0x3A, kArea3d = 0x3B, kMemFunc = 0x29, kUnion = 0x10, kNum = 0x1F, kInt = 0x1E;

const Item* firstRecord(const std::vector<Item>& items, std::uint16_t type)
{
    for (const Item& item : items)
        if (item.type == type && !item.nested)
            return &item;
    return nullptr;
}

// The BOUNDSHEET index an EXTERNSHEET entry stands for, when it is one own sheet.
std::optional<std::uint16_t> internalSheet(const std::vector<Item>& globals, std::uint16_t externIndex)
{
    const Item* externSheet = firstRecord(globals, rec::kExternSheet);
    if (!externSheet || externSheet->body.size() < 2 + 6 * std::size_t(externIndex + 1) ||
        externIndex >= peekU16(externSheet->body.data()))
        return std::nullopt;
    const char* entry = externSheet->body.data() + 2 + 6 * std::size_t(externIndex);
    const std::uint16_t supBook = peekU16(entry), first = peekU16(entry + 2), last = peekU16(entry + 4);
    std::uint16_t count = 0;
    for (const Item& item : globals) {
        if (item.type != rec::kSupBook || item.nested)
            continue;
        if (count++ != supBook)
            continue;
        if (item.body.size() < 4 || peekU16(item.body.data() + 2) != kInternalReferences)
            return std::nullopt;
        if (first != last || first >= 0xFFFE)
            return std::nullopt;
        return first;
    }
    return std::nullopt;
}

}  // namespace

std::optional<DefinedName> readDefinedName(std::string_view body)
{
    try {
        ByteReader in(body, "NAME");
        DefinedName name;
        name.builtin = in.u16() & kBuiltinName;
        in.u8();
        const std::uint8_t characters = in.u8();
        const std::uint16_t formulaSize = in.u16();
        in.u16();
        name.sheet = in.u16();
        in.skip(4);
        const bool wide = in.u8() & 1;
        name.name = readChars(in, characters, wide);
        name.formula = in.take(formulaSize);
        return name;
    } catch (const Error&) {
        return std::nullopt;
    }
}

bool sameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

std::vector<SheetArea> formulaAreas(const std::vector<Item>& globals, std::string_view formula)
{
    std::vector<SheetArea> areas;
    try {
        ByteReader in(formula, "NAME formula");
        while (!in.atEnd()) {
            const std::uint8_t ptg = in.u8();
            if (isToken(ptg, kMemFunc)) {
                in.u16();  // the size of the list that follows
                continue;
            }
            if (ptg == kUnion)
                continue;
            std::uint16_t externIndex, firstRow, lastRow, firstColumn, lastColumn;
            if (isToken(ptg, kRef3d)) {
                externIndex = in.u16();
                firstRow = lastRow = in.u16();
                firstColumn = lastColumn = in.u16();
            } else if (isToken(ptg, kArea3d)) {
                externIndex = in.u16();
                firstRow = in.u16();
                lastRow = in.u16();
                firstColumn = in.u16();
                lastColumn = in.u16();
            } else {
                return {};  // a formula that is more than references
            }
            // A relative reference names no cell of its own: it moves with the cell using it.
            if ((firstColumn | lastColumn) & ~kColumnBits)
                return {};
            const Range range{firstRow + 1, firstColumn + 1, lastRow + 1, lastColumn + 1};
            const auto sheet = internalSheet(globals, externIndex);
            if (!sheet || range.firstRow > range.lastRow || range.firstColumn > range.lastColumn ||
                range.lastColumn > kMaxColumns)
                return {};
            areas.push_back({*sheet, range});
        }
    } catch (const Error&) {
        return {};
    }
    return areas;
}

std::optional<double> formulaNumber(std::string_view formula)
{
    if (formula.size() == 9 && std::uint8_t(formula[0]) == kNum)
        return peekDouble(formula.data() + 1);
    if (formula.size() == 3 && std::uint8_t(formula[0]) == kInt)
        return double(peekU16(formula.data() + 1));
    return std::nullopt;
}

namespace {

// The sheet's own name of that name, else the workbook's.
std::optional<DefinedName> findName(const WorkbookData& book, const SheetData& sheet, std::string_view utf8)
{
    std::u16string wanted;
    try {
        wanted = utf16FromUtf8(utf8);
    } catch (const Error&) {
        return std::nullopt;
    }
    std::optional<DefinedName> global;
    for (const Item& item : book.globals) {
        if (item.type != rec::kName || item.nested)
            continue;
        auto name = readDefinedName(item.body);
        if (!name || name->builtin || !sameName(name->name, wanted))
            continue;
        if (name->sheet == sheet.boundSheet + 1)
            return name;
        if (name->sheet == 0 && !global)
            global = name;
    }
    return global;
}

}  // namespace

std::optional<Range> Worksheet::namedRange(std::string_view name) const
{
    const SheetData& sheet = book_->sheets[book_->worksheets[index_]];
    const auto found = findName(*book_, sheet, name);
    if (!found)
        return std::nullopt;
    const std::vector<SheetArea> areas = formulaAreas(book_->globals, found->formula);
    if (areas.size() != 1 || areas[0].sheet != sheet.boundSheet)
        return std::nullopt;
    return areas[0].range;
}

std::optional<double> Worksheet::namedNumber(std::string_view name) const
{
    const SheetData& sheet = book_->sheets[book_->worksheets[index_]];
    const auto found = findName(*book_, sheet, name);
    return found ? formulaNumber(found->formula) : std::nullopt;
}

}  // namespace levara::xls
