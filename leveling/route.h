#pragma once
// A leveling route from a text's sections and its misclosure distributed, as the
// 高差配赋表 of a Chinese leveling report computes it. The sections, in the text's
// order, must chain into one route (each one's end the next one's start): a
// connecting route between two known points, a loop back to its start, or, when only
// the start's height is known, a route without a misclosure. Two sections between the
// same points in opposite directions are a forward/return pair, used as their mean.
//
// Height differences are taken to 0.01 mm (0.00001 m), as the table shows them, and
// everything after is integer arithmetic in that unit: the corrections add up to the
// misclosure exactly, and the last height is the known end height exactly.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "leveling/known_points.h"
#include "leveling/legs.h"
#include "leveling/limits.h"
#include "leveling/precision.h"
#include "leveling/sections.h"
#include "records/records.h"

namespace levara::leveling {

enum class Distribution { ByDistance, ByStations };
enum class RouteKind { Connecting, Loop, Open };

// A forward/return pair's discrepancy held to the standard's limit.
struct PairCheck {
    LineNumber returnFirstLine, returnLastLine;  // the return section's lines
    double discrepancyMm = 0;                    // forward + return height difference
    std::optional<double> limitMm;               // none without a standard that gives one
    bool over = false;
    // The return section's file (Section::file).
    const std::filesystem::path* returnFile = nullptr;
};

// One section of the route; a forward/return pair counts as one, their mean.
struct RouteSection {
    std::string from, to;
    LineNumber firstLine, lastLine;  // of the (forward) section in the text
    // In the adjustment, to the metre as the table prints it (half to even); from
    // routeSections, as measured.
    double lengthKm = 0;
    double stations = 0;  // a pair's mean may end in .5
    HundredthsOfMm measured = 0;
    HundredthsOfMm correction = 0;
    std::optional<PairCheck> pair;
    // The (forward) section's file (Section::file).
    const std::filesystem::path* file = nullptr;

    HundredthsOfMm corrected() const { return measured + correction; }
};

struct RoutePoint {
    std::string name;
    HundredthsOfMm height = 0;
    bool known = false;  // its height given, not computed
};

struct Adjustment {
    RouteKind kind = RouteKind::Open;
    Distribution distribution = Distribution::ByDistance;
    std::string standard;  // the limits' name, empty when none is chosen
    std::vector<RouteSection> sections;
    std::vector<RoutePoint> points;  // the start, then each section's end
    // Where the start height comes from: the known-points file, or the text's line.
    std::filesystem::path knownFile;
    LineNumber startHeightLine;  // the text's height line, when no file gives it
    // Its file, when the text joins several.
    std::filesystem::path startHeightFile;
    double lengthKm = 0;  // ΣL: the sum of the sections' printed lengths
    double stations = 0;
    HundredthsOfMm measured = 0;
    std::optional<HundredthsOfMm> misclosure;  // f_h; none for a route without a known end
    std::optional<double> limitMm;             // ± the allowed misclosure
    bool misclosureOver = false;
    // The 精度评定 of the route's sections and loops, with the limits of M_Δ and M_W.
    Precision precision;
    std::optional<double> randomErrorLimitMm, totalErrorLimitMm;

    // The misclosure or a pair's discrepancy is over its limit.
    bool overLimit() const;
    // −f_h per km or per station, in mm.
    std::optional<double> correctionPerUnitMm() const;
};

// The route through the sections with stations, its misclosure distributed. known:
// the known heights, or none to take the start's height from the text
// (recordedStartHeight). standard: the limits of the misclosure and of a pair's discrepancy, or none.
// Throws InputError naming the text's lines and the points where the sections do not
// make one route or a height is missing, FileError naming the known-points file when
// it does not know the route's start.
Adjustment adjustRoute(const std::vector<Section>& sections, const TextLines& lines, const KnownPoints* known,
                       Distribution distribution, const Standard* standard);

// The sections with stations in the text's order as the route takes them: each
// forward/return pair as one, their mean, at its forward run (pairs: true), or every
// section as measured (pairs: false).
std::vector<RouteSection> routeSections(const std::vector<Section>& sections, const Standard* standard,
                                        bool pairs = true);

}  // namespace levara::leveling
