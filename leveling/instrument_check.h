#pragma once
// The instrument as a check: a digital level writes the height it computed for each
// station's fore point (an M5 "Z" row, a GSI block's word 83, converted to a height
// row). A station whose height difference, as the books compute it, differs from
// the step between the level's heights by more than one unit of their last digit is
// listed with both values. Where the level's sums visibly include a station the file
// lacks, that station is one warning instead: a gap in the GSI block addresses before it,
// or a station count at the line's end larger than the stations the file holds.
#include <string_view>
#include <vector>

#include "leveling/sections.h"

namespace levara::leveling {

struct InstrumentDisagreement {
    enum class Reason {
        Differs,       // the step differs from the station's height difference
        AddressGap,    // it differs, and addresses are missing before the station
        StationCount,  // it differs, and the level counts more stations than the file holds
    };
    Reason reason = Reason::Differs;
    int section = 0;  // its index in the sections
    int station = 0;  // its number in its section
    LineNumber line;  // the station's first line (StationReadings::firstLine)
    std::string_view point;
    double heightDifference = 0;              // the books', m
    double instrument = 0;                    // the step between the level's heights, m
    int gapFrom = 0, gapTo = 0;               // AddressGap: the addresses either side of the gap
    int levelStations = 0, fileStations = 0;  // StationCount: the level's count, the file's stations
};

// Whether lines hold a height the level computed (an accepted "Z" row without a reading).
bool holdsLevelHeights(const TextLines& lines);

// The stations of sections (read from lines) that the level's heights contradict;
// stations without a height of the level after them, and the one after such a
// station, are not compared. A gap in the GSI block addresses (field 1, "Adr", of lines
// converted from GSI) from the level's height before a station to its last reading
// shows a station missing where more than two addresses are skipped: a station takes
// at least two blocks and the height after it, while an intermediate sight's height
// block, merged into the sight's line, skips one. An M5 file's row addresses are not
// looked at: a reduced text lacks the rows of rejected and repeated readings. The station count is the first number
// after the point on the KD2 row after a section's last station (DiNi M5 "KD2 … 14 1" rows, read by words; no public
// description of its place was found).
std::vector<InstrumentDisagreement> instrumentDisagreements(const std::vector<Section>& sections,
                                                            const TextLines& lines);

}  // namespace levara::leveling
