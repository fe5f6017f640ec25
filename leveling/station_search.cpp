#include "leveling/station_search.h"

#include <string_view>

namespace levara::leveling {

namespace {

// A BF station: a back line and the line after it.
constexpr std::size_t kBfStationLines = 2;

constexpr LineOrder kBackFirst = {Reading::B1, Reading::F1, Reading::F2, Reading::B2};
constexpr LineOrder kForeFirst = {Reading::F1, Reading::B1, Reading::B2, Reading::F2};
// The return book reads a fore-first station last line first and books the observed
// fore staff in the back row.
constexpr LineOrder kReturnBookOrder = {Reading::B2, Reading::F2, Reading::F1, Reading::B1};

const char* const kBackFirstName = QT_TRANSLATE_NOOP("levara", "back-first");
const char* const kForeFirstName = QT_TRANSLATE_NOOP("levara", "fore-first");
// The order of a station's staffs as observed, for the remarks.
constexpr std::string_view kBackFirstMark = "后前前后";
constexpr std::string_view kForeFirstMark = "前后后前";

// How a book takes the stations that one tag opens.
struct StationKind {
    std::string_view tag;
    const char* order;  // "back-first", "fore-first", for messages
    bool written;
    LineOrder assignment;  // for a written station
    std::string_view mark;
    std::string_view recorded;  // the staffs of its lines as recorded (recordedOrder)
};

// The search of the alternating books: a line tagged first.tag opens a station; then
// the line held last (that station's fourth line, or the line itself) is tested for
// second.tag, which opens a station too. Stations not written are still checked whole.
std::vector<StationReadings> findStations(const LineList& lines, const char* book, const StationKind& first,
                                          const StationKind& second, bool asRecorded = false)
{
    std::vector<StationReadings> stations;
    // Stations of either kind so far: a contradicted one is named as the aBFFB book
    // numbers it, in whichever book's search it is found.
    int taken = 0;
    auto take = [&](std::size_t at, const StationKind& kind) {
        StationName name{book, 0, lines[at].number, kind.order};
        const StationName aBffbName{nullptr, ++taken, lines[at].number, kind.order};
        if (!kind.written) {
            checkStationLines(lines, at, kind.assignment.size(), name);
            if (asRecorded)
                checkRecordedOrder(lines, at, kind.recorded, aBffbName);
            return;
        }
        name.number = int(stations.size() + 1);
        checkStationLines(lines, at, kind.assignment.size(), name);
        if (asRecorded)
            checkRecordedOrder(lines, at, kind.recorded, aBffbName);
        stations.push_back(readCheckedStation(lines, at, kind.assignment, name));
        stations.back().order = kind.mark;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (hasTag(lines[i], first.tag)) {
            take(i, first);
            i += first.assignment.size() - 1;
        }
        if (hasTag(lines[i], second.tag)) {
            take(i, second);
            i += second.assignment.size() - 1;
        }
    }
    return stations;
}

LineOrder lineOrder(ObservationOrder order)
{
    switch (order) {
    case ObservationOrder::BBFF: return {Reading::B1, Reading::B2, Reading::F1, Reading::F2};
    case ObservationOrder::BFBF: return {Reading::B1, Reading::F1, Reading::B2, Reading::F2};
    default: break;
    }
    return {Reading::B1, Reading::F1, Reading::F2, Reading::B2};
}

}  // namespace

const char* const kForwardBook = QT_TRANSLATE_NOOP("levara", "forward book");
const char* const kReturnBook = QT_TRANSLATE_NOOP("levara", "return book");

std::vector<StationReadings> lineBookStations(const LineList& lines, ObservationOrder order, bool asRecorded)
{
    const LineOrder assignment = lineOrder(order);
    const std::vector<StationStart> starts = findLineBookStations(lines, assignment.size());
    std::vector<StationReadings> stations;
    stations.reserve(starts.size());
    for (const StationStart& start : starts)  // checked whole by the search
        stations.push_back(asRecorded
                               ? readRecordedStation(lines, start.index, assignment, orderName(order), start.name)
                               : readCheckedStation(lines, start.index, assignment, start.name));
    return stations;
}

std::vector<StationReadings> bfBookStations(const LineList& lines, bool asRecorded)
{
    std::vector<StationReadings> stations;
    // The line after a station's first line is its fore reading whatever its tag.
    for (const StationStart& start : findLineBookStations(lines, kBfStationLines)) {
        if (asRecorded)
            checkRecordedOrder(lines, start.index, orderName(ObservationOrder::BF), start.name);
        StationReadings& station = stations.emplace_back();
        takeReading(station, Reading::B1, lines[start.index], start.name);
        takeReading(station, Reading::F1, lines[start.index + 1], start.name);
    }
    return stations;
}

std::vector<StationReadings> alternatingBookStations(const LineList& lines, bool asRecorded)
{
    return findStations(lines, nullptr, {"Rb", kBackFirstName, true, kBackFirst, kBackFirstMark, "BFFB"},
                        {"Rf", kForeFirstName, true, kForeFirst, kForeFirstMark, "FBBF"}, asRecorded);
}

std::vector<StationReadings> twoWayForwardStations(const LineList& lines, bool asRecorded)
{
    return findStations(lines, kForwardBook, {"Rb", kBackFirstName, true, kBackFirst, kBackFirstMark, "BFFB"},
                        {"Rf", kForeFirstName, false, kForeFirst, {}, "FBBF"}, asRecorded);
}

std::vector<StationReadings> twoWayReturnStations(const LineList& reversed)
{
    // The return book books a fore-first station's staffs swapped, and marks the
    // order as the level recorded it.
    return findStations(reversed, kReturnBook, {"Rf", kForeFirstName, true, kReturnBookOrder, kForeFirstMark, "FBBF"},
                        {"Rb", kBackFirstName, false, kBackFirst, {}, "BFFB"});
}

}  // namespace levara::leveling
