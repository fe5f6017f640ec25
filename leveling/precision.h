#pragma once
// The precision of a leveling (精度评定) as GB/T 12897-2006 and GB/T 12898-2009 assess
// it: the mean error per kilometre of the mean height difference from the sections'
// forward/return discrepancies, M_Δ = ±√([ΔΔ/R] / (4n)), and, with loops, the total
// mean error per kilometre M_W = ±√([WW/F] / N). The formulas and their symbols as
// quoted at http://www.ahfyzs.com/content/16/0209/21/30602712_533490941.shtml (式
// 1-5-1 and 1-5-2: Δ the section's forward/return discrepancy in mm, R its length in
// km, n the sections; W a loop's misclosure in mm, F its perimeter in km, N the
// loops). The standards correct W for the non-parallel level surfaces first; Levara's
// loops carry no such correction.
#include <optional>
#include <string>
#include <vector>

#include "leveling/legs.h"

namespace levara::leveling {

// One forward/return pair: Δ, R and ΔΔ/R, each as the precision sheet prints it (R to
// 0.001 km, Δ and ΔΔ/R to 0.01), rounded half to even from its exact decimal.
struct PairPrecision {
    std::string from, to;
    LineNumber line;  // the return section's last line
    double lengthKm = 0;
    double discrepancyMm = 0;
    double weightedSquare = 0;  // ΔΔ/R, mm²/km
};

// One loop: W, F and WW/F, as printed like a pair's.
struct LoopPrecision {
    std::string loop;  // "A–B–C–A"
    LineNumber line;   // the last line of the leg that closes it
    double perimeterKm = 0;
    double misclosureMm = 0;
    double weightedSquare = 0;  // WW/F
};

struct Precision {
    std::vector<PairPrecision> pairs;
    std::vector<LoopPrecision> loops;
    std::optional<double> randomErrorMm;  // M_Δ; none without pairs
    std::optional<double> totalErrorMm;   // M_W; none without loops
};

// [ΔΔ/R] and [WW/F]: the sums of the rows as printed, to 0.01.
double weightedSquareSum(const std::vector<PairPrecision>& pairs);
double weightedSquareSum(const std::vector<LoopPrecision>& loops);
// ±√([ΔΔ/R] / (4n)) of the rows, in mm to 0.01; none without rows.
std::optional<double> randomErrorPerKm(const std::vector<PairPrecision>& pairs);
// ±√([WW/F] / N), in mm to 0.01; none without rows.
std::optional<double> totalErrorPerKm(const std::vector<LoopPrecision>& loops);

// The table rows and both errors: each pair leg that measures no earlier one (a leg of
// no length is left out: ΔΔ/R has no value), and each loop.
Precision assessPrecision(const std::vector<Section>& sections, const std::vector<Leg>& legs,
                          const std::vector<Loop>& loops);
// The same of the sections, their legs and loops found here.
Precision precisionOf(const std::vector<Section>& sections);

}  // namespace levara::leveling
