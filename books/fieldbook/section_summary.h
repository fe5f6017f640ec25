#pragma once
// The summaries that close a field book's leveling lines: one line's own (测段计算)
// in a text of several lines, and the whole book's with its sign-off row.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "leveling/leveling.h"
#include "xls/xls.h"

namespace levara::books {

// Number formats of the summary's values, whatever their columns show: kilometre
// totals and the height difference to five decimals, Σd to the millimetre.
inline constexpr std::string_view kKilometreFormat = "0.00000";
inline constexpr std::string_view kHeightFormat = "0.00000";
inline constexpr std::string_view kDistanceFormat = "0.000";
// A forward/return discrepancy and its limit, in mm.
inline constexpr std::string_view kMillimetreFormat = "0.00";
inline constexpr std::string_view kLimitFormat = "\"±\"0.00";

// Where the summary's wording and sign-off row differ between the books.
struct SummaryLayout {
    std::string_view distanceDifferenceLabel;  // beside Σd
    int lastBorderedColumn;
    int signerLastColumn;                     // "测量责任人：" is merged from column 1 to here
    int checkerColumn;                        // "检查者："
    int mergedFirstColumn, mergedLastColumn;  // the merge of the sign-off row besides the signer's
    int dateColumn;                           // "日期："
    bool twice;  // the stations read each staff twice: the check rows of Σh1 + Σh2 and of the means
};

// The totals a summary prints.
struct SummaryTotals {
    // The stations summed, for rows computed from them: one line's, or none for the
    // whole of a text of several lines.
    std::span<const leveling::Station> stations;
    std::string_view startPoint, endPoint;  // as the book's rows show them; empty without stations
    leveling::StationSums sums;
    double distanceDifferenceSum = 0;  // Σd at the last station
};

SummaryTotals totalsOf(const leveling::Section& section);

// What check rows (检查计算) add up: the sums of their stations' printed values and
// the Σd they close with.
struct CheckTotals {
    leveling::StationSums sums;
    double lastDistanceDifferenceSum = 0;
    bool twice = true;  // each staff read twice: the rows of Σh1 + Σh2 and of the means
};
CheckTotals checkTotals(const SummaryTotals& totals, bool twice);

void addSums(leveling::StationSums& to, const leveling::StationSums& from);

// The most rows writeCheckRows writes, and the rows it writes.
inline constexpr int kMostCheckRows = 5;
int checkRowCount(bool twice);

// The titles and labels of a summary's check rows and of a page's.
struct CheckWording {
    std::string_view title;               // in column 1
    std::string_view distanceDifference;  // what Σ后距 - Σ前距 equals
    std::string_view sightLength;         // what Σ后距 + Σ前距 equals
};
inline constexpr CheckWording kSummaryCheck = {"检查计算", "Σd", "总视距"};
// A page's own: its d summed (the change of Σd over the page), its sight lengths.
inline constexpr CheckWording kPageCheck = {"本页校核", "本页d之和", "本页视距"};

// The check rows from row down to columns 2 to lastColumn, titled in column 1: each
// identity with the printed values it adds up, so that it holds exactly. Returns the
// row after them.
int writeCheckRows(xls::Worksheet& sheet, int row, const CheckTotals& totals, int lastColumn,
                   const CheckWording& wording = kSummaryCheck);

// One line's summary in a book of several lines.
struct LineSummary {
    SummaryTotals totals;
    int stations = 0;
    bool evenRequired = false;  // the standard asks for an even count: it says which
    std::optional<double> startHeight;
    const leveling::PairDiscrepancy* pair = nullptr;  // when the line returns an earlier one
    std::vector<std::string> findings;                // the standard's findings on the line
};

// The rows writeLineSummary takes; twice as SummaryLayout::twice.
int lineSummaryRows(const LineSummary& summary, bool twice);
// From firstRow down: the totals, the station count, the start and end heights, the
// pair's discrepancy with its limit, one row per finding and the check rows. Returns
// the row below.
int writeLineSummary(xls::Worksheet& sheet, int firstRow, const LineSummary& summary, const SummaryLayout& layout);

// The rows writeBookSummary takes with so many findings; twice as SummaryLayout::twice.
int bookSummaryRows(std::size_t findings, bool twice);
// From firstRow down: the totals under the title, one row per finding, the check rows
// and the sign-off row. Returns the sign-off row.
int writeBookSummary(xls::Worksheet& sheet, int firstRow, std::string_view title, const SummaryTotals& totals,
                     const std::vector<std::string>& findings, const SummaryLayout& layout);

}  // namespace levara::books
