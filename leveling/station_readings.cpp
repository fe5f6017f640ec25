#include "leveling/station_readings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "leveling/order_contradicted.h"
#include "records/records.h"

namespace levara::leveling {

namespace {

// A station line is read up to its distance, field 4.
constexpr std::size_t kStationFields = 5;

Message emptyLineInside(std::size_t count)
{
    return Message(QT_TRANSLATE_NOOP("levara", "empty line inside the station: its %1 lines must follow one another"),
                   count);
}

Message describe(const StationName& name)
{
    if (name.number == 0)
        return Message(QT_TRANSLATE_NOOP("levara", "the %1 station starting on line %2 (passed over by the %3)"),
                       Message(name.order), name.firstLine, Message(name.book));
    if (name.book)
        return Message(QT_TRANSLATE_NOOP("levara", "station %1 of the %2, starting on line %3"), name.number,
                       Message(name.book), name.firstLine);
    return Message(QT_TRANSLATE_NOOP("levara", "station %1, starting on line %2"), name.number, name.firstLine);
}

[[noreturn]] void fail(LineNumber line, const StationName& name, Message problem)
{
    throw stationError(line, name, std::move(problem));
}

// The messages of one field of a station line.
struct FieldMessages {
    const char* empty;
    const char* notANumber;  // %1: the field as typed
    const char* tooLarge;    // %1: the field as typed, %2 the bound
};

const FieldMessages kReadingMessages = {
    QT_TRANSLATE_NOOP("levara", "the reading is empty"),
    QT_TRANSLATE_NOOP("levara", "the reading \"%1\" is not a number"),
    QT_TRANSLATE_NOOP("levara", "the reading \"%1\" is beyond ±%2 m, more than any level reads")};
const FieldMessages kDistanceMessages = {
    QT_TRANSLATE_NOOP("levara", "the distance is empty"),
    QT_TRANSLATE_NOOP("levara", "the distance \"%1\" is not a number"),
    QT_TRANSLATE_NOOP("levara", "the distance \"%1\" is beyond ±%2 m, more than any level reads")};

// A physical bound, far above any staff reading or sight a level takes: a section's
// sums stay within what a double holds to 0.01 mm and the route's fixed point carries
// (leveling/route.h), so no huge value turns into a wrong number.
constexpr double kLargestValue = 1e6;

std::string_view checkedNumber(std::string_view slice, const FieldMessages& messages, LineNumber line,
                               const StationName& name)
{
    if (slice.empty())
        fail(line, name, Message(messages.empty));
    const std::optional<double> number = typedNumber(slice);
    if (!number)
        fail(line, name, Message(messages.notANumber, slice));
    if (!(std::abs(*number) <= kLargestValue))
        fail(line, name, Message(messages.tooLarge, slice, "1000000"));
    return slice;
}

}  // namespace

InputError stationError(LineNumber line, const StationName& name, Message problem)
{
    return InputError(line, Message(QT_TRANSLATE_NOOP("levara", "%1: %2"), describe(name), std::move(problem)));
}

LineNumber StationReadings::firstLine() const
{
    LineNumber first = std::min(back1.line, fore1.line);
    for (const StaffReading* second : {&back2, &fore2})
        if (second->line)
            first = std::min(first, second->line);
    return first;
}

LineNumber firstLineNumber(const TextLines& lines) { return lines.empty() ? LineNumber(1) : lines.number(0); }

LineNumber lastLineNumber(const TextLines& lines)
{
    return lines.empty() ? LineNumber(1) : lines.number(lines.size() - 1);
}

LineList numberedLines(const TextLines& lines)
{
    LineList list;
    list.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        list.push_back({lines[i], lines.number(i), int(i + 1)});
    return list;
}

LineList levelingFilterLines(const TextLines& lines)
{
    LineList list;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int copies = copiesKept(RecordFilter::Leveling, MeasurementLine(lines[i]));
        for (int copy = 0; copy < copies; ++copy)
            list.push_back({lines[i], lines.number(i), int(i + 1), int(list.size() + 1)});
    }
    return list;
}

LineList reversedNonEmptyLines(const TextLines& lines)
{
    LineList list;
    for (std::size_t i = lines.size(); i-- > 0;)
        if (!lines[i].empty())
            list.push_back({lines[i], lines.number(i), int(i + 1)});
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

namespace {

// Nothing but empty lines from line from on: the text's end, as a work file ends in
// one more line end.
bool onlyEmptyFrom(const LineList& lines, std::size_t from)
{
    return std::all_of(lines.begin() + std::ptrdiff_t(from), lines.end(),
                       [](const NumberedLine& line) { return line.text.empty(); });
}

}  // namespace

void checkStationLines(const LineList& lines, std::size_t first, std::size_t count, const StationName& name)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (first + i >= lines.size() || (lines[first + i].text.empty() && onlyEmptyFrom(lines, first + i)))
            fail(lines[first].number, name,
                 Message(QT_TRANSLATE_NOOP("levara", "the text ends inside the station: it has %1 of its %2 lines"), i,
                         count));
        const NumberedLine& line = lines[first + i];
        // The reversed lines leave empty ones out; a gap in the numbers is where one stood.
        if (i > 0) {
            const NumberedLine& previous = lines[first + i - 1];
            // The filter's lines follow one another whatever it left out between them.
            const int step = line.keptPosition != 0 ? line.keptPosition - previous.keptPosition
                                                    : std::abs(line.position - previous.position);
            if (step != 1)
                fail(line.position > previous.position ? previous.number.next() : previous.number.previous(), name,
                     emptyLineInside(count));
        }
        if (line.text.empty())
            fail(line.number, name, emptyLineInside(count));
        const MeasurementLine fields(line.text);
        if (fields.fieldCount() < kStationFields)
            fail(line.number, name,
                 Message(QT_TRANSLATE_NOOP("levara",
                                           "the line has %1 fields; a station line needs fields 0 to 4 (point, "
                                           "reading, distance)"),
                         fields.fieldCount()));
    }
}

