// A new, minimal workbook: the records Excel writes for an empty workbook, in the
// order of record_order, then read like any other workbook.
#include <set>

#include "xls/biff_records.h"
#include "xls/record_ids.h"
#include "xls/record_order.h"
#include "xls/unicode.h"
#include "xls/workbook_data.h"

namespace levara::xls {

namespace {

constexpr std::uint16_t kDefaultRowTwips = 270;  // 13.5 points, for the 11-point default font
constexpr std::uint16_t kCountryChina = 86;

// Currency and accounting formats Excel writes into every workbook (Chinese locale).
struct StandardFormat {
    std::uint16_t index;
    const char16_t* code;
};
constexpr StandardFormat kStandardFormats[] = {
    {5, u"\"¥\"#,##0;\"¥\"\\-#,##0"},
    {6, u"\"¥\"#,##0;[Red]\"¥\"\\-#,##0"},
    {7, u"\"¥\"#,##0.00;\"¥\"\\-#,##0.00"},
    {8, u"\"¥\"#,##0.00;[Red]\"¥\"\\-#,##0.00"},
    {42, u"_ \"¥\"* #,##0_ ;_ \"¥\"* \\-#,##0_ ;_ \"¥\"* \"-\"_ ;_ @_ "},
    {41, u"_ * #,##0_ ;_ * \\-#,##0_ ;_ * \"-\"_ ;_ @_ "},
    {44, u"_ \"¥\"* #,##0.00_ ;_ \"¥\"* \\-#,##0.00_ ;_ \"¥\"* \"-\"??_ ;_ @_ "},
    {43, u"_ * #,##0.00_ ;_ * \\-#,##0.00_ ;_ * \"-\"??_ ;_ @_ "},
};

void checkSheetNames(const std::vector<std::string>& names)
{
    if (names.empty())
        throw Error(Error::Kind::BadRequest, "0", "a workbook needs at least one worksheet");
    std::set<std::u16string> seen;
    for (const std::string& name : names) {
        const std::u16string text = utf16FromUtf8(name);
        if (text.empty() || text.size() > 31)
            throw Error(Error::Kind::BadRequest, name, "worksheet name \"" + name + "\" must have 1 to 31 characters");
        if (text.find_first_of(u"[]:*?/\\") != std::u16string::npos)
            throw Error(Error::Kind::BadRequest, name,
                        "worksheet name \"" + name + "\" holds one of the characters [ ] : * ? / \\");
        std::u16string folded = text;
        for (char16_t& c : folded)
            if (c >= u'a' && c <= u'z')
                c = char16_t(c - u'a' + u'A');
        if (!seen.insert(folded).second)
            throw Error(Error::Kind::BadRequest, name, "worksheet name \"" + name + "\" is used twice");
    }
}

void writeGlobalsRecord(StreamWriter& out, std::uint16_t type, const std::vector<std::string>& names,
                        std::vector<std::size_t>& boundSheetFields)
{
    using namespace rec;
    switch (type) {
    case kBof: out.write(type, body::bof(body::kGlobalsSubstream)); break;
    case kInterfaceHdr: out.write(type, body::u16(1200)); break;
    case kMms: out.write(type, std::string(2, '\0')); break;
    case kInterfaceEnd: out.write(type, {}); break;
    case kWriteAccess: out.write(type, body::writeAccess(u"Levara")); break;
    case kCodePage: out.write(type, body::u16(1200)); break;  // UTF-16
    case kTabId: out.write(type, body::tabIds(names.size())); break;
    case kFnGroupCount: out.write(type, body::u16(14)); break;
    case kWindow1: out.write(type, body::window1()); break;
    case kPrecision: out.write(type, body::u16(1)); break;
    case kDsf:
    case kWindowProtect:
    case kProtect:
    case kPassword:
    case kProt4Rev:
    case kProt4RevPass:
    case kBackup:
    case kHideObj:
    case kDateMode:
    case kRefreshAll:
    case kBookBool: out.write(type, body::u16(0)); break;
    case kFont: {
        for (int i = 0; i < 4; ++i)  // fonts 0-3: the default font; index 4 is never used
            out.write(type, Styles::fontBody(Font{}));
        break;
    }
    case kFormat:
        for (const StandardFormat& format : kStandardFormats)
            out.write(type, body::builtinFormat(format.index, format.code));
        break;
    case kXf:
        // Style XFs 0-14 (Normal and the outline levels), the default cell XF 15,
        // and the style XFs of the built-in number styles.
        out.write(type, body::xf(0, 0, true, 0x00));
        for (std::uint16_t font : {1, 1, 2, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
            out.write(type, body::xf(font, 0, true, 0xF4));
        out.write(type, body::xf(0, 0, false, 0x00));
        for (std::uint16_t format : {43, 41, 44, 42, 9})
            out.write(type, body::xf(1, format, true, 0xF8));
        break;
    case kStyle:
        out.write(type, body::builtinStyle(16, 3));  // Comma
        out.write(type, body::builtinStyle(17, 6));  // Comma [0]
        out.write(type, body::builtinStyle(18, 4));  // Currency
        out.write(type, body::builtinStyle(19, 7));  // Currency [0]
        out.write(type, body::builtinStyle(0, 0));   // Normal
        out.write(type, body::builtinStyle(20, 5));  // Percent
        break;
    case kBoundSheet:
        for (const std::string& name : names) {
            boundSheetFields.push_back(out.position() + 4);
            out.write(type, body::boundSheet(utf16FromUtf8(name)));
        }
        break;
    case kCountry: out.write(type, body::country(kCountryChina)); break;
    case kSst: out.write(type, body::emptySst()); break;
    case kExtSst: out.write(type, body::u16(8)); break;
    case kEof: out.write(type, {}); break;
    default: break;  // SUPBOOK, EXTERNSHEET, NAME: only with print titles
    }
}

void writeSheetRecord(StreamWriter& out, std::uint16_t type, bool first)
{
    using namespace rec;
    switch (type) {
    case kBof: out.write(type, body::bof(body::kWorksheetSubstream)); break;
    case kIndex: out.write(type, body::index(0, 0, 0, {})); break;
    case kCalcMode: out.write(type, body::u16(1)); break;  // automatic
    case kCalcCount: out.write(type, body::u16(100)); break;
    case kRefMode: out.write(type, body::u16(1)); break;  // A1
    case kIteration: out.write(type, body::u16(0)); break;
    case kDelta: out.write(type, body::f64(0.001)); break;
    case kSaveRecalc: out.write(type, body::u16(1)); break;
    case kPrintHeaders: out.write(type, body::u16(0)); break;
    case kPrintGridlines: out.write(type, body::u16(0)); break;
    case kGridSet: out.write(type, body::u16(1)); break;
    case kGuts: out.write(type, body::guts()); break;
    case kDefaultRowHeight: out.write(type, body::defaultRowHeight(kDefaultRowTwips)); break;
    case kWsBool: out.write(type, body::u16(0x04C1)); break;
    case kHCenter: out.write(type, body::u16(0)); break;
    case kVCenter: out.write(type, body::u16(0)); break;
    case kSetup: out.write(type, body::setup(PageSetup{})); break;
    case kDefColWidth: out.write(type, body::u16(8)); break;
    case kDimensions: out.write(type, body::dimensions(0, 0, 0, 0)); break;
    case kWindow2: out.write(type, body::window2(first)); break;
    case kSelection: out.write(type, body::selection(3, 0, 0)); break;
    case kEof: out.write(type, {}); break;
    default: break;  // written when set: margins, header, footer, columns, panes, merges
    }
}

}  // namespace

Workbook Workbook::create(const std::vector<std::string>& sheetNames)
{
    checkSheetNames(sheetNames);
    StreamWriter out;
    std::vector<std::size_t> boundSheetFields;
    for (std::uint16_t type : globalsOrder())
        writeGlobalsRecord(out, type, sheetNames, boundSheetFields);
    for (std::size_t sheet = 0; sheet < sheetNames.size(); ++sheet) {
        out.patchU32(boundSheetFields[sheet], std::uint32_t(out.position()));
        for (std::uint16_t type : worksheetOrder())
            writeSheetRecord(out, type, sheet == 0);
    }

    auto data = std::make_unique<WorkbookData>();
    data->container = newExcelOle();
    WorkbookData::read(*data, out.bytes());
    // Nothing of a new workbook needs keeping byte for byte: lay its cells out afresh.
    for (SheetData& sheet : data->sheets)
        sheet.cells.markChanged();
    return Workbook(std::move(data));
}

}  // namespace levara::xls
