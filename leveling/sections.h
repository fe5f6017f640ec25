#pragma once
// The leveling lines of a text, each from its "Start-Line" record to its "End-Line"
// record (the whole text when it has none), with the stations the books read in them
// (leveling/station.h) and the totals a checker or an adjustment starts from: sums of
// the printed station values, exact. Values are in metres.
// The stations' readings are views into the text's lines, which must outlive them.
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "leveling/observation_order.h"
#include "leveling/station.h"
#include "records/records.h"

namespace levara::leveling {

struct Section {
    LineNumber firstLine{1};      // its Start-Line record, or line 1
    LineNumber lastLine;          // its End-Line record, or its last line
    std::string_view lineName;    // the line number its Start-Line record gives
    std::string_view methodText;  // the method its Start-Line record names
    ObservationOrder order{};     // the order its stations were read in
    std::vector<Station> stations;
    std::string_view startPoint;  // the first station's back point as the book shows it
    std::string_view endPoint;    // the last station's fore point
    double backDistance = 0;      // Σ of the stations' back distances
    double foreDistance = 0;
    double heightDifference = 0;  // Σ of the printed mean height differences
    double sightLength = 0;       // Σ of the printed sight lengths: the section's length
    // The file its lines are numbered in, when the text joins several (TextLines::file).
    const std::filesystem::path* file = nullptr;

    int stationCount() const { return int(stations.size()); }
    double length() const { return sightLength; }
};

// Which of the text's lines the stations are read from.
enum class LinesRead {
    // The lines the leveling filter keeps, whatever the text holds (rejected readings,
    // intermediate sights, the level's results): what the checks and the adjustment
    // hold, the same from a raw text as from its filtered one.
    LevelingFilter,
    // Every line, as a field book reads the text it is given: its marks.
    AsBook,
    // Every line, as a field book reads it, each station held to its recorded staffs:
    // whether a book of the order fits the text before it is written.
    BookAsRecorded,
};

// The text's sections with their stations read in the order each Start-Line record
// names, or in `order` for all when given. Lines before the first Start-Line record
// belong to the first section, lines after an End-Line record to its section.
// A section whose Start-Line record names no method is read in the first order that
// fits its recorded staffs (ordersFitting). Throws InputError naming the line when a
// section with readings names a method Levara does not read, or none and its staffs
// fit no order, and no order is given; when a station cannot be read whole; or
// OrderContradicted when a station's recorded staffs contradict the order it is read
// in (checkRecordedOrder; not with LinesRead::AsBook, a book reads its lines whatever
// their tags).
std::vector<Section> readSections(const TextLines& lines, std::optional<ObservationOrder> order = {},
                                  LinesRead read = LinesRead::LevelingFilter);

// The orders whose books read every station of the text's leveling lines (the lines
// the leveling filter keeps, or with LinesRead::BookAsRecorded every line, as the book
// itself reads them) whole and as the level recorded its staffs ("Rb", "Rf"), the
// likelier first: the books that fit. Empty when none does.
std::vector<ObservationOrder> ordersFitting(const TextLines& lines, LinesRead read = LinesRead::LevelingFilter);

// As the two-way aBFFB book reads them: for each section its forward stations (the
// back-first ones), then its return stations (the fore-first ones, read last first).
// With LinesRead::BookAsRecorded every station the forward search passes, back- or
// fore-first, is held to its recorded staffs as readSections holds them in aBFFB, and
// named alike (OrderContradicted); else (AsBook) the lines are read whatever their tags.
std::vector<Section> readTwoWaySections(const TextLines& lines, LinesRead read = LinesRead::AsBook);

}  // namespace levara::leveling
