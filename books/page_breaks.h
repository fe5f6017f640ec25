#pragma once
// Where a field book's pages break: between units of rows printed together (a station
// block with the summaries that follow it), each page closed by rows of its own.
#include <cstddef>
#include <functional>
#include <span>
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

double rowsHeight(const xls::Worksheet& sheet, int firstRow, int lastRow);

// What the first page holds below the heading (rows 1 to headingLastRow) and what each
// later page holds below its print titles, in points at full size. A template that
// declares its blocks a page (kBlocksPerPageName) gives that many plainest units.
struct PageRooms {
    double first = 0, later = 0;
};
PageRooms pageRooms(const xls::Worksheet& sheet, int headingLastRow, double plainestUnit, int lastColumn);

// The units of rows that start a page, by their index, the first page's start left
// out: each page takes units while they fit with the rows that close it below them
// (footHeight of the page's first and last unit). A unit taller than a page starts a
// page and runs over. At most maxBreaks starts; full says whether the units needed more.
struct PagePlan {
    std::vector<std::size_t> starts;
    bool full = false;
};
PagePlan planPages(std::span<const double> unitHeights, const PageRooms& rooms,
                   const std::function<double(std::size_t first, std::size_t last)>& footHeight,
                   std::size_t maxBreaks = xls::kMaxRowBreaks);

}  // namespace levara::books
