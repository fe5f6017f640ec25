#pragma once
// The instrument as a check: a digital level writes the height it computed for each
// station's fore point (an M5 "Z" row, a GSI block's word 83, converted to a height
// row). A station whose height difference, as the books compute it, differs from
// the step between the level's heights by more than one unit of their last digit is
// listed with both values.
#include <string_view>
#include <vector>

#include "leveling/sections.h"

namespace levara::leveling {

struct InstrumentDisagreement {
    int section = 0;  // its index in the sections
    int station = 0;  // its number in its section
    LineNumber line;  // the station's first line (StationReadings::firstLine)
    std::string_view point;
    double heightDifference = 0;  // the books', m
    double instrument = 0;        // the step between the level's heights, m
};

// Whether lines hold a height the level computed (an accepted "Z" row without a reading).
bool holdsLevelHeights(const TextLines& lines);

// The stations of sections (read from lines) that the level's heights contradict;
// stations without a height of the level after them, and the one after such a
// station, are not compared.
std::vector<InstrumentDisagreement> instrumentDisagreements(const std::vector<Section>& sections,
                                                            const TextLines& lines);

}  // namespace levara::leveling
