#pragma once
// "精度评定": beside the 高差配赋表, the forward/return pairs with R, Δ and ΔΔ/R and M_Δ,
// and the loops with F, W and WW/F and M_W, each against its limit.
#include "leveling/leveling.h"
#include "xls/xls.h"

namespace levara::books {

// Row 2 gets the standard; from row 4 down the pairs in columns 测段 … ΔΔ/R (A to D)
// and the loops in columns 环线 … WW/F (E to H), each table's sums, M and limit below
// the longer one.
void writePrecisionTable(xls::Worksheet& sheet, const leveling::Adjustment& adjustment);

}  // namespace levara::books
