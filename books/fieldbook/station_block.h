#pragma once
// The station block of the four-reading books, and the section summary that closes
// every line field book.
#include <span>
#include <string_view>

#include "books/fieldbook/marks.h"
#include "books/sheet_cells.h"
#include "leveling/leveling.h"

namespace levara::books {

// The section totals a book sums while it writes, in metres.
struct SectionTotals {
    double distanceDifferenceSum = 0;  // back distances less fore distances
    double heightDifferenceSum = 0;
    double backDistanceSum = 0;
    double foreDistanceSum = 0;
    double sightLengthSum = 0;
};

// The first row of the first station block.
inline constexpr int kFirstBlockRow = 6;

// Number formats of the summary's values, whatever their columns show: kilometre
// totals and the height difference to five decimals, Σd to the millimetre.
inline constexpr std::string_view kKilometreFormat = "0.00000";
inline constexpr std::string_view kHeightFormat = "0.00000";
inline constexpr std::string_view kDistanceFormat = "0.000";

// Where the summary's wording and sign-off row differ between the books.
struct SummaryLayout {
    std::string_view distanceDifferenceLabel;  // in (n+6, 5)
    int lastBorderedColumn;
    int signerLastColumn;                     // "测量责任人：" is merged from column 1 to here
    int checkerColumn;                        // "检查者："
    int mergedFirstColumn, mergedLastColumn;  // the merge of the sign-off row besides the signer's
    int dateColumn;                           // "日期："
};

// The summary on rows n+5 to n+9, n being the row base after the last station.
// The start and end points copy cells (6, 2) and (n+3, 2); with no station they stay empty.
void writeSectionSummary(xls::Worksheet& sheet, int n, int stationCount, const SectionTotals& totals,
                         const SummaryLayout& layout);

// Page breaks between the station blocks and before the summary (rows n+5 to n+9)
// where a page would split them.
void keepBlocksOnPages(xls::Worksheet& sheet, int stationCount, int n, int lastColumn);

// A whole four-reading book: the blocks from row 6 down and the summary, with fresh
// totals, and the page breaks that keep each on one page; with marks, the values over
// their limits in red and named in the remarks.
void writeFourReadingBook(xls::Worksheet& sheet, std::span<const leveling::StationReadings> stations,
                          const BookMarks* marks);

// The cell's value in red when marked; nothing otherwise.
void markCell(xls::Worksheet& sheet, int row, int column, bool marked);

}  // namespace levara::books
