#pragma once
// The three filters that cut the text down to the lines one kind of survey needs.
#include <string>

#include "records/line_origins.h"
#include "records/measurement_line.h"
#include "records/text_lines.h"

namespace levara {

enum class RecordFilter {
    Leveling,            // BFFB, "水准线路": line markers, accepted Rb/Rf readings, height lines
    IntermediateSights,  // rrz, "测中间点": height lines, accepted "R " and "RZ" readings
    SinglePoints,        // dandian, "单点测量": accepted "R " readings
};

// How many copies of the line the filter keeps: one per test it passes, in order.
int copiesKept(RecordFilter filter, const MeasurementLine& line);

// The kept lines, in input order and with their copies, each followed by CR LF.
std::string filterLines(RecordFilter filter, const TextLines& lines);

// The same, and the origin of each kept line (a copy keeps its line's); no origins
// when the lines have none.
struct FilteredLines {
    std::string text;
    LineOrigins origins;
};
FilteredLines filterLines(RecordFilter filter, const TextLines& lines, const LineOrigins& origins);

}  // namespace levara
