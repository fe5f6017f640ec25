#include "books/fieldbook/station.h"

#include <cstdlib>
#include <string>

#include "records/records.h"

namespace levara::books {

namespace {

// A station line is read up to its distance, field 4.
constexpr std::size_t kStationFields = 5;

std::string describe(const StationName& name)
{
    const std::string from = "starting on line " + std::to_string(name.firstLine);
    if (name.number == 0)
        return "the " + std::string(name.order) + " station " + from + " (passed over by the " +
               std::string(name.book) + ")";
    std::string text = "station " + std::to_string(name.number);
    if (!name.book.empty())
        text += " of the " + std::string(name.book);
    return text + ", " + from;
}

[[noreturn]] void fail(int line, const StationName& name, const std::string& problem)
{
    throw InputError(line, describe(name) + ": " + problem);
}

std::string_view checkedNumber(std::string_view slice, const char* what, int line, const StationName& name)
{
    if (slice.empty())
        fail(line, name, std::string("the ") + what + " is empty");
    if (!typedNumber(slice))
        fail(line, name, std::string("the ") + what + " \"" + std::string(slice) + "\" is not a number");
    return slice;
}

}  // namespace

LineList numberedLines(const TextLines& lines)
{
    LineList list;
    list.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        list.push_back({lines[i], int(i + 1)});
    return list;
}

LineList reversedNonEmptyLines(const TextLines& lines)
{
    LineList list;
    for (std::size_t i = lines.size(); i-- > 0;)
        if (!lines[i].empty())
            list.push_back({lines[i], int(i + 1)});
    return list;
}

bool hasTag(const NumberedLine& line, std::string_view tag)
{
    if (line.text.empty())
        return false;
    // A line without field 3 (a header, a note) carries no tag at all.
    const MeasurementLine fields(line.text);
    return fields.hasField(3) && fields.readingTag() == tag;
}

bool isReadingLine(const NumberedLine& line)
{
    if (line.text.empty())
        return false;
    const MeasurementLine fields(line.text);
    return fields.hasField(3) && (fields.readingTag() == "Rb" || fields.readingTag() == "Rf");
}

void checkStationLines(const LineList& lines, std::size_t first, std::size_t count, const StationName& name)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (first + i >= lines.size())
            fail(lines[first].number, name,
                 "the text ends inside the station: it has " + std::to_string(i) + " of its " + std::to_string(count) +
                     " lines");
        const NumberedLine& line = lines[first + i];
        // The reversed lines leave empty ones out; a gap in the numbers is where one stood.
        if (i > 0) {
            const int previous = lines[first + i - 1].number;
            if (std::abs(line.number - previous) != 1)
                fail(previous + (line.number > previous ? 1 : -1), name,
                     "empty line inside the station: its " + std::to_string(count) + " lines must follow one another");
        }
        if (line.text.empty())
            fail(line.number, name,
                 "empty line inside the station: its " + std::to_string(count) + " lines must follow one another");
        const MeasurementLine fields(line.text);
        if (fields.fieldCount() < kStationFields)
            fail(line.number, name,
                 "the line has " + std::to_string(fields.fieldCount()) +
                     " fields; a station line needs fields 0 to 4 (point, reading, distance)");
    }
}

void takeReading(Station& station, Reading reading, const NumberedLine& line, const StationName& name)
{
    const MeasurementLine fields(line.text);
    const std::string_view value = checkedNumber(fields.reading(), "reading", line.number, name);
    const std::string_view distance = checkedNumber(fields.distance(), "distance", line.number, name);
    const StaffReading taken{fields.pointNumber(), distance, value};
    switch (reading) {
    case Reading::B1: station.back1 = taken; break;
    case Reading::B2: station.back2 = taken; break;
    case Reading::F1: station.fore1 = taken; break;
    case Reading::F2: station.fore2 = taken; break;
    }
}

Station readStation(const LineList& lines, std::size_t first, const LineOrder& order, const StationName& name)
{
    checkStationLines(lines, first, order.size(), name);
    return readCheckedStation(lines, first, order, name);
}

Station readCheckedStation(const LineList& lines, std::size_t first, const LineOrder& order, const StationName& name)
{
    Station station;
    for (std::size_t i = 0; i < order.size(); ++i)
        takeReading(station, order[i], lines[first + i], name);
    return station;
}

void checkStationFits(const StationName& name)
{
    if (name.number > kMaxStations)
        fail(name.firstLine, name,
             "too many stations for one worksheet: a book holds at most " + std::to_string(kMaxStations) +
                 " stations, so that its summary ends by row " + std::to_string(kLastSheetRow));
}

std::vector<StationStart> findLineBookStations(const LineList& lines, std::size_t lineCount)
{
    std::vector<StationStart> starts;
    for (std::size_t i = 0; i < lines.size();) {
        if (!isReadingLine(lines[i])) {
            ++i;
            continue;
        }
        const StationName name{"", int(starts.size() + 1), lines[i].number, ""};
        checkStationFits(name);
        checkStationLines(lines, i, lineCount, name);
        starts.push_back({i, name});
        i += lineCount;
    }
    return starts;
}

}  // namespace levara::books
