#pragma once
// Cells as the books write and read them. Rows and columns count from 1.
#include <string_view>

#include "xls/xls.h"

namespace levara::books {

// Writes text into a cell the way typed input is taken: a text that reads as a
// number (typedNumber) becomes that number, the empty text empties the cell, any
// other text is stored as it is. For values read from the text.
void enter(xls::Worksheet& sheet, int row, int column, std::string_view text);

// Stores a computed value rounded to nine decimals (nineDecimals), free of binary noise.
void putComputed(xls::Worksheet& sheet, int row, int column, double value);

// The numeric value of a cell: its number, the leading number of its text, 0 when empty.
double numberAt(const xls::Worksheet& sheet, int row, int column);

// Empty, or an empty text.
bool isEmpty(const xls::Value& value);

}  // namespace levara::books
