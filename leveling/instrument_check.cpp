#include "leveling/instrument_check.h"

#include <algorithm>
#include <cmath>
#include <optional>

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

// The first height the level wrote in positions (from, to), 1-based, of lines.
std::optional<LevelHeight> heightBetween(const TextLines& lines, int from, int to)
{
    for (int position = from + 1; position < to && position <= int(lines.size()); ++position)
        if (const std::optional<LevelHeight> height = levelHeight(lines[std::size_t(position - 1)]))
            return height;
    return std::nullopt;
}

// The level's height nearest before a section's first station, after its start.
std::optional<LevelHeight> startHeight(const TextLines& lines, int before)
{
    for (int position = before - 1; position >= 1; --position) {
        const std::string_view text = lines[std::size_t(position - 1)];
        if (const std::optional<LevelHeight> height = levelHeight(text))
            return height;
        if (!text.empty() && MeasurementLine(text).startTag() == "Start-Line")
            break;
    }
    return std::nullopt;
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
    std::vector<InstrumentDisagreement> found;
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const std::vector<Station>& stations = sections[s].stations;
        if (stations.empty())
            continue;
        std::optional<LevelHeight> before = startHeight(lines, firstPosition(stations.front().readings));
        for (std::size_t k = 0; k < stations.size(); ++k) {
            const Station& station = stations[k];
            const int next = k + 1 < stations.size() ? firstPosition(stations[k + 1].readings) : int(lines.size()) + 1;
            const std::optional<LevelHeight> after = heightBetween(lines, lastPosition(station.readings), next);
            if (before && after) {
                const double step = after->value - before->value;
                // One unit of the last digit, and what binary fractions add to it.
                const double tolerance = std::max(before->lastDigit, after->lastDigit) * (1 + 1e-6);
                if (std::abs(station.meanHeightDifference - step) > tolerance)
                    found.push_back({int(s), station.number, station.readings.firstLine(), station.readings.fore1.point,
                                     station.meanHeightDifference, step});
            }
            before = after;
        }
    }
    return found;
}

}  // namespace levara::leveling
