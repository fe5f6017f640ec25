#pragma once
// The words of a Leica GSI block: one line of a GSI-8 or GSI-16 file, as a digital
// level records it. Layout from Leica's TPS1100 manual (GSI chapter) and the public
// readers JAG3D (applied-geodesy/jag3d, GSIFileReader.java), GeoEasy (zsiki/GeoEasy,
// src/leica.tcl) and GeoComPy (MrClock8163/GeoComPy, src/geocompy/gsi/gsiformat.py):
//   characters 1-2 (or 1-3) word index (WI), up to 6 information (5 input mode,
//   6 unit), 7 the sign, then 8 (GSI-8) or 16 (GSI-16) data characters and a blank.
// A GSI-16 line starts with "*".
#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "records/message.h"

namespace levara {

// Where a block was read: the GSI file and its line (from 1), for messages.
struct GsiPlace {
    const std::filesystem::path& file;
    LineNumber line;

    // Throws FileError "<file>: line <line>: <problem>".
    [[noreturn]] void fail(Message problem) const;
};

struct GsiWord {
    int index = 0;            // WI: 11, 32, 331, 83, ...
    std::string_view header;  // characters 1-6: WI and information (for 11 and 41, the block address)
    char unit = '.';          // character 6
    bool negative = false;    // character 7 is "-"
    std::string_view data;    // the 8 or 16 data characters
    std::string_view text;    // the whole word, quoted in messages
};

struct GsiBlock {
    bool gsi16 = false;
    // The first is WI 11 or 41; or a line-closing word (505-518, 290: the Leica DNA
    // writes such blocks after a line), then alone.
    std::vector<GsiWord> words;
};

// Whether a line is laid out as a GSI block: GSI-16 ("*" and words of 24 characters),
// or GSI-8 words of 16 whose first is WI 11 or 41 with a 4-digit block address.
// Blanks around the line are ignored.
bool looksLikeGsiBlock(std::string_view line);

// Cuts a line into words by position (block.words is reused). A malformed word or a
// block starting with another word than WI 11, 41 or a line-closing word fails at place.
void readGsiBlock(std::string_view line, const GsiPlace& place, GsiBlock& block);

// Whether a word's data is printable ASCII other than "|", as a raw line can hold it;
// the check fails at place quoting the word.
bool isPrintableData(const GsiWord& word);
void checkPrintableData(const GsiWord& word, const GsiPlace& place);

// A word's data without the zero padding GSI puts before it: "000000G1" is "G1",
// "00000000" is "0", "00000.50" is "0.50".
std::string_view withoutZeroPadding(std::string_view data);

// A length word (distance, reading, height) in metres as decimal text, with every
// recorded digit and at least minDecimals decimals. A negative value keeps its sign:
// "measured values with inverted staffs are negative" (Leica DNA03/DNA10 manual).
// The word's own unit digit applies; another unit, or a text longer than width,
// fails at place.
struct MetreText {
    std::array<char, 48> chars{};
    std::size_t size = 0;
    std::string_view view() const { return {chars.data(), size}; }
};
MetreText metres(const GsiWord& word, int minDecimals, std::size_t width, const GsiPlace& place);

}  // namespace levara
