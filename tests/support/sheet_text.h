#pragma once
// A worksheet rendered as text lines, for golden files and for comparing readers.
//
//   6  A=1[0]  B="TP1"  C=30.1[0.000]  E=1.52345[0.00000]  | borders A-J
//   merge A6:A8
//
// Numbers print with 12 significant digits and their number format unless it is
// General, texts in double quotes (a line break as \\n), either followed by {red} when
// its font is red (palette index 10); a row lists its
// non-empty cells and the columns whose cells show thin borders on all four edges.
// Rows without either are left out; merges follow the rows, sorted.
#include <string>
#include <vector>

#include "xls/xls.h"

namespace levara::testing {

std::vector<std::string> sheetText(const xls::Worksheet& sheet, int firstRow = 1, int lastColumn = 10);

// Compares with the golden file tests/golden/<name>; on a mismatch fails with a diff.
// LEVARA_UPDATE_GOLDEN=1 in the environment rewrites the file instead.
void expectGolden(const std::vector<std::string>& lines, const std::string& name);

// A unified-style line diff, for failure messages.
std::string lineDiff(const std::vector<std::string>& expected, const std::vector<std::string>& actual);

}  // namespace levara::testing
