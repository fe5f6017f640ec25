#pragma once
// Hand-made routes: sections of BFFB stations whose length, station count and height
// difference the test chooses. Every sight of a section is length / (2 × stations)
// long; its first station carries the whole height difference.
#include <string>
#include <vector>

#include "leveling/leveling.h"
#include "tests/support/stations.h"

namespace levara::testing {

struct HandSection {
    std::string from, to;
    double heightDifference = 0;  // m
    double length = 0;            // m
    int stations = 1;
};

// The lines of the sections, each from its Start-Line to its End-Line record; the
// first one's start height recorded after its Start-Line record when given.
inline std::string routeText(const std::vector<HandSection>& sections, const std::string& startHeight = {})
{
    std::vector<std::string> lines;
    for (const HandSection& section : sections) {
        std::vector<HandStation> stations = chain(section.stations, section.from, section.to);
        const double sight = section.length / (2 * section.stations);
        for (HandStation& s : stations)
            s.backDistance1 = s.backDistance2 = s.foreDistance1 = s.foreDistance2 = sight;
        for (HandStation& s : stations)
            s.backReading1 = s.backReading2 = s.foreReading1 = s.foreReading2 = 1.5;
        stations.front().backReading1 = stations.front().backReading2 = 1.5 + section.heightDifference;
        std::vector<std::string> part = levelingLine(stations);
        if (&section == &sections.front() && !startHeight.empty())
            part.insert(part.begin() + 1, heightLine(section.from, startHeight));
        lines.insert(lines.end(), part.begin(), part.end());
    }
    return textOfLines(lines);
}

}  // namespace levara::testing
