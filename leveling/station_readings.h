#pragma once
// The lines of a text as the stations are read from them, one station's readings,
// and the reading of a station's lines as a whole.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.h"

namespace levara::leveling {

// A line of the text being read, with the number messages give it (TextLines::number:
// its line in the text the user sees, or in the file it came from) and its place in
// the text (from 1). The return book reads the lines last first, so both may run down.
struct NumberedLine {
    std::string_view text;
    LineNumber number;
    int position = 0;
    // Its place among the lines the leveling filter keeps, where a station's lines must
    // follow one another; 0 when the lines read are the text's own.
    int keptPosition = 0;
};
using LineList = std::vector<NumberedLine>;

// The numbers messages give the text's first and last lines (TextLines::number); 1
// for an empty text.
LineNumber firstLineNumber(const TextLines& lines);
LineNumber lastLineNumber(const TextLines& lines);

// All lines in order, empty ones included.
LineList numberedLines(const TextLines& lines);
// The lines the leveling filter keeps (records/filters.h), each as often as it keeps
// it and numbered as in the text: the text as "水准线路" would leave it, whatever it holds.
LineList levelingFilterLines(const TextLines& lines);
// The non-empty lines, last first: the reversed work file as the return book reads it.
LineList reversedNonEmptyLines(const TextLines& lines);

// One reading on a staff, as its line holds it: views into the text's lines, and
// that line's number.
struct StaffReading {
    std::string_view point;
    std::string_view distance;
    std::string_view reading;
    LineNumber line;
    int position = 0;     // of the line in the text
    int repetitions = 0;  // the readings the level averaged into it; 0 when the line records none
};

// The four readings of a station: the first and second on the back staff and on
// the fore staff; and, in the books that alternate, the order they were observed in
// ("后前前后", "前后后前"), for the remarks.
struct StationReadings {
    StaffReading back1, back2, fore1, fore2;
    std::string_view order;

    // The lowest line number of its readings (of back1 and fore1 in a BF station):
    // it names the station whichever way its lines were read.
    LineNumber firstLine() const;
};

// B1 is back1, F2 fore2, and so on.
enum class Reading { B1, B2, F1, F2 };
// Which reading each of a station's lines is, in file order.
using LineOrder = std::array<Reading, 4>;

// How a station is named in messages. book and order are message sources
// (QT_TRANSLATE_NOOP), nested in the station's description.
struct StationName {
    const char* book = nullptr;  // nullptr for a single book, else "forward book", "return book"
    int number = 0;              // station number in its book; 0 for a station passed over
    LineNumber firstLine;
    const char* order = nullptr;  // for a station passed over: "back-first", "fore-first"
};

// Whether the line, when not empty, has a reading tag (field 3) equal to tag.
bool hasTag(const NumberedLine& line, std::string_view tag);
// A line that starts a station in the books that take "Rb" and "Rf" alike.
bool isReadingLine(const NumberedLine& line);

// Checks that lines[first] and the count-1 lines after it make a whole station:
// all there, following one another without an empty line, each with fields 0 to 4.
// Throws InputError naming the offending line and the station.
void checkStationLines(const LineList& lines, std::size_t first, std::size_t count, const StationName& name);

// The staffs a station's count lines from lines[first] were recorded on, one letter
// a line: B for "Rb", F for "Rf", ? for any other tag ("BFFB").
std::string recordedOrder(const LineList& lines, std::size_t first, std::size_t count);
// Throws OrderContradicted naming the station when its lines, recorded as recordedOrder says,
// contradict what the book reads them as (bookOrder, one letter a line: "BBFF"): a
// back reading booked as a fore reading, or the reverse.
void checkRecordedOrder(const LineList& lines, std::size_t first, std::string_view bookOrder, const StationName& name);

// Fills the reading's slices from a checked station line, requiring its reading
// and distance to be numbers as typed input takes them.
void takeReading(StationReadings& station, Reading reading, const NumberedLine& line, const StationName& name);

// A station of four lines from lines[first], checked and filled by order.
StationReadings readStation(const LineList& lines, std::size_t first, const LineOrder& order, const StationName& name);
// The same for lines that have passed checkStationLines already.
StationReadings readCheckedStation(const LineList& lines, std::size_t first, const LineOrder& order,
                                   const StationName& name);
// The same, held first to the book's order as checkRecordedOrder holds it: each line
// is cut into fields once for both.
StationReadings readRecordedStation(const LineList& lines, std::size_t first, const LineOrder& order,
                                    std::string_view bookOrder, const StationName& name);

// The fault of a station, as every station's message names it: the station, then
// the problem; at line.
InputError stationError(LineNumber line, const StationName& name, Message problem);

// Where each station of a line book starts, found the way those books search: every
// "Rb" or "Rf" line starts a station of lineCount lines, whatever the tags of the lines
// after it; anything else between stations is passed over. Checks every station whole.
struct StationStart {
    std::size_t index;  // into the lines
    StationName name;
};
std::vector<StationStart> findLineBookStations(const LineList& lines, std::size_t lineCount);

}  // namespace levara::leveling
