#include "books/clear_rows.h"

#include "books/sheet_cells.h"

namespace levara::books {

namespace {
constexpr int kFirstDataRow = 6;
constexpr int kClearedColumns = 10;
}  // namespace

void clearOldRows(xls::Worksheet& sheet)
{
    // Only a merge's top-left cell holds a value, so an old station block would stop
    // a plain "column 1 not empty" scan at its second row: rows covered by a merge
    // begun in a cleared row count as occupied too.
    int coveredThrough = 0;
    for (int row = kFirstDataRow;; ++row) {
        const bool occupied = !isEmpty(sheet.value(row, 1)) || row <= coveredThrough;
        if (!occupied)
            break;
        for (int column = 1; column <= kClearedColumns; ++column) {
            if (auto merged = sheet.mergeAt(row, column); merged && merged->firstRow >= kFirstDataRow) {
                if (column == 1 && merged->lastRow > coveredThrough)
                    coveredThrough = merged->lastRow;
                sheet.unmerge(*merged);
            }
            sheet.clearValue(row, column);
        }
    }
}

}  // namespace levara::books
