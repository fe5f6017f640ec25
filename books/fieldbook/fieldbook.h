#pragma once
// fieldbook: the leveling field books. Each writes the station blocks of each leveling
// line of the text from row 6 down, with several lines each closed by its own summary,
// and closes with the whole text's summary and the sign-off row (sectioned_book.h).
// Every function reads the text's lines (the work file read back) and throws
// levara::InputError naming the line when a station cannot be read whole; the
// worksheets are then left as they were.
#include <string>
#include <vector>

#include "books/fieldbook/marks.h"
#include "records/records.h"
#include "xls/xls.h"

namespace levara::books {

// With marks (a standard chosen), each book shows the values over their limits in red
// and names them in the station's remark; without, it is written as it always was.
// read: the sections as the book reads them from lines (leveling::readSections in its
// order with LinesRead::AsBook or BookAsRecorded; the two-way book's
// leveling::readTwoWaySections), where the caller has read them already; none to read
// them here.
using Sections = std::vector<leveling::Section>;
// "线路手薄(BFFB)", "线路手薄(BBFF)", "线路手薄(BFBF)": order is one of those three.
void writeLineBook(xls::Worksheet& sheet, const TextLines& lines, leveling::ObservationOrder order,
                   const BookMarks* marks = nullptr, const Sections* read = nullptr);
// "线路手薄(BF)".
void writeBfBook(xls::Worksheet& sheet, const TextLines& lines, const BookMarks* marks = nullptr,
                 const Sections* read = nullptr);
// "线路手薄(aBFFB 单一线路)".
void writeAlternatingBook(xls::Worksheet& sheet, const TextLines& lines, const BookMarks* marks = nullptr,
                          const Sections* read = nullptr);
// "线路手薄(aBFFB 双转往返)": the forward book and the return book, which reads the
// lines last first.
void writeTwoWayBook(xls::Worksheet& forwardSheet, xls::Worksheet& returnSheet, const TextLines& lines,
                     const BookMarks* marks = nullptr, const Sections* read = nullptr);

// The reversed work file of the two-way book: the non-empty lines last first, each
// followed by CR LF, as the return book reads them.
std::string reversedWorkText(const TextLines& lines);

}  // namespace levara::books
