#include "leveling/sections.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

#include "leveling/station_search.h"

namespace levara::leveling {

namespace {

// A part of the text: lines [begin, end) of the numbered lines.
struct Part {
    std::size_t begin = 0, end = 0;
    LineNumber startRecord, endRecord;  // none when absent
    std::string_view lineName, methodText;
};

// Whether field 2 starts with "TO", as MeasurementLine::isTextRecord asks, found
// without cutting the line into fields: most lines are measurements.
bool mayBeTextRecord(std::string_view text)
{
    const std::size_t first = text.find('|');
    if (first == std::string_view::npos)
        return false;
    const std::size_t second = text.find('|', first + 1);
    return second != std::string_view::npos && text.substr(second + 1, 2) == "TO";
}

std::vector<Part> partsOf(const LineList& lines)
{
    std::vector<Part> parts(1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!mayBeTextRecord(lines[i].text))
            continue;
        const MeasurementLine line(lines[i].text);
        if (!line.isTextRecord())
            continue;
        if (line.startTag() == "Start-Line") {
            // Lines before the first record (a heading) belong to its section.
            if (parts.back().startRecord.known() || parts.size() > 1 ||
                std::any_of(lines.begin(), lines.begin() + std::ptrdiff_t(i), isReadingLine)) {
                parts.back().end = i;
                parts.push_back({i, 0, {}, {}, {}, {}});
            }
            parts.back().startRecord = lines[i].number;
            parts.back().lineName = stripBlanks(line.lineNumber());
            parts.back().methodText = stripBlanks(line.observationMethod());
        } else if (line.endTag() == "End-Line" && !parts.back().endRecord) {
            parts.back().endRecord = lines[i].number;
        }
    }
    parts.back().end = lines.size();
    return parts;
}

// asRecorded: read by the leveling filter's rules, where a station read against its
// recorded staffs is refused.
std::vector<StationReadings> stationsOf(const LineList& lines, ObservationOrder order, bool asRecorded)
{
    switch (order) {
    case ObservationOrder::BF: return bfBookStations(lines, asRecorded);
    case ObservationOrder::aBFFB: return alternatingBookStations(lines, asRecorded);
    default: return lineBookStations(lines, order, asRecorded);
    }
}

// The section of the part with its stations' values and sums.
Section computed(const Part& part, ObservationOrder order, std::vector<StationReadings> stations, LineNumber lastLine)
{
    Section section;
    section.firstLine = part.startRecord ? part.startRecord : LineNumber(1);
    section.lastLine = part.endRecord ? part.endRecord : lastLine;
    section.lineName = part.lineName;
    section.methodText = part.methodText;
    section.order = order;
    section.stations = computedStations(std::move(stations), order);
    const StationSums sums = stationSums(section.stations);
    section.backDistance = nineDecimals(sums.backDistance);
    section.foreDistance = nineDecimals(sums.foreDistance);
    section.heightDifference = nineDecimals(sums.heightDifference);
    section.sightLength = nineDecimals(sums.sightLength);
    const bool twice = readsTwice(order);
    if (!section.stations.empty()) {
        // The book's rows show the second reading's point where there is one.
        const StationReadings& first = section.stations.front().readings;
        const StationReadings& last = section.stations.back().readings;
        section.startPoint = twice ? first.back2.point : first.back1.point;
        section.endPoint = twice ? last.fore2.point : last.fore1.point;
    }
    return section;
}

LineList linesOf(const LineList& lines, const Part& part)
{
    return LineList(lines.begin() + std::ptrdiff_t(part.begin), lines.begin() + std::ptrdiff_t(part.end));
}

LineNumber lastLineOf(const LineList& lines, const Part& part)
{
    return part.end > part.begin ? lines[part.end - 1].number : lines.empty() ? LineNumber(1) : lines.back().number;
}

// The orders a line's recorded staffs may be read in, the likelier first: a line of
// back-first stations only is read BFFB rather than aBFFB, BFBF rather than BF.
constexpr std::array<ObservationOrder, 5> kOrdersTried = {ObservationOrder::BFFB, ObservationOrder::BBFF,
                                                          ObservationOrder::BFBF, ObservationOrder::aBFFB,
                                                          ObservationOrder::BF};

// Whether every station of the lines is read whole in order, as the level recorded it.
bool fits(const LineList& lines, ObservationOrder order)
{
    try {
        stationsOf(lines, order, true);
        return true;
    } catch (const InputError&) {
        return false;
    }
}

ObservationOrder orderOf(const LineList& part, const Part& where, std::optional<ObservationOrder> order)
{
    if (order)
        return *order;
    if (const auto named = orderNamed(where.methodText))
        return *named;
    const auto reading = std::find_if(part.begin(), part.end(), isReadingLine);
    if (reading == part.end())
        return ObservationOrder::BFFB;  // no station to read
    // A line that names no method is read in the order its tags show.
    if (where.methodText.empty())
        for (const ObservationOrder tried : kOrdersTried)
            if (fits(part, tried))
                return tried;
    const std::string known = "BFFB, BBFF, BFBF, BF, aBFFB";
    if (where.methodText.empty())
        throw InputError(where.startRecord ? where.startRecord : reading->number,
                         Message(QT_TRANSLATE_NOOP("levara",
                                                   "the leveling line names no observation method, so the order of "
                                                   "its stations is unknown: name one of %1 in its Start-Line "
                                                   "record, or give the order (levara-cli %2 ORDER)"),
                                 known, "--order"));
    throw InputError(where.startRecord,
                     Message(QT_TRANSLATE_NOOP("levara",
                                               "the observation method \"%1\" of the leveling line is none of %2, "
                                               "so the order of its stations is unknown: give the order "
                                               "(levara-cli %3 ORDER)"),
                             where.methodText, known, "--order"));
}

}  // namespace

