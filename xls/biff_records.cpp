#include "xls/biff_records.h"

#include "xls/bytes.h"
#include "xls/unicode.h"

namespace levara::xls::body {

std::string bof(std::uint16_t substream)
{
    std::string b;
    putU16(b, 0x0600);  // BIFF8
    putU16(b, substream);
    putU16(b, 0x0DBB);  // build and year of the writing application
    putU16(b, 0x07CC);
    putU32(b, 0);
    putU32(b, 0x00000006);  // lowest BIFF version able to read it
    return b;
}

std::string u16(std::uint16_t value)
{
    std::string b;
    putU16(b, value);
    return b;
}

std::string f64(double value)
{
    std::string b;
    putDouble(b, value);
    return b;
}

std::string writeAccess(std::u16string_view user)
{
    std::string b;
    putUnicodeString(b, user);
    b.resize(112, ' ');  // the record has a fixed size, padded with spaces
    return b;
}

std::string tabIds(std::size_t sheets)
{
    std::string b;
    for (std::size_t i = 1; i <= sheets; ++i)
        putU16(b, std::uint16_t(i));
    return b;
}

std::string window1()
{
    std::string b;
    putU16(b, 0x0168);  // window position and size in twips
    putU16(b, 0x001E);
    putU16(b, 0x3A98);
    putU16(b, 0x2328);
    putU16(b, 0x0038);  // horizontal and vertical scroll bars, sheet tabs
    putU16(b, 0);       // active sheet
    putU16(b, 0);       // first visible tab
    putU16(b, 1);       // selected sheets
    putU16(b, 0x0258);  // tab bar width ratio
    return b;
}

std::string builtinFormat(std::uint16_t index, std::u16string_view code)
{
    std::string b;
    putU16(b, index);
    putUnicodeString(b, code);
    return b;
}

std::string xf(std::uint16_t font, std::uint16_t format, bool style, std::uint8_t used)
{
    std::string b;
    putU16(b, font);
    putU16(b, format);
    // Locked; a style XF has no parent (0xFFF), a cell XF has the Normal style.
    putU16(b, style ? 0xFFF5 : 0x0001);
    putU8(b, 0x20);  // aligned at the bottom
    putU8(b, 0);
    putU8(b, 0);
    putU8(b, used);
    putU32(b, 0);
    putU32(b, 0);
    putU16(b, 0x20C0);  // automatic pattern colours
    return b;
}

std::string builtinStyle(std::uint16_t xf, std::uint8_t style)
{
    std::string b;
    putU16(b, std::uint16_t(0x8000 | xf));
    putU8(b, style);
    putU8(b, 0xFF);  // no outline level
    return b;
}

std::string boundSheet(std::u16string_view name)
{
    std::string b;
    putU32(b, 0);  // position of the sheet's BOF, filled when written
    putU8(b, 0);   // visible
    putU8(b, 0);   // worksheet
    putShortUnicodeString(b, name);
    return b;
}

std::string country(std::uint16_t code)
{
    std::string b;
    putU16(b, code);
    putU16(b, code);
    return b;
}

std::string internalSupBook(std::uint16_t sheets)
{
    std::string b;
    putU16(b, sheets);
    putU16(b, 0x0401);  // marks the workbook's own sheets
    return b;
}

std::string externSheet(const std::vector<std::uint16_t>& sheetRefs)
{
    std::string b;
    putU16(b, std::uint16_t(sheetRefs.size() / 3));
    for (std::uint16_t value : sheetRefs)
        putU16(b, value);
    return b;
}

std::string printTitles(std::uint16_t sheet, std::uint16_t externIndex, int firstRow, int lastRow)
{
    std::string formula;
    putU8(formula, 0x3B);  // tArea3d, reference class
    putU16(formula, externIndex);
    putU16(formula, std::uint16_t(firstRow));
    putU16(formula, std::uint16_t(lastRow));
    putU16(formula, 0);  // whole rows: columns A to IV, absolute
    putU16(formula, 0xFF);
    std::string b;
    putU16(b, 0x0020);  // built-in name
    putU8(b, 0);
    putU8(b, 1);  // name length: the one built-in code
    putU16(b, std::uint16_t(formula.size()));
    putU16(b, 0);
    putU16(b, std::uint16_t(sheet + 1));  // local to this sheet
    putU32(b, 0);
    putU8(b, 0);
    putU8(b, 0x07);  // Print_Titles
    b += formula;
    return b;
}

std::string definedName(std::u16string_view name, std::uint16_t sheet, std::string_view formula)
{
    std::string b;
    putU16(b, 0);
    putU8(b, 0);
    putU8(b, std::uint8_t(name.size()));
    putU16(b, std::uint16_t(formula.size()));
    putU16(b, 0);
    putU16(b, std::uint16_t(sheet + 1));  // local to this sheet
    putU32(b, 0);
    const bool wide = !fitsLatin1(name);
    putU8(b, wide ? 1 : 0);
    putChars(b, name, wide);
    b += formula;
    return b;
}

std::string areaFormula(std::uint16_t externIndex, const Range& range)
{
    std::string f;
    putU8(f, 0x3B);  // tArea3d, reference class; rows and columns absolute
    putU16(f, externIndex);
    putU16(f, std::uint16_t(range.firstRow - 1));
    putU16(f, std::uint16_t(range.lastRow - 1));
    putU16(f, std::uint16_t(range.firstColumn - 1));
    putU16(f, std::uint16_t(range.lastColumn - 1));
    return f;
}

std::string numberFormula(double value)
{
    std::string f;
    putU8(f, 0x1F);  // tNum
    putDouble(f, value);
    return f;
}

std::string emptySst()
{
    std::string b;
    putU32(b, 0);
    putU32(b, 0);
    return b;
}

std::string index(std::uint32_t firstRow, std::uint32_t lastRowPlus1, std::uint32_t defColWidth,
                  const std::vector<std::uint32_t>& dbCells)
{
    std::string b;
    putU32(b, 0);
    putU32(b, firstRow);
    putU32(b, lastRowPlus1);
    putU32(b, defColWidth);
    for (std::uint32_t position : dbCells)
        putU32(b, position);
    return b;
}

std::string dimensions(std::uint32_t firstRow, std::uint32_t lastRowPlus1, std::uint16_t firstColumn,
                       std::uint16_t lastColumnPlus1)
{
    std::string b;
    putU32(b, firstRow);
    putU32(b, lastRowPlus1);
    putU16(b, firstColumn);
    putU16(b, lastColumnPlus1);
    putU16(b, 0);
    return b;
}

std::string guts() { return std::string(8, '\0'); }

std::string defaultRowHeight(std::uint16_t twips)
{
    std::string b;
    putU16(b, 0);
    putU16(b, twips);
    return b;
}

std::string headerFooter(std::u16string_view text)
{
    std::string b;
    if (!text.empty())
        putUnicodeString(b, text);
    return b;
}

std::string setup(const PageSetup& setup)
{
    std::string b;
    putU16(b, std::uint16_t(setup.paperSize));
    putU16(b, std::uint16_t(setup.scale));
    putU16(b, 1);                                                             // first page number
    putU16(b, 1);                                                             // pages wide, when fitting to pages
    putU16(b, setup.fitToPageWidth ? std::uint16_t(setup.fitPagesTall) : 1);  // pages tall: 0 = as many as needed
    putU16(b, setup.landscape ? 0x0000 : 0x0002);
    putU16(b, 600);  // resolution
    putU16(b, 600);
    putDouble(b, setup.headerMargin);
    putDouble(b, setup.footerMargin);
    putU16(b, 1);  // copies
    return b;
}

std::string rowBreaks(const std::vector<int>& rows)
{
    std::string b;
    putU16(b, std::uint16_t(rows.size()));
    for (int row : rows) {
        putU16(b, std::uint16_t(row - 1));  // the first row of the new page
        putU16(b, 0);                       // across every column
        putU16(b, 0xFF);
    }
    return b;
}

std::string colInfo(std::uint16_t first, std::uint16_t last, std::uint16_t width, std::uint16_t xf, std::uint16_t flags)
{
    std::string b;
    putU16(b, first);
    putU16(b, last);
    putU16(b, width);
    putU16(b, xf);
    putU16(b, flags);
    putU16(b, 0);
    return b;
}

std::string window2(bool selected)
{
    std::string b;
    // Grid lines, headers, zeros, automatic grid colour, outline symbols; the
    // first sheet is selected and shown.
    putU16(b, selected ? 0x06B6 : 0x00B6);
    putU16(b, 0);     // top row
    putU16(b, 0);     // left column
    putU32(b, 0x40);  // grid line colour
    putU16(b, 0);
    putU16(b, 0);
    putU32(b, 0);
    return b;
}

std::string pane(int frozenRows)
{
    std::string b;
    putU16(b, 0);
    putU16(b, std::uint16_t(frozenRows));
    putU16(b, std::uint16_t(frozenRows));  // first row of the lower pane
    putU16(b, 0);
    putU8(b, 2);  // the lower pane is active
    putU8(b, 0);
    return b;
}

std::string selection(std::uint8_t pane, int row, int column)
{
    std::string b;
    putU8(b, pane);
    putU16(b, std::uint16_t(row));
    putU16(b, std::uint16_t(column));
    putU16(b, 0);
    putU16(b, 1);
    putU16(b, std::uint16_t(row));
    putU16(b, std::uint16_t(row));
    putU8(b, std::uint8_t(column));
    putU8(b, std::uint8_t(column));
    return b;
}

std::string mergedCells(const Range* ranges, std::size_t count)
{
    std::string b;
    putU16(b, std::uint16_t(count));
    for (std::size_t i = 0; i < count; ++i) {
        putU16(b, std::uint16_t(ranges[i].firstRow - 1));
        putU16(b, std::uint16_t(ranges[i].lastRow - 1));
        putU16(b, std::uint16_t(ranges[i].firstColumn - 1));
        putU16(b, std::uint16_t(ranges[i].lastColumn - 1));
    }
    return b;
}

}  // namespace levara::xls::body
