#pragma once
// What a field book marks when a standard is chosen: each value over its limit in red,
// and the station's remark naming what exceeded. The checks (leveling/checks.h) find
// the exceedances; the books only show them.
#include <string>
#include <unordered_map>
#include <vector>

#include "leveling/leveling.h"

namespace levara::books {

// One bit for each value a book can mark.
enum Exceedance : unsigned {
    kSightLengthExceeded = 1,               // a reading's distance: "视距超限"
    kStaffReadingExceeded = 2,              // a reading, the line-of-sight height: "视线高超限"
    kDistanceDifferenceExceeded = 4,        // the station's d: "视距差超限"
    kDistanceDifferenceSumExceeded = 8,     // Σd: "累积差超限"
    kHeightDifferencesDifferExceeded = 16,  // the station's two height differences: "高差之差超限"
    // The station's height difference against the level's own heights
    // (leveling/instrument_check.h): "与仪器计算不符", or "缺测站" where the level's
    // sums include a station the file lacks.
    kInstrumentDiffers = 32,
    kStationMissing = 64,
};

// The exceedances by text line: a reading's by the line that holds it, a station's
// own (d, Σd, the two height differences, the instrument's) by the station's first line (StationReadings::firstLine).
// The bits of the two kinds differ, so one line may carry both.
struct BookMarks {
    std::unordered_map<int, unsigned> byLine;  // by LineNumber::value

    unsigned at(LineNumber line) const
    {
        const auto found = byLine.find(line.value());
        return found == byLine.end() ? 0 : found->second;
    }
};

// The marks of the findings on stations, and of the stations the level's heights
// contradict, for a book of the same stations.
BookMarks bookMarks(const std::vector<leveling::Finding>& findings,
                    const std::vector<leveling::InstrumentDisagreement>& instrument = {});

// The remark naming the exceedances, joined by "、" in the order of the bits.
std::string exceedanceRemark(unsigned exceeded);

}  // namespace levara::books