namespace {

// The staff a line was recorded on: B for "Rb", F for "Rf", ? for any other tag.
char recordedStaff(const MeasurementLine& fields)
{
    const std::string_view tag = fields.hasField(3) ? fields.readingTag() : std::string_view();
    return tag == "Rb" ? 'B' : tag == "Rf" ? 'F' : '?';
}

void checkOrder(std::string_view recorded, std::string_view bookOrder, const StationName& name)
{
    for (std::size_t i = 0; i < recorded.size(); ++i)
        if (recorded[i] != '?' && recorded[i] != bookOrder[i])
            throw OrderContradicted(
                name.firstLine,
                Message(QT_TRANSLATE_NOOP("levara", "%1: %2"), describe(name),
                        Message(QT_TRANSLATE_NOOP("levara",
                                                  "its staffs were recorded in the order %1, which the book, reading "
                                                  "%2, contradicts; save the book of the order recorded"),
                                std::string(recorded), bookOrder)));
}

void takeFields(StationReadings& station, Reading reading, const NumberedLine& line, const MeasurementLine& fields,
                const StationName& name)
{
    const std::string_view value = checkedNumber(fields.reading(), kReadingMessages, line.number, name);
    const std::string_view distance = checkedNumber(fields.distance(), kDistanceMessages, line.number, name);
    const std::string_view repetitions = fields.repetitions();
    const StaffReading taken{fields.pointNumber(), distance,      value,
                             line.number,          line.position, repetitions.empty() ? 0 : repetitions[0] - '0'};
    switch (reading) {
    case Reading::B1: station.back1 = taken; break;
    case Reading::B2: station.back2 = taken; break;
    case Reading::F1: station.fore1 = taken; break;
    case Reading::F2: station.fore2 = taken; break;
    }
}

}  // namespace

std::string recordedOrder(const LineList& lines, std::size_t first, std::size_t count)
{
    std::string order;
    for (std::size_t i = first; i < first + count && i < lines.size(); ++i)
        order += lines[i].text.empty() ? '?' : recordedStaff(MeasurementLine(lines[i].text));
    return order;
}

void checkRecordedOrder(const LineList& lines, std::size_t first, std::string_view bookOrder, const StationName& name)
{
    checkOrder(recordedOrder(lines, first, bookOrder.size()), bookOrder, name);
}

void takeReading(StationReadings& station, Reading reading, const NumberedLine& line, const StationName& name)
{
    takeFields(station, reading, line, MeasurementLine(line.text), name);
}

StationReadings readRecordedStation(const LineList& lines, std::size_t first, const LineOrder& order,
                                    std::string_view bookOrder, const StationName& name)
{
    if (bookOrder.size() != order.size()) {
        checkRecordedOrder(lines, first, bookOrder, name);
        return readCheckedStation(lines, first, order, name);
    }
    // Each line cut into fields once for both: every BFFB export reads every station so.
    std::array<std::optional<MeasurementLine>, std::tuple_size_v<LineOrder>> fields;
    std::string recorded;
    for (std::size_t i = 0; i < order.size(); ++i) {
        fields[i].emplace(lines[first + i].text);
        recorded += recordedStaff(*fields[i]);
    }
    checkOrder(recorded, bookOrder, name);
    StationReadings station;
    for (std::size_t i = 0; i < order.size(); ++i)
        takeFields(station, order[i], lines[first + i], *fields[i], name);
    return station;
}

StationReadings readStation(const LineList& lines, std::size_t first, const LineOrder& order, const StationName& name)
{
    checkStationLines(lines, first, order.size(), name);
    return readCheckedStation(lines, first, order, name);
}

StationReadings readCheckedStation(const LineList& lines, std::size_t first, const LineOrder& order,
                                   const StationName& name)
{
    StationReadings station;
    for (std::size_t i = 0; i < order.size(); ++i)
        takeReading(station, order[i], lines[first + i], name);
    return station;
}

std::vector<StationStart> findLineBookStations(const LineList& lines, std::size_t lineCount)
{
    std::vector<StationStart> starts;
    for (std::size_t i = 0; i < lines.size();) {
        if (!isReadingLine(lines[i])) {
            ++i;
            continue;
        }
        const StationName name{nullptr, int(starts.size() + 1), lines[i].number, nullptr};
        checkStationLines(lines, i, lineCount, name);
        starts.push_back({i, name});
        i += lineCount;
    }
    return starts;
}

}  // namespace levara::leveling
