#pragma once
// A Leica GSI-8 or GSI-16 leveling file turned into the raw lines the filters and
// books read, in the order the instrument observed them.
#include <filesystem>
#include <string>
#include <string_view>

#include "records/line_origins.h"
#include "records/text_lines.h"

namespace levara {

// Whether the text is a GSI file: its first line that is not blank and no comment
// ("!" or "#" first) is laid out as a GSI block, whatever the file's name.
bool isGsiText(const TextLines& lines);
// The same of a text not yet cut into lines: only its lines up to that one are looked at.
bool isGsiText(std::string_view text);

struct GsiConversion {
    std::string text;     // the raw lines, each followed by CR LF
    LineOrigins origins;  // of each raw line: the GSI line of the block that completed it
    int readings = 0;     // staff readings converted
    // Passed over, each kept as a text record: readings of collimation checks (outside
    // a line), of a station left unfinished where a line starts again, and
    // line-closing blocks.
    int checkReadings = 0;
    int unfinishedReadings = 0;
    int closingBlocks = 0;
    bool gsi8 = false;
    bool gsi16 = false;
};

// Converts every block of a GSI text read from file. Blank and comment lines are
// skipped. Readings of a collimation check (4 to 8 readings before a line starts, or
// readings in a line that form no station and end it without a result) and the
// line-closing blocks are passed over, and so are the readings of a station left
// unfinished when a line starts again. A fault (a malformed word, a unit that is no length, a reading without
// its distance, a station without one of its readings, ...) throws FileError naming
// the file and its line and quoting the word.
GsiConversion convertGsi(const TextLines& lines, const std::filesystem::path& file);

}  // namespace levara
