#pragma once
// tables: the point tables, one row per point.
#include "records/records.h"
#include "xls/xls.h"

namespace levara::books {

// "中间点测量表格": points, back readings, heights of collimation, intermediate
// readings and elevations from row 6 down.
void writeIntermediateTable(xls::Worksheet& sheet, const TextLines& lines);
// "单点测量表格": one numbered row per reading line from row 3 down.
void writeSinglePointTable(xls::Worksheet& sheet, const TextLines& lines);

}  // namespace levara::books
