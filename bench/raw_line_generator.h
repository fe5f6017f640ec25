#pragma once
// Raw files of the digital level for the benchmarks, laid out as the instrument
// writes them (119 characters a line, "|" at columns 7, 17, 49, 72, 95 and 118, CR LF
// after each line), with readings, distances and times drawn from a seed: the same
// seed gives the same bytes on every machine. The text is UTF-8; GB18030 is the
// caller's business (make_raw_line writes it).
#include <cstdint>
#include <string>
#include <string_view>

#include "leveling/leveling.h"

namespace levara::bench {

// aBFFB alternates BFFB on odd stations with Rf Rb Rb Rf on even ones.
using leveling::ObservationOrder;

// A leveling line of `stations` set-ups from benchmark BM1 to BM2: the start record,
// BM1's height, per station its readings (now and then a rejected one followed by its
// re-measurement) and the fore point's height, then the line-end totals and the end
// record. Turning points are named pointPrefix and their number ("TP12", "转点12").
std::string rawLevelingLine(int stations, ObservationOrder order, std::uint64_t seed,
                            std::string_view pointPrefix = "TP");

// Set-ups of an intermediate-sight survey: BM1's height and a back sight on it, then
// `points` intermediate sights carrying their heights, each tenth one also sighted as
// the next set-up's back sight.
std::string rawIntermediateSurvey(int points, std::uint64_t seed);

// `points` single readings ("R " without a height), now and then a rejected one
// followed by its re-measurement.
std::string rawSinglePoints(int points, std::uint64_t seed);

}  // namespace levara::bench
