#pragma once
// The checks of a text's leveling lines against a standard: every station's sight
// lengths, staff readings, d and the two height differences, each section's running
// Σd, station count and computation check, each reading's repetition count, the
// misclosure of each loop the lines close (leveling/legs.h), each forward/return
// pair's and whole route's discrepancy, a section measured again against its first
// measurement, and the precision of the whole (M_Δ, M_W). A finding is one value over
// its limit.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "leveling/instrument_check.h"
#include "leveling/limits.h"
#include "leveling/precision.h"
#include "leveling/sections.h"

namespace levara::leveling {

enum class CheckItem {
    SightLength,            // a reading's distance, m
    LineOfSightHeight,      // a staff reading, m
    DistanceDifference,     // a station's d, m
    DistanceDifferenceSum,  // a section's Σd where it passes its limit, m
    HeightDifferences,      // a station's two height differences' difference, mm
    StationCount,           // a section's stations, odd where even is required
    ComputationCheck,       // (Σ back − Σ fore readings) less Σ height differences, per mean, mm
    LoopMisclosure,         // mm
    ForwardReturn,          // mm
    RepeatCount,            // the readings a digital level averaged into one, a count
    Remeasured,             // a section measured again less its first measurement, mm
    RouteForwardReturn,     // Σ of the discrepancies of pairs that follow each other as one route, mm
    RandomError,            // M_Δ, mm
    TotalError,             // M_W, mm
    // A station's height difference against the step between the level's heights, m
    // (an InstrumentDisagreement as a row of the list).
    InstrumentDiffers,
    StationMissing,  // the same where the level's step includes a station the file lacks
};

// What the item is called in the list: a message source (QT_TRANSLATE_NOOP).
const char* itemName(CheckItem item);
// "m", "mm", or "" for a count.
std::string_view itemUnit(CheckItem item);

// Σ back − Σ fore readings must equal Σ height differences (Σh1 + Σh2 where each staff
// is read twice, halved) to this, in mm.
inline constexpr double kComputationToleranceMm = 0.01;

struct Finding {
    LineNumber line;         // in the text
    int section = 0;         // its index in the sections checked
    int station = 0;         // its number in its section; 0 for a finding of the section
    LineNumber stationLine;  // the station's first line (StationReadings::firstLine); none for a section's
    std::string point;
    CheckItem item{};
    double value = 0;  // in the item's unit; a count for StationCount
    // The limit: lower and upper bounds (a magnitude's lower is −upper); none for StationCount.
    std::optional<double> lower, upper;
    LimitStatus status = LimitStatus::Unconfirmed;
    std::string source;  // the standard, and the clause when known
};

// The limit of M_Δ or M_W.
struct ErrorLimit {
    double maxMm = 0;
    LimitStatus status = LimitStatus::Unconfirmed;
    std::string source;
};

struct CheckReport {
    std::string standard;  // the limits' name, "二等" (山区) …
    int sections = 0;      // with stations
    int stations = 0;
    std::vector<Finding> findings;  // by section, then by line
    Precision precision;
    std::optional<ErrorLimit> randomErrorLimit, totalErrorLimit;  // none when the limits give none
    // Stations the level's own heights contradict (filled by who has the text).
    std::vector<InstrumentDisagreement> instrument;
};

CheckReport checkSections(const std::vector<Section>& sections, const Standard& standard);

// A forward/return pair of sections (legsOf) as a book's summary prints it, over its
// limit or not: Σh forward + Σh return and the limit for the pair's mean length.
struct PairDiscrepancy {
    int forward = 0, back = 0;  // indices in the sections
    double valueMm = 0;
    std::optional<double> limitMm;  // none when the standard sets none
};
std::vector<PairDiscrepancy> pairDiscrepancies(const std::vector<Section>& sections, const Standard& standard);

}  // namespace levara::leveling
