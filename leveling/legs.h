#pragma once
// The legs of a text's leveling and the loops they close, computed once for the
// checks, the precision assessment and the 高差配赋表. A leg is a section with
// stations, or a forward/return pair of sections (two sections between the same
// points in opposite directions) taken as their mean. A loop's misclosure is summed in
// units of 0.01 mm, as the 高差配赋表 shows the height differences.
#include <cstdint>
#include <string>
#include <vector>

#include "leveling/sections.h"
#include "records/records.h"

namespace levara::leveling {

// Units of 0.01 mm (0.00001 m).
using HundredthsOfMm = std::int64_t;
inline constexpr double kHundredthsOfMmPerMetre = 100000;
// A value in metres to the nearest 0.01 mm, halves away from zero.
HundredthsOfMm toHundredthsOfMm(double metres);
double toMetres(HundredthsOfMm value);

// The largest height, known or measured, and the largest section height difference
// Levara takes, in metres: a physical bound (the Earth's relief spans some 20 km) far
// below the 9e10 m up to which a double holds every 0.01 mm exactly, so that sums of
// millions of sections stay exact in HundredthsOfMm. Beyond it a value is refused.
inline constexpr double kLargestHeightM = 1e7;
// The bound as messages quote it.
inline constexpr const char* kLargestHeightText = "10000000";
// Whether a height or height difference is within kLargestHeightM.
bool heightInRange(double metres);
// "the height "<text>" is beyond ±<bound> m: ...", for messages.
Message heightOutOfRange(std::string_view text);

// The point names of a section as a route uses them: without the blanks the level pads
// them with.
std::string pointName(std::string_view window);

struct Leg {
    int forward = -1;  // its section's index in the text's sections
    int back = -1;     // a pair's return section; -1 for one section
    // The earlier leg (index in the legs) that this one measures again between the
    // same points in the same direction; -1 when it is the first.
    int repeats = -1;
    std::string from, to;         // point names as a route uses them (pointName)
    LineNumber firstLine;         // of the forward section
    LineNumber lastLine;          // of the forward section, or of a pair's return section
    double lengthKm = 0;          // a pair's mean
    double stations = 0;          // a pair's mean may end in .5
    HundredthsOfMm measured = 0;  // the height difference, a pair's mean of forward and −return
    // The forward section's file (Section::file).
    const std::filesystem::path* file = nullptr;

    bool pair() const { return back >= 0; }
};

// The leg of one section, the index-th of the text's. Throws InputError naming the
// section's lines when its height difference is beyond kLargestHeightM.
Leg legOf(const Section& section, int index);

// The legs of the sections with stations, in the text's order, a pair at its forward
// section. Each section pairs with the first later one the other way round that is
// not paired yet; a section from a point back to itself pairs with none.
std::vector<Leg> legsOf(const std::vector<Section>& sections);

struct LoopLeg {
    std::size_t leg = 0;  // index in the legs
    bool along = true;    // run from its from to its to; false: against it
};

struct Loop {
    std::vector<LoopLeg> legs;      // in order round the loop
    std::string name;               // its points in order, "A–B–C–A"; one line's, its point
    std::size_t closing = 0;        // the leg that closes it, latest in the text
    double lengthKm = 0;            // F, the perimeter
    HundredthsOfMm misclosure = 0;  // W: Σ height differences round the loop
};

// The loops of the legs, the re-measured ones left out. Legs that follow each other
// as one route back to its start make that one loop, as the 高差配赋表 closes it.
// Otherwise the loops are a fundamental cycle basis of the legs' graph: the legs in
// the text's order span a forest, and each leg that joins two points already joined
// closes one loop with the forest's path between them; a leg from a point to itself
// is a loop alone. The count is the graph's cycle rank, each loop independent.
std::vector<Loop> loopsOf(const std::vector<Leg>& legs);

// The loop of a route whose legs follow each other and end at its start.
Loop routeLoop(const std::vector<Leg>& legs);

}  // namespace levara::leveling
