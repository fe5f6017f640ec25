#pragma once
// The limits a leveling line is held to: a standard's, from Levara's built-in profiles
// (leveling/profiles/*.json, compiled in), or a project's own from a limits file of
// the same JSON format (the README describes it). Each value carries how well a public
// source confirms it and where it comes from.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace levara::leveling {

// How well a public source confirms a limit: "v" confirmed, "v*" read from a damaged
// or partial copy, "u" not yet confirmed.
enum class LimitStatus { Confirmed, Damaged, Unconfirmed };
std::string_view statusName(LimitStatus status);  // "v", "v*", "u"

struct LimitSource {
    std::string standard;  // e.g. "GB/T 12897-2006"
    std::string clause;
    std::string address;
    std::string title;
};

// One value of a limit with its own status.
struct Bound {
    double value = 0;
    LimitStatus status = LimitStatus::Unconfirmed;
};

// One item's limit. Which fields an item uses is fixed by its key in the file:
// min and max for a range, min for a minimum, max for a magnitude, factor (and
// mountainFactor) for the forms factor·√(km), required for "even".
struct Limit {
    std::optional<Bound> min, max, factor, mountainFactor;
    bool required = false;
    LimitStatus status = LimitStatus::Unconfirmed;
    LimitSource source;
};

struct Limits {
    std::string name;                            // "二等", or the file's own
    std::string standard;                        // what the whole file follows
    std::optional<Limit> sightLength;            // m, each reading's distance
    std::optional<Limit> lineOfSightHeight;      // m, each staff reading
    std::optional<Limit> distanceDifference;     // m, d of a station
    std::optional<Limit> distanceDifferenceSum;  // m, Σd of a section
    std::optional<Limit> heightDifferences;      // mm, a station's two height differences
    std::optional<Limit> forwardReturn;          // mm per √K, K in km
    std::optional<Limit> loopMisclosure;         // mm per √L, L in km
    std::optional<Limit> evenStations;           // stations per section even
    std::optional<Limit> repeatCount;            // readings a digital level averages, min
    std::optional<Limit> remeasured;             // mm per √R: a section measured again less before
    std::optional<Limit> randomError;            // mm, M_Δ per km from the forward/return pairs
    std::optional<Limit> totalError;             // mm, M_W per km from the loops
};

// A standard as chosen: its limits, and whether the mountain forms apply.
struct Standard {
    Limits limits;
    bool mountain = false;
};

// The built-in profiles of digital levels: 1 一等 … 4 四等.
inline constexpr int kFirstOrder = 1, kLastOrder = 4;
Limits builtinLimits(int order);

// Reads a limits file. Throws FileError naming the file and the line (a JSON syntax
// fault) or the JSON path (a value that does not fit the format).
Limits readLimitsFile(const std::filesystem::path& file);
// The same from a file's text; file names it in messages.
Limits parseLimits(std::string_view json, const std::filesystem::path& file);

// The standard with its mountain forms when mountain; throws Error when the limits have none.
Standard chooseStandard(Limits limits, bool mountain);

}  // namespace levara::leveling
