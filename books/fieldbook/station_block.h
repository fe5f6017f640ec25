#pragma once
// The station block of the four-reading books, and the marks of a block's values.
#include <span>
#include <string_view>

#include "books/fieldbook/marks.h"
#include "books/fieldbook/sectioned_book.h"
#include "books/sheet_cells.h"
#include "leveling/leveling.h"

namespace levara::books {

// A whole four-reading book of the sections: the blocks from row 6 down, the
// summaries, and the page breaks that keep each on one page; with marks, the values
// over their limits in red and named in the remarks.
void writeFourReadingBook(xls::Worksheet& sheet, std::span<const BookSection> sections, const BookMarks* marks);

// The cell's value in red when marked; nothing otherwise.
void markCell(xls::Worksheet& sheet, int row, int column, bool marked);

// The remark naming the exceedances in the area of one column, merged over its rows,
// its rows made tall enough for the wrapped text to print whole.
void writeRemark(xls::Worksheet& sheet, const xls::Range& area, unsigned exceeded);

// The points each row of the remark's area grows by when writeRemark writes it; 0
// without exceedances.
double remarkGrowth(const xls::Worksheet& sheet, const xls::Range& area, unsigned exceeded);

// The height of a station block on rows rowBase+5 to rowBase+7 once written, its
// remark (of exceeded, in that area) grown.
double blockHeight(const xls::Worksheet& sheet, int rowBase, const xls::Range& remark, unsigned exceeded);

}  // namespace levara::books
