#pragma once
// The frame every workbook output runs in: the template copied to the working
// workbook, old data rows cleared, the work files written (the text, read back from
// there, and the two-way book's reversed lines), the output filled, the workbook
// saved and copied whole to the user's file.
#include <filesystem>
#include <string_view>

#include "books/heading.h"
#include "books/pipeline/workbook_kinds.h"
#include "books/tables/network_table.h"
#include "leveling/leveling.h"
#include "records/records.h"
#include "xls/xls.h"

namespace levara::books {

// Throws leveling::OrderContradicted, naming the book, the first station it would read
// against the staffs the level recorded ("Rb", "Rf") and both orders, with the orders
// that fit the text, when output is a field book whose order the text's stations
// contradict: such a book would take back readings for fore readings. A line that
// names no method is held to its tags alike. Every field book's export checks so.
void checkBookFits(WorkbookKind output, const TextLines& lines);

// The workbook exportWorkbook saves, made in memory from the template's bytes and
// the text's lines; templateFile and destination name the files in its errors.
std::string workbookBytes(WorkbookKind output, std::string_view templateBytes, const TextLines& lines,
                          const std::filesystem::path& templateFile, const std::filesystem::path& destination,
                          const leveling::Standard* standard = nullptr,
                          const leveling::Adjustment* adjustment = nullptr, const NetworkReport* network = nullptr,
                          const Heading* opened = nullptr);

// What workbookBytes fills, from a template already read (xls::Workbook::
// fromWorkbookStream of a stream kept in memory, its old rows still there), given back
// as its Workbook stream alone: no OLE2 container is read or written. For the fuzzers,
// which make thousands of workbooks from one template. Throws as workbookBytes does.
std::string filledWorkbookStream(WorkbookKind output, xls::Workbook book, const TextLines& lines,
                                 const leveling::Standard* standard = nullptr,
                                 const leveling::Adjustment* adjustment = nullptr,
                                 const NetworkReport* network = nullptr);

// Copies the output's template over the working workbook excel.xls.
void renewWorkingWorkbook(WorkbookKind output, const WorkFolderPaths& temp);

// Fills a fresh working workbook from the text and saves it, then replaces
// destination with it as a whole. On any failure destination is left untouched.
// Throws InputError, or FileError: one the engine finds in the workbook names the
// template when it is the template's, the destination when the output would pass a
// limit of the format. With a standard, a field book marks the values over its limits
// (leveling/checks.h), its stations read in the book's own order; without, or for a table,
// the workbook is as it always was; the heading names the standard either way. The
// heading is the text's own, its gaps filled from opened, the heading of the file as
// opened (a filtered text lacks its records). Given the origins of the text's lines, its
// faults and marks name lines by them (TextLines::numberBy). The adjustment table is
// written from adjustment, the network table from network, which they need.
void exportWorkbook(WorkbookKind output, const WorkFolderPaths& temp, std::string_view text,
                    const std::filesystem::path& destination, const leveling::Standard* standard = nullptr,
                    const LineOrigins& origins = {}, const leveling::Adjustment* adjustment = nullptr,
                    const NetworkReport* network = nullptr, const Heading* opened = nullptr);

}  // namespace levara::books
