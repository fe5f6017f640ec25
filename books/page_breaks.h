#pragma once
// Manual page breaks that keep rows printed together: a field book's station
// blocks, and its summary with the sign-off row.
#include <vector>

#include "xls/xls.h"

namespace levara::books {

// The template's name for the station blocks a printed page holds, counted by the
// lowest unit; without it they follow from the page setup.
inline constexpr const char* kBlocksPerPageName = "每页测站数";

// The rows one printed page holds below its print titles, in points at full size
// (before the print scale): what the worksheet's page setup leaves for them.
// Fitting to the page width is counted at the largest scale a spreadsheet may
// choose, its digits being no narrower than half the standard font's size.
double pageRoom(const xls::Worksheet& sheet, int lastColumn);

// Units are the rows from each start to the row before the next, the last ending
// at lastRow, all below the heading. Puts a break before every unit that does not
// fit on the page begun, replacing the worksheet's row breaks. A unit taller than a
// page starts a page and runs over. Past the breaks a worksheet holds, the rest
// prints with the spreadsheet's own breaks.
void keepUnitsOnPages(xls::Worksheet& sheet, const std::vector<int>& unitStarts, int lastRow, int lastColumn);

}  // namespace levara::books
