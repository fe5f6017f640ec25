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
    bool gsi8 = false;
    bool gsi16 = false;
};

// Converts every block of a GSI text read from file. Blank and comment lines are
// skipped. A fault (a malformed word, a unit that is no length, a reading without
// its distance, a station without one of its readings, ...) throws FileError naming
// the file and its line and quoting the word.
GsiConversion convertGsi(const TextLines& lines, const std::filesystem::path& file);

}  // namespace levara
