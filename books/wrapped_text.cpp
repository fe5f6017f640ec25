#include "books/wrapped_text.h"

#include <algorithm>
#include <cmath>

namespace levara::books {

namespace {

// How wide a character prints, in ems of its font: a Chinese character (three UTF-8
// bytes) one, any other half; and how tall a wrapped line, in font sizes (the Chinese
// fonts LibreOffice and WPS print with space their lines about 1.3 to 1.4).
constexpr double kWideCharacterEms = 1, kNarrowCharacterEms = 0.5;
constexpr double kLineHeightFactor = 1.4;
// A column's width is counted in digits of the standard font, half an em each
// (books/page_breaks.h); a character's width of it is the cell's margins.
constexpr double kDigitEms = 0.5;

// "、" and "，" never begin a line (the line-breaking rule of Chinese text).
bool neverBeginsLine(std::string_view character) { return character == "、" || character == "，"; }

std::size_t characterLength(char lead)
{
    const auto byte = static_cast<unsigned char>(lead);
    return byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
}

}  // namespace

int wrappedLines(std::string_view text, double lineEms)
{
    int lines = 1;
    double used = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = characterLength(text[at]);
        if (length >= 3) {
            const std::string_view character = text.substr(at, length);
            if (used + kWideCharacterEms > lineEms && used > 0) {
                ++lines;
                // The character before one that may not begin a line goes with it.
                used = neverBeginsLine(character) ? kWideCharacterEms : 0;
            }
            used += kWideCharacterEms;
            at += length;
            continue;
        }
        // A word: the narrow characters up to a blank or a Chinese character.
        std::size_t end = at;
        double width = 0;
        do {
            end += characterLength(text[end]);
            width += kNarrowCharacterEms;
        } while (end < text.size() && text[end] != ' ' && text[at] != ' ' && characterLength(text[end]) < 3);
        if (used + width > lineEms && used > 0) {
            ++lines;
            used = 0;
        }
        for (; width > lineEms; width -= lineEms)
            ++lines;
        used += width;
        at = end;
    }
    return lines;
}

double rowGrowthToFit(const xls::Worksheet& sheet, const xls::Range& area, std::string_view text)
{
    double columns = 0;
    for (int column = area.firstColumn; column <= area.lastColumn; ++column)
        columns += sheet.columnWidth(column);
    const double lineEms = std::max(kWideCharacterEms, (columns - 1) * kDigitEms);
    const double needed = wrappedLines(text, lineEms) * kLineHeightFactor * sheet.standardFontPoints();
    double height = 0;
    for (int row = area.firstRow; row <= area.lastRow; ++row)
        height += sheet.rowHeight(row);
    if (needed <= height)
        return 0;
    return std::ceil((needed - height) / (area.lastRow - area.firstRow + 1));
}

void growRowsToFit(xls::Worksheet& sheet, const xls::Range& area, std::string_view text)
{
    if (const double more = rowGrowthToFit(sheet, area, text); more > 0)
        for (int row = area.firstRow; row <= area.lastRow; ++row)
            sheet.setRowHeight(row, sheet.rowHeight(row) + more);
}

}  // namespace levara::books
