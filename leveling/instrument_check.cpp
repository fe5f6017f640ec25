#include "leveling/instrument_check.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace levara::leveling {

namespace {

// A height the level wrote: an accepted row with a "Z" and no reading.
struct LevelHeight {
    double value = 0;
    double lastDigit = 0;  // one unit of its last decimal, m
};

std::optional<LevelHeight> levelHeight(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const MeasurementLine line(text);
    if (line.isTextRecord() || line.rejected() || line.heightTag() != "Z" || !line.readingTag().empty())
        return std::nullopt;
    std::string_view height = line.height();
    height = height.substr(0, height.find(' '));
    const std::optional<double> value = typedNumber(height);
    if (!value)
        return std::nullopt;
    const std::size_t point = height.find('.');
    const int decimals = point == std::string_view::npos ? 0 : int(height.size() - point - 1);
    return LevelHeight{*value, std::pow(10.0, -decimals)};
}

int lastPosition(const StationReadings& readings)
{
    int last = 0;
    for (const StaffReading* reading : {&readings.back1, &readings.back2, &readings.fore1, &readings.fore2})
        last = std::max(last, reading->position);
    return last;
}

int firstPosition(const StationReadings& readings)
{
    int first = readings.back1.position;
    for (const StaffReading* reading : {&readings.back2, &readings.fore1, &readings.fore2})
        if (reading->position > 0)
            first = std::min(first, reading->position);
    return first;
}

// A height the level wrote and its line's position (1-based) in the text.
struct PlacedHeight {
    LevelHeight height;
    int position = 0;
};

// The first height the level wrote in positions (from, to), 1-based, of lines.
std::optional<PlacedHeight> heightBetween(const TextLines& lines, int from, int to)
{
    for (int position = from + 1; position < to && position <= int(lines.size()); ++position)
        if (const std::optional<LevelHeight> height = levelHeight(lines[std::size_t(position - 1)]))
            return PlacedHeight{*height, position};
    return std::nullopt;
}

// The level's height nearest before a section's first station, after its start.
std::optional<PlacedHeight> startHeight(const TextLines& lines, int before)
{
    for (int position = before - 1; position >= 1; --position) {
        const std::string_view text = lines[std::size_t(position - 1)];
        if (const std::optional<LevelHeight> height = levelHeight(text))
            return PlacedHeight{*height, position};
        if (!text.empty() && MeasurementLine(text).startTag() == "Start-Line")
            break;
    }
    return std::nullopt;
}

// The GSI block address a converted line records in field 1 ("Adr   108"), when it
// records one.
std::optional<int> addressOf(std::string_view text)
{
    if (!text.starts_with("GSI-"))
        return std::nullopt;
    std::string_view field = stripBlanks(MeasurementLine(text).field(1));
    if (!field.starts_with("Adr"))
        return std::nullopt;
    field = stripBlanks(field.substr(3));
    int address = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), address);
    if (error != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return address;
}

// Addresses skipped by more than two between consecutive lines of positions from to
// to (1-based, inclusive): the addresses either side.
std::optional<std::pair<int, int>> addressGap(const TextLines& lines, int from, int to)
{
    std::optional<int> previous;
    for (int position = std::max(from, 1); position <= to && position <= int(lines.size()); ++position) {
        const std::optional<int> address = addressOf(lines[std::size_t(position - 1)]);
        if (!address)
            continue;
        if (previous && *address > *previous + 2)
            return std::pair{*previous, *address};
        previous = address;
    }
    return std::nullopt;
}

// The station count of the KD2 row in positions (from, to), 1-based, before any
// Start-Line record: the first word after the point's window when a word follows it
// (the line number); 0 without one.
int levelStationCount(const TextLines& lines, int from, int to)
{
    for (int position = from + 1; position < to && position <= int(lines.size()); ++position) {
        const std::string_view text = lines[std::size_t(position - 1)];
        if (text.empty())
            continue;
        const MeasurementLine line(text);
        if (line.startTag() == "Start-Line")
            break;
        const std::string_view block = stripBlanks(line.field(2));
        if (!block.starts_with("KD2"))
            continue;
        const std::string_view words = stripBlanks(slice(line.field(2), 13, line.field(2).size()));
        const std::size_t blank = words.find(' ');
        if (blank == std::string_view::npos)
            return 0;
        int count = 0;
        const auto [end, error] = std::from_chars(words.data(), words.data() + blank, count);
        return error == std::errc() && end == words.data() + blank ? count : 0;
    }
    return 0;
}

}  // namespace

bool holdsLevelHeights(const TextLines& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (levelHeight(lines[i]))
            return true;
    return false;
}

std::vector<InstrumentDisagreement> instrumentDisagreements(const std::vector<Section>& sections,
                                                            const TextLines& lines)
{
    using Reason = InstrumentDisagreement::Reason;
    std::vector<InstrumentDisagreement> found;
    const int end = int(lines.size()) + 1;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const std::vector<Station>& stations = sections[s].stations;
        if (stations.empty())
            continue;
        int nextSection = end;
        for (std::size_t t = s + 1; t < sections.size() && nextSection == end; ++t)
            if (!sections[t].stations.empty())
                nextSection = firstPosition(sections[t].stations.front().readings);
        const int counted = levelStationCount(lines, lastPosition(stations.back().readings), nextSection);
        int missing = std::max(counted - int(stations.size()), 0);
        std::optional<PlacedHeight> before = startHeight(lines, firstPosition(stations.front().readings));
        for (std::size_t k = 0; k < stations.size(); ++k) {
            const Station& station = stations[k];
            const int last = lastPosition(station.readings);
            const int next = k + 1 < stations.size() ? firstPosition(stations[k + 1].readings) : end;
            const std::optional<PlacedHeight> after = heightBetween(lines, last, next);
            if (before && after) {
                const double step = after->height.value - before->height.value;
                // One unit of the last digit, and what binary fractions add to it.
                const double tolerance = std::max(before->height.lastDigit, after->height.lastDigit) * (1 + 1e-6);
                if (std::abs(station.meanHeightDifference - step) > tolerance) {
                    InstrumentDisagreement& d = found.emplace_back();
                    d.section = int(s);
                    d.station = station.number;
                    d.line = station.readings.firstLine();
                    d.point = station.readings.fore1.point;
                    d.heightDifference = station.meanHeightDifference;
                    d.instrument = nineDecimals(step);
                    if (const auto gap = addressGap(lines, before->position, last)) {
                        d.reason = Reason::AddressGap;
                        d.gapFrom = gap->first;
                        d.gapTo = gap->second;
                    } else if (missing > 0) {
                        --missing;
                        d.reason = Reason::StationCount;
                        d.levelStations = counted;
                        d.fileStations = int(stations.size());
                    }
                }
            }
            before = after;
        }
    }
    return found;
}

}  // namespace levara::leveling
