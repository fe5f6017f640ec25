#pragma once
// "高差配赋表": the route's points and sections, their corrections and heights, the
// sums, the misclosure with its limit and the correction per km or per station.
#include "leveling/leveling.h"
#include "xls/xls.h"

namespace levara::books {

// Row 2 gets the route, rows from 4 down the start point, each section's end point
// and section, the sums and the misclosure, in columns 点名 … 备注 (A to H).
void writeAdjustmentTable(xls::Worksheet& sheet, const leveling::Adjustment& adjustment);

}  // namespace levara::books
