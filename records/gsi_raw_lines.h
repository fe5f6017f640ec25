#pragma once
// The raw lines a GSI file becomes, laid out as the digital level writes them: 119
// characters with "|" at columns 7, 17, 49, 72, 95 and 118 and a blank at 119, then
// CR LF. Field 0 names the GSI format, field 1 is "Adr" and the GSI block address.
#include <cstddef>
#include <string>
#include <string_view>

namespace levara {

// What fields 0 and 1, the repetitions and the line number (field 2, characters 28-31) hold.
struct RawLineHead {
    std::string_view format;   // "GSI-8 " or "GSI-16"
    std::string_view address;  // digits, or empty
    int lineNumber = 0;        // 0: none
    // Of a reading: the readings the level averaged (word 390), written as the digit
    // the level puts after the time (field 2, character 27); 0, or above 9: none.
    int repetitions = 0;
};

// A tagged value of fields 3 to 5: "Rb" and a reading, "HD" and a distance, "Z" and
// a height. The value fits its window (kValueWidth, kHeightWidth).
struct RawValue {
    std::string_view tag;
    std::string_view value;
};

inline constexpr std::size_t kValueWidth = 15;   // fields 3 and 4, characters 3-17
inline constexpr std::size_t kHeightWidth = 16;  // field 5, characters 2-17
inline constexpr std::size_t kPointWidth = 9;    // field 2, characters 4-12

// A KD1 line of a point: its reading and distance, or its height, or both. A point
// id longer than kPointWidth starts at character 4 and runs on over the code field.
void appendMeasurementLine(std::string& out, const RawLineHead& head, std::string_view point, RawValue reading,
                           RawValue distance, RawValue height);
// "TO  Start-Line" with the method ending at character 25.
void appendStartLine(std::string& out, const RawLineHead& head, std::string_view method);
void appendEndLine(std::string& out, const RawLineHead& head);
// A TO text record; a text longer than field 2 widens it.
void appendTextLine(std::string& out, const RawLineHead& head, std::string_view text);
// A TO text record that carries a reading and its distance in fields 3 and 4, as the
// level writes its collimation checks: no filter or book takes it for a reading.
void appendTextLineWithValues(std::string& out, const RawLineHead& head, std::string_view text, RawValue reading,
                              RawValue distance);

}  // namespace levara
