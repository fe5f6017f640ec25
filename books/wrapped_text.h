#pragma once
// Rows that hold a wrapped text whole: how many lines a text wraps into in a column,
// estimated as LibreOffice and WPS print it, and the rows grown to hold them.
#include <string_view>

#include "xls/xls.h"

namespace levara::books {

// The lines text wraps into in a line lineEms wide (ems of its font): a Chinese
// character is one em and a line may break before it, any other character half an em;
// a run of them without blanks (a word, a file name) moves whole to the next line
// unless it is longer than a line.
int wrappedLines(std::string_view text, double lineEms);

// The points each row of area must grow by, alike and to whole points, so that text,
// wrapped in the width of area's columns, fits their height; 0 when it fits already.
double rowGrowthToFit(const xls::Worksheet& sheet, const xls::Range& area, std::string_view text);
// Grows the rows of area by rowGrowthToFit.
void growRowsToFit(xls::Worksheet& sheet, const xls::Range& area, std::string_view text);

}  // namespace levara::books
