#pragma once
// The readable source of a workbook template (templates/sources/*.tpl): a small
// line-oriented text, so that a heading change is a reviewable diff.
//
// One statement per line; "#" starts a comment; words are separated by blanks;
// texts stand in double quotes with \" \\ and \n (line break in a cell) escapes.
//
//   include "common.inc"                    another source, relative to this one
//   style NAME [like BASE] SETTING...       a cell format, all settings optional:
//       font="宋体"  size=11  bold  italic  underline  wrap  border
//       (each flag also as bold=no / wrap=yes ...)
//       format="0.00000"                    Excel number format code
//       align=general|left|center|right    valign=top|center|bottom
//   sheet "NAME"                            a new worksheet; what follows is its own
//   page SETTING...                         print setup of the sheet:
//       paper=a4|a3|letter  orientation=portrait|landscape
//       margins=LEFT,RIGHT,TOP,BOTTOM (cm)  scale=PERCENT or fit=width
//       center=horizontal  titles=FIRST-LAST (rows printed on every page)
//       header="..."  footer="&C第 &P 页"
//   freeze ROWS                             rows kept in view when scrolling
//   columns A[-B] width=CHARS [style=NAME]  column width and the format of every
//                                           cell of the column that has none
//   rows N[-M] height=POINTS
//   cell A1[:B2] STYLE ["TEXT"]             styles every cell of the range; a range
//                                           of more than one cell is merged and the
//                                           text goes into its first cell
//   name "NAME" A1[:B2]                     a name of the sheet for its cells, or
//   name "NAME" NUMBER                      for a number (see "Names the outputs
//                                           read" below)
//
// Styles are global and must be defined before use; a later cell statement over
// the same cells wins (so an included sheet body can be retitled).
//
// Names the outputs read (a template without them is left as it is there):
//   "工程名称", "线路名称", "观测顺序", "日期", "仪器", "测段", "时间", "检核标准"
//       the heading cell the field goes into: the project record, the line number
//       and the observation method of the text's "Start-Line" record, its "Date:"
//       and "Instr:" text records, "测自…至…", the first and last reading's time, the
//       standard the book was held to (books/heading.h). A cell holding a label that
//       ends in "：" keeps the label and gets the value after it.
//   "每页测站数"  station blocks per printed page. Without it a field book works the
//       number out from the page setup: paper, orientation, margins, header and
//       footer, scale (or fit to width, counted at the largest scale any spreadsheet
//       may choose), print titles and row heights.
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "records/records.h"
#include "xls/xls.h"

namespace levara::templates {

// A source that makes no sense, or includes one that cannot be read. what() is
// "<file>:<line>: <message>", or "<file>: <message>" when no line is at fault. The
// generator runs in the build, for developers: its messages stay English.
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ColumnFormat {
    int first = 1;
    int last = 1;
    double width = 8.43;
    std::optional<std::string> style;
};

struct RowHeight {
    int first = 1;
    int last = 1;
    double points = 15;
};

struct CellEntry {
    xls::Range range;
    std::string style;
    std::optional<std::string> text;  // UTF-8
};

struct NameEntry {
    std::string name;
    std::optional<xls::Range> range;  // otherwise the name stands for the number
    double number = 0;
};

struct SheetSource {
    std::string name;
    xls::PageSetup page;
    int frozenRows = 0;
    std::vector<ColumnFormat> columns;
    std::vector<RowHeight> rows;
    std::vector<CellEntry> cells;
    std::vector<NameEntry> names;
};

struct TemplateSource {
    std::map<std::string, xls::CellStyle> styles;
    std::vector<SheetSource> sheets;
};

// Reads a source and every source it includes.
TemplateSource parseTemplateFile(const std::filesystem::path& file);

// The same from text; includes are looked up beside `file`.
TemplateSource parseTemplate(const std::string& text, const std::filesystem::path& file);

}  // namespace levara::templates
