// "单点测量表格": one numbered row per reading line from row 3 down.
#include <string>

#include "books/sheet_cells.h"
#include "books/tables/tables.h"
#include "records/records.h"

namespace levara::books {

namespace {

constexpr int kSerial = 1;
constexpr int kPointNumber = 2;
constexpr int kDistance = 3;
constexpr int kReading = 4;
constexpr int kHeight = 5;
constexpr int kLastBorderedColumn = 6;

bool isReadingLine(const MeasurementLine& line) { return line.readingTagLetter() == "R"; }

std::string_view trimBlanks(std::string_view text)
{
    text = stripLeadingBlanks(text);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// A numeric point number loses its leading zeros (0012 is 12). A name such as
// "BM1" is kept as the surveyor wrote it, without the blanks its window pads it with.
std::string pointNumberText(std::string_view window)
{
    if (const auto number = typedNumber(window))
        return signedNumberText(*number);
    return std::string(trimBlanks(window));
}

// Checked before the first cell is written, so a bad text leaves the sheet as it was.
void checkReadingLines(const TextLines& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const MeasurementLine line(lines[i]);
        if (isReadingLine(line) && !line.hasField(4))
            throw InputError(lines.number(i),
                             Message(QT_TRANSLATE_NOOP("levara",
                                                       "reading line without a distance field (field 4); the "
                                                       "single-point table needs one on every reading line")));
    }
}

}  // namespace

void writeSinglePointTable(xls::Worksheet& sheet, const TextLines& lines)
{
    checkReadingLines(lines);
    // Row n + 2 takes the next reading; serial k runs with n.
    int n = 1;
    int k = 1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const MeasurementLine line(lines[i]);
        if (isReadingLine(line)) {
            const int row = n + 2;
            enter(sheet, row, kSerial, signedNumberText(k));
            enter(sheet, row, kPointNumber, pointNumberText(line.widePointNumber()));
            enter(sheet, row, kDistance, fiveDecimalText(line.distance()));
            enter(sheet, row, kReading, fiveDecimalText(line.reading()));
            // The height the level computed for the point, where the reading carries one.
            if (line.heightTag() == "Z")
                enter(sheet, row, kHeight, fiveDecimalText(line.height()));
            ++n;
            ++k;
        }
        // Also after a line of no kind: the last row written, or row 2 before any.
        sheet.setThinBorders({n + 1, kSerial, n + 1, kLastBorderedColumn});
    }
}

}  // namespace levara::books
