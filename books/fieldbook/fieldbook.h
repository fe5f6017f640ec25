#pragma once
// fieldbook: the leveling field books. Each writes its station blocks from row 6
// down and closes with the section summary and the sign-off row.
// Every function reads the text's lines (the work file read back) and throws
// levara::InputError naming the line when a station cannot be read whole.
#include <filesystem>

#include "books/sheet_cells.h"
#include "books/workbook_sheets.h"
#include "records/records.h"

namespace levara::books {

// The order in which a station's four lines were observed.
enum class StationOrder { BFFB, BBFF, BFBF };

// "线路手薄(BFFB)", "线路手薄(BBFF)", "线路手薄(BFBF)".
void writeLineBook(Sheet& sheet, const TextLines& lines, StationOrder order);
// "线路手薄(BF)".
void writeBfBook(Sheet& sheet, const TextLines& lines);
// "线路手薄(aBFFB 单一线路)".
void writeAlternatingBook(Sheet& sheet, const TextLines& lines);
// "线路手薄(aBFFB 双转往返)": the forward book on worksheet 1 (already cleared by the
// pipeline), the return book on worksheet 2 (cleared here) from the reversed work file,
// which is written to reversedWorkFile and left there.
void writeTwoWayBook(WorkbookSheets& sheets, const TextLines& lines,
                     const std::filesystem::path& reversedWorkFile);

}  // namespace levara::books
