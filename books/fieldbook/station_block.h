#pragma once
// The station block of the four-reading books, and the section summary that closes
// every line field book.
#include <span>
#include <string_view>

#include "books/fieldbook/marks.h"
#include "books/sheet_cells.h"
#include "leveling/leveling.h"

namespace levara::books {

// The most rows writeCheckRows writes.
inline constexpr int kMostCheckRows = 5;
// The most stations a book of three-row blocks holds with its summary: four rows of
// totals, the check rows and the sign-off row.
inline constexpr int kMaxStations = (xls::kMaxRows - 5 - 5 - kMostCheckRows) / 3;

// Throws InputError when there are more stations than one worksheet holds, naming the
// first one too many by the line its book read first. book: nullptr for a single book,
// else leveling::kForwardBook or leveling::kReturnBook, which reads its lines last first.
void checkStationsFit(std::span<const leveling::StationReadings> stations, const char* book = nullptr);

// The first row of the first station block.
inline constexpr int kFirstBlockRow = 6;

// Number formats of the summary's values, whatever their columns show: kilometre
// totals and the height difference to five decimals, Σd to the millimetre.
inline constexpr std::string_view kKilometreFormat = "0.00000";
inline constexpr std::string_view kHeightFormat = "0.00000";
inline constexpr std::string_view kDistanceFormat = "0.000";

// Where the summary's wording and sign-off row differ between the books.
struct SummaryLayout {
    std::string_view distanceDifferenceLabel;  // in (rowBase+6, 5)
    int lastBorderedColumn;
    int signerLastColumn;                     // "测量责任人：" is merged from column 1 to here
    int checkerColumn;                        // "检查者："
    int mergedFirstColumn, mergedLastColumn;  // the merge of the sign-off row besides the signer's
    int dateColumn;                           // "日期："
};

// What a section's check rows (检查计算) add up: the sums of its stations' printed
// values and its last Σd.
struct CheckTotals {
    leveling::StationSums sums;
    double lastDistanceDifferenceSum = 0;
    bool twice = true;  // each staff read twice: the rows of Σh1 + Σh2 and of the means
};
CheckTotals checkTotals(std::span<const leveling::Station> stations, bool twice);

// The check rows from row down to columns 2 to lastColumn, titled "检查计算" in column
// 1: each identity with the printed values it adds up, so that it holds exactly.
// Returns the row after them.
int writeCheckRows(xls::Worksheet& sheet, int row, const CheckTotals& totals, int lastColumn);

// The summary of the stations from row rowBase+5 down, rowBase being the row base
// after the last station: the totals, the check rows, the sign-off row; returns that
// last row. The start and end points copy cells (6, 2) and (rowBase+3, 2); with no
// station they stay empty. twice: the stations read each staff twice.
int writeSectionSummary(xls::Worksheet& sheet, int rowBase, std::span<const leveling::Station> stations,
                        const SummaryLayout& layout, bool twice);

// Page breaks between the station blocks and before the summary (rows rowBase+5 to
// lastRow) where a page would split them.
void keepBlocksOnPages(xls::Worksheet& sheet, int stationCount, int rowBase, int lastRow, int lastColumn);

// A whole four-reading book: the blocks from row 6 down and the summary, and the page
// breaks that keep each on one page; with marks, the values over
// their limits in red and named in the remarks.
void writeFourReadingBook(xls::Worksheet& sheet, std::span<const leveling::Station> stations, const BookMarks* marks);

// The cell's value in red when marked; nothing otherwise.
void markCell(xls::Worksheet& sheet, int row, int column, bool marked);

}  // namespace levara::books
