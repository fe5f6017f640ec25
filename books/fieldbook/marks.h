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
// The bits of the two kinds differ, so one line may carry both. A section's findings
// and forward/return pairs by the section's index in the sections checked, for its summary.
struct BookMarks {
    std::unordered_map<int, unsigned> byLine;  // by LineNumber::value
    std::unordered_map<int, std::vector<std::string>> bySection;
    std::unordered_map<int, leveling::PairDiscrepancy> pairsByReturn;  // by the return section's index
    bool evenStations = false;                                         // the standard asks for even counts

    unsigned at(LineNumber line) const
    {
        const auto found = byLine.find(line.value());
        return found == byLine.end() ? 0 : found->second;
    }
    std::vector<std::string> sectionFindings(int section) const
    {
        const auto found = bySection.find(section);
        return found == bySection.end() ? std::vector<std::string>{} : found->second;
    }
    const leveling::PairDiscrepancy* pairReturnedBy(int section) const
    {
        const auto found = pairsByReturn.find(section);
        return found == pairsByReturn.end() ? nullptr : &found->second;
    }
};

// The marks of the findings on stations, and of the stations the level's heights
// contradict, for a book of the same stations, and the findings on sections, for
// their summaries.
BookMarks bookMarks(const std::vector<leveling::Finding>& findings,
                    const std::vector<leveling::InstrumentDisagreement>& instrument = {});

// The marks of a book of these sections held to the standard: bookMarks of their
// checks and of the level's own heights, their forward/return pairs and the
// standard's even-count rule.
BookMarks bookMarks(const std::vector<leveling::Section>& sections, const leveling::Standard& standard,
                    const std::vector<leveling::InstrumentDisagreement>& instrument = {});

// The remark naming the exceedances, joined by "、" in the order of the bits.
std::string exceedanceRemark(unsigned exceeded);

}  // namespace levara::books
