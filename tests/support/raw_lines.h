#pragma once
// Raw lines laid out as the digital level writes them, for tests: "|" at columns 7, 17, 49,
// 72, 95 and 118. An empty value gives a field of blanks.
#include <initializer_list>
#include <string>
#include <string_view>

namespace levara::testing {

inline std::string rightAligned(std::string_view text, std::size_t width)
{
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + std::string(text);
}

inline std::string valueField(std::string_view tag, std::string_view value, std::size_t width = 15)
{
    if (tag.empty() && value.empty())
        return std::string(22, ' ');
    std::string field = std::string(tag) + rightAligned(value, width) + " m";
    return field + std::string(22 - field.size(), ' ');
}

// A KD1 measurement line: point number in characters 4-12 of field 2, the code
// (e.g. "#####") in 13-17; reading tag and reading, distance, height.
inline std::string rawLine(std::string_view point, std::string_view readingTag, std::string_view reading,
                           std::string_view distance, std::string_view height, std::string_view code = "")
{
    const std::string block = "KD1" + rightAligned(point, 9) + rightAligned(code, 5) + " 10:21:402   1";
    return "For M5|Adr    12|" + block + "|" + valueField(readingTag, reading) + "|" +
           valueField(distance.empty() ? "" : "HD", distance) + "|" + valueField(height.empty() ? "" : "Z", height, 16) +
           "| ";
}

// The lines as the work file holds them, each ended by CR LF.
inline std::string lines(std::initializer_list<std::string> list)
{
    std::string text;
    for (const auto& line : list)
        text += line + "\r\n";
    return text;
}

inline const char* const kStartLine =
    "For M5|Adr     2|TO  Start-Line         BF     1|                      |                      |                      | ";

}  // namespace levara::testing
