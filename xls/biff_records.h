#pragma once
// Bodies of the records the engine makes, one encoder per record type. Rows and
// columns here count from 0, as BIFF stores them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xls/xls.h"

namespace levara::xls::body {

inline constexpr std::uint16_t kGlobalsSubstream = 0x0005;
inline constexpr std::uint16_t kWorksheetSubstream = 0x0010;

std::string bof(std::uint16_t substream);
std::string u16(std::uint16_t value);  // the many records holding one 16-bit value
std::string f64(double value);         // margins, DELTA

// Workbook globals.
std::string writeAccess(std::u16string_view user);
std::string tabIds(std::size_t sheets);
std::string window1();
std::string builtinFormat(std::uint16_t index, std::u16string_view code);
std::string xf(std::uint16_t font, std::uint16_t format, bool style, std::uint8_t used);
std::string builtinStyle(std::uint16_t xf, std::uint8_t style);
std::string boundSheet(std::u16string_view name);
std::string country(std::uint16_t code);
std::string internalSupBook(std::uint16_t sheets);
std::string externSheet(const std::vector<std::uint16_t>& sheetRefs);  // iSupBook, first, last per entry
std::string printTitles(std::uint16_t sheet, std::uint16_t externIndex, int firstRow, int lastRow);
// A name local to sheet `sheet` (from 0) standing for a formula.
std::string definedName(std::u16string_view name, std::uint16_t sheet, std::string_view formula);
// Formulas of names: an absolute reference to a range of another sheet's cells, a number.
std::string areaFormula(std::uint16_t externIndex, const Range& range);
std::string numberFormula(double value);
std::string emptySst();

// Worksheet.
std::string index(std::uint32_t firstRow, std::uint32_t lastRowPlus1, std::uint32_t defColWidth,
                  const std::vector<std::uint32_t>& dbCells);
std::string dimensions(std::uint32_t firstRow, std::uint32_t lastRowPlus1, std::uint16_t firstColumn,
                       std::uint16_t lastColumnPlus1);
std::string guts();
std::string defaultRowHeight(std::uint16_t twips);
std::string headerFooter(std::u16string_view text);
std::string setup(const PageSetup& setup);
// The breaks' rows count from 1, as in the API.
std::string rowBreaks(const std::vector<int>& rows);
std::string colInfo(std::uint16_t first, std::uint16_t last, std::uint16_t width, std::uint16_t xf,
                    std::uint16_t flags);
std::string window2(bool selected);
std::string pane(int frozenRows);
std::string selection(std::uint8_t pane, int row, int column);
// At most 1,026 ranges (the callers split longer lists).
std::string mergedCells(const Range* ranges, std::size_t count);

inline constexpr std::size_t kMergesPerRecord = 1026;

}  // namespace levara::xls::body
