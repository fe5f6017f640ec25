#pragma once
// Old data rows of a template, cleared before a book or table is written over them.
#include "xls/xls.h"

namespace levara::books {

// Empties old data rows from row 6 down, columns 1 to 10, while column 1 of the
// row is not empty or lies inside a merge begun in a row already cleared. Values
// go, formats stay; merges lying in cleared rows are removed.
void clearOldRows(xls::Worksheet& sheet);

}  // namespace levara::books
