#pragma once
// Hand-made leveling lines for the checks: BFFB stations whose every distance and
// reading the test chooses, between Start-Line and End-Line records.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/raw_lines.h"

namespace levara::testing {

inline std::string fixed(double value, int decimals)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// One BFFB station: the back and fore points, each staff's two readings and two distances.
struct HandStation {
    std::string back = "A", fore = "B";
    double backReading1 = 1.5, backReading2 = 1.5, foreReading1 = 1.4, foreReading2 = 1.4;
    double backDistance1 = 20, backDistance2 = 20, foreDistance1 = 20, foreDistance2 = 20;
};

// Its four lines in BFFB order: B1, F1, F2, B2.
inline std::vector<std::string> stationLines(const HandStation& s)
{
    return {readingLine(s.back, "Rb", fixed(s.backReading1, 5), fixed(s.backDistance1, 3)),
            readingLine(s.fore, "Rf", fixed(s.foreReading1, 5), fixed(s.foreDistance1, 3)),
            readingLine(s.fore, "Rf", fixed(s.foreReading2, 5), fixed(s.foreDistance2, 3)),
            readingLine(s.back, "Rb", fixed(s.backReading2, 5), fixed(s.backDistance2, 3))};
}

// A line of stations from point `from`, through P1, P2 … to point `to`.
inline std::vector<HandStation> chain(int count, const std::string& from, const std::string& to)
{
    std::vector<HandStation> stations(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        stations[std::size_t(k)].back = k == 0 ? from : "P" + std::to_string(k);
        stations[std::size_t(k)].fore = k == count - 1 ? to : "P" + std::to_string(k + 1);
    }
    return stations;
}

// The lines of a leveling line, its Start-Line record naming method.
inline std::vector<std::string> levelingLine(const std::vector<HandStation>& stations,
                                             const std::string& method = "BFFB")
{
    std::vector<std::string> lines = {startLine(method)};
    for (const HandStation& station : stations)
        for (std::string& line : stationLines(station))
            lines.push_back(std::move(line));
    lines.push_back(endLine());
    return lines;
}

inline std::string textOfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

}  // namespace levara::testing
