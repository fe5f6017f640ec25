// "中间点测量表格": one row per known or measured point from row 6 down; a back
// sight on a point adds the back reading and the height of collimation to its row.
#include "books/sheet_cells.h"
#include "books/tables/tables.h"

#include "records/records.h"

namespace levara::books {

namespace {

constexpr int kName = 1;
constexpr int kCollimation = 2;
constexpr int kBackReading = 3;
constexpr int kIntermediateReading = 4;
constexpr int kElevation = 5;
constexpr int kLastBorderedColumn = 7;

enum class Kind { None, Height, BackReading, IntermediateSight };

// A stripped one-character window of a blank is the empty text, the same as the
// window of an empty field: "blank" and "empty" are one test.
Kind kindOf(const MeasurementLine& line)
{
    // Every kind is told by fields 3 and 5; a line without them is of no kind.
    if (!line.hasField(5))
        return Kind::None;
    if (line.heightTag() == "Z") {
        if (line.readingTagLetter().empty())
            return Kind::Height;
        // A rejected sight is not a point: its repeat follows.
        if (line.readingTag() == "Rz")
            return line.rejected() ? Kind::None : Kind::IntermediateSight;
        return Kind::None;
    }
    if (line.heightTag().empty() && line.readingTagLetter() == "R")
        return Kind::BackReading;
    return Kind::None;
}

}  // namespace

void writeIntermediateTable(xls::Worksheet& sheet, const TextLines& lines)
{
    // The next point goes into row n + 5, so row n + 4 is the last point written.
    int n = 1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const MeasurementLine line(lines[i]);
        const int next = n + 5;
        const int last = n + 4;
        switch (kindOf(line)) {
        case Kind::Height:
            sheet.setText(next, kName, line.pointNumber());
            enter(sheet, next, kElevation, fiveDecimalText(line.height()));
            ++n;
            break;
        case Kind::IntermediateSight:
            sheet.setText(next, kName, line.pointNumber());
            enter(sheet, next, kIntermediateReading, fiveDecimalText(line.reading()));
            enter(sheet, next, kElevation, fiveDecimalText(line.height()));
            ++n;
            break;
        case Kind::BackReading:
            // Before the first point the row above is the template's heading: a
            // back sight there has no point to belong to.
            if (n == 1)
                break;
            enter(sheet, last, kBackReading, fiveDecimalText(line.reading()));
            enter(sheet, last, kCollimation,
                  fiveDecimalText(numberAt(sheet, last, kElevation) + leadingNumber(line.reading())));
            break;
        case Kind::None: break;
        }
        if (n > 1)
            sheet.setThinBorders({n + 4, kName, n + 4, kLastBorderedColumn});
    }
}

}  // namespace levara::books
