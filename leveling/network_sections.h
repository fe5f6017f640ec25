#pragma once
// A text's sections as a leveling network to adjust (leveling/network): each section
// with stations an observed height difference, to 0.01 mm as the 高差配赋表 takes it,
// its length and station count; the known heights from a known-points file, or the
// start's height the text records.
#include <optional>
#include <vector>

#include "leveling/known_points.h"
#include "leveling/limits.h"
#include "leveling/network/network.h"
#include "leveling/route.h"
#include "leveling/sections.h"
#include "records/records.h"

namespace levara::leveling {

// How a forward/return pair enters the network. GB/T 12897-2006 and GB/T 12898-2009
// adjust a section's mean of forward and return (往返测高差中数), weighted by its
// length: that is the default.
enum class PairUse { Mean, BothRuns };

// The standard's M_Δ, the random error per km of a section's mean of forward and
// return, in mm; none for a standard that gives none.
std::optional<double> randomErrorPerKmMm(const Standard& standard);

// The network of the sections. Throws InputError when the text holds no section,
// InputError naming the pieces of the network no known height ties (adjustNetwork),
// InputError as recordedStartHeight without a file.
NetworkInput networkOf(const std::vector<Section>& sections, const TextLines& lines, const KnownPoints* known,
                       Distribution distribution, const Standard* standard, PairUse pairs = PairUse::Mean);

}  // namespace levara::leveling