std::vector<Section> readSections(const TextLines& text, std::optional<ObservationOrder> order, LinesRead read)
{
    const LineList lines = read == LinesRead::LevelingFilter ? levelingFilterLines(text) : numberedLines(text);
    std::vector<Section> sections;
    for (const Part& part : partsOf(lines)) {
        const LineList partLines = linesOf(lines, part);
        const ObservationOrder partOrder = orderOf(partLines, part, order);
        const bool asRecorded = read != LinesRead::AsBook;
        sections.push_back(
            computed(part, partOrder, stationsOf(partLines, partOrder, asRecorded), lastLineOf(lines, part)));
        sections.back().file = text.file();
    }
    return sections;
}

std::vector<ObservationOrder> ordersFitting(const TextLines& text, LinesRead read)
{
    const LineList lines = read == LinesRead::LevelingFilter ? levelingFilterLines(text) : numberedLines(text);
    const std::vector<Part> parts = partsOf(lines);
    std::vector<ObservationOrder> fitting;
    for (const ObservationOrder order : kOrdersTried)
        if (std::all_of(parts.begin(), parts.end(),
                        [&](const Part& part) { return fits(linesOf(lines, part), order); }))
            fitting.push_back(order);
    return fitting;
}

std::vector<Section> readTwoWaySections(const TextLines& text, LinesRead read)
{
    const LineList lines = numberedLines(text);
    std::vector<Section> sections;
    for (const Part& part : partsOf(lines)) {
        const LineList partLines = linesOf(lines, part);
        LineList reversed;
        for (auto line = partLines.rbegin(); line != partLines.rend(); ++line)
            if (!line->text.empty())
                reversed.push_back(*line);
        const LineNumber last = lastLineOf(lines, part);
        sections.push_back(computed(part, ObservationOrder::aBFFB,
                                    twoWayForwardStations(partLines, read == LinesRead::BookAsRecorded), last));
        sections.push_back(computed(part, ObservationOrder::aBFFB, twoWayReturnStations(reversed), last));
    }
    return sections;
}

}  // namespace levara::leveling
