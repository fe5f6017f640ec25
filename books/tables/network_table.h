#pragma once
// "平差成果表": a leveling network's least-squares adjustment: the known points, the
// adjusted heights with their standard deviations, the sections with their
// corrections, adjusted height differences and standardized residuals, σ0, the
// global test, and the precision of the leveling (M_Δ, M_W).
#include <filesystem>
#include <optional>
#include <string>

#include "leveling/leveling.h"
#include "xls/xls.h"

namespace levara::books {

struct NetworkReport {
    leveling::NetworkAdjustment adjustment;
    leveling::PairUse pairs = leveling::PairUse::Mean;
    std::string standard;  // the limits' name, empty when none is chosen
    // Where the known heights come from: the known-points file, or the text's line.
    std::filesystem::path knownFile;
    LineNumber startHeightLine;
    std::filesystem::path startHeightFile;  // its file, when the text joins several
    // The precision of the leveling (M_Δ from its forward/return pairs, M_W from its
    // loops) and the chosen standard's limits of them.
    leveling::Precision precision;
    std::optional<leveling::ErrorLimit> randomErrorLimit, totalErrorLimit;
};

// Row 2 gets the network's weighting and sources, rows from 4 down the points, then
// the sections, then the precision and the test, in columns A to I.
void writeNetworkTable(xls::Worksheet& sheet, const NetworkReport& report);

}  // namespace levara::books
