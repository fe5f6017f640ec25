#pragma once
// The heading fields the text carries, written where the template's names say.
#include "records/records.h"
#include "xls/xls.h"

namespace levara::books {

// 线路名称 and 观测顺序 from the first "Start-Line" record (its line number and
// observation method), 日期 and 仪器 from the first "Date:" and "Instr:" text
// records. Each goes to the cell of the worksheet's name of that field, after the
// label the cell holds (up to its "：" or ":"), when the cell has one. A field the text
// lacks, or a name the template lacks, leaves the heading as it is.
void writeHeading(xls::Worksheet& sheet, const TextLines& lines);

}  // namespace levara::books
