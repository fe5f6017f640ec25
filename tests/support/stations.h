#pragma once
// The one station builder of the tests: a station's raw lines from its sights, in any
// order and with any tags, or a BFFB station whose every reading and distance the test
// chooses; lines of such stations between Start-Line and End-Line records; and their text.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "records/records.h"
#include "tests/support/raw_lines.h"

namespace levara::testing {

// One reading of a station: point, reading, distance.
struct Sight {
    std::string point, reading, distance;
};

// A station's lines in file order, each with its own tag.
inline std::vector<std::string> stationLines(const std::vector<std::pair<std::string, Sight>>& tagged)
{
    std::vector<std::string> lines;
    for (const auto& [tag, sight] : tagged)
        lines.push_back(readingLine(sight.point, tag, sight.reading, sight.distance));
    return lines;
}

// The readings of the worked example: B1, F1, F2, B2.
inline const Sight kB1{"BM1", "1.52345", "30.100"};
inline const Sight kF1{"TP1", "1.41234", "29.500"};
inline const Sight kF2{"TP1", "1.41236", "29.520"};
inline const Sight kB2{"BM1", "1.52349", "30.120"};

// A back-first station observed B1, F1, F2, B2.
inline std::vector<std::string> bffbStation(const Sight& b1, const Sight& f1, const Sight& f2, const Sight& b2)
{
    return stationLines({{"Rb", b1}, {"Rf", f1}, {"Rf", f2}, {"Rb", b2}});
}
// A fore-first station observed F1, B1, B2, F2.
inline std::vector<std::string> fbbfStation(const Sight& f1, const Sight& b1, const Sight& b2, const Sight& f2)
{
    return stationLines({{"Rf", f1}, {"Rb", b1}, {"Rb", b2}, {"Rf", f2}});
}
// The worked example's station.
inline std::vector<std::string> workedStation() { return bffbStation(kB1, kF1, kF2, kB2); }

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
    const auto sight = [](const std::string& point, double reading, double distance) {
        return Sight{point, fixed(reading, 5), fixed(distance, 3)};
    };
    return stationLines({{"Rb", sight(s.back, s.backReading1, s.backDistance1)},
                         {"Rf", sight(s.fore, s.foreReading1, s.foreDistance1)},
                         {"Rf", sight(s.fore, s.foreReading2, s.foreDistance2)},
                         {"Rb", sight(s.back, s.backReading2, s.backDistance2)}});
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

inline void append(std::vector<std::string>& to, const std::vector<std::string>& lines)
{
    to.insert(to.end(), lines.begin(), lines.end());
}

// The lines of a leveling line, its Start-Line record naming method.
inline std::vector<std::string> levelingLine(const std::vector<HandStation>& stations,
                                             const std::string& method = "BFFB")
{
    std::vector<std::string> lines = {startLine(method)};
    for (const HandStation& station : stations)
        append(lines, stationLines(station));
    lines.push_back(endLine());
    return lines;
}

// The lines as a raw file holds them, each ended by CR LF.
inline std::string textOfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

inline TextLines textOf(const std::vector<std::string>& lines) { return TextLines::fromText(textOfLines(lines)); }

}  // namespace levara::testing
