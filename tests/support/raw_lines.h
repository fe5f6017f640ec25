#pragma once
// Raw lines laid out as the digital level writes them, for tests: 119 characters,
// "|" at columns 7, 17, 49, 72, 95 and 118.
#include <initializer_list>
#include <string>
#include <string_view>

namespace levara::testing {

// The columns the level gives text: its GB18030 bytes, a Chinese character two.
inline std::size_t columns(std::string_view text)
{
    std::size_t count = 0;
    for (char c : text)
        count += static_cast<unsigned char>(c) < 0x80 ? 1 : (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 2 : 0;
    return count;
}

inline std::string rightAligned(std::string_view text, std::size_t width)
{
    return std::string(width > columns(text) ? width - columns(text) : 0, ' ') + std::string(text);
}

// Pads to width columns.
inline std::string padded(std::string_view text, std::size_t width)
{
    return std::string(text) + std::string(width > columns(text) ? width - columns(text) : 0, ' ');
}

// A line from field 2 (the block: record type, point number, code, time, line
// number) and fields 3 to 5, each as written.
inline std::string rawFields(std::string_view block, std::string_view field3 = "", std::string_view field4 = "",
                             std::string_view field5 = "")
{
    return "For M5|Adr    12|" + padded(block, 31) + "|" + padded(field3, 22) + "|" + padded(field4, 22) + "|" +
           padded(field5, 22) + "| ";
}

// A tagged value as fields 3 to 5 hold it: "Rb        1.85953 m".
inline std::string valueField(std::string_view tag, std::string_view value, std::size_t width = 15)
{
    if (tag.empty() && value.empty())
        return {};
    return std::string(tag) + rightAligned(value, width) + " m";
}

// A KD1 measurement line: point number in characters 4-12 of field 2, the code
// (e.g. "#####") in 13-17; reading tag and reading, distance, height.
inline std::string rawLine(std::string_view point, std::string_view readingTag, std::string_view reading,
                           std::string_view distance, std::string_view height, std::string_view code = "")
{
    return rawFields("KD1" + rightAligned(point, 9) + rightAligned(code, 5) + " 10:21:402   1",
                     valueField(readingTag, reading), valueField(distance.empty() ? "" : "HD", distance),
                     valueField(height.empty() ? "" : "Z", height, 16));
}

// A reading line: "Rb", "Rf" or any other tag, with reading and distance as recorded.
inline std::string readingLine(std::string_view point, std::string_view tag, std::string_view reading,
                               std::string_view distance)
{
    return rawLine(point, tag, reading, distance, "");
}

inline std::string heightLine(std::string_view point, std::string_view height)
{
    return rawLine(point, "", "", "", height);
}

// The text records that open and close a line; the method ends at character 25.
inline std::string startLine(std::string_view method)
{
    return rawFields("TO  Start-Line" + rightAligned(method, 11) + rightAligned("1", 6));
}

inline std::string endLine() { return rawFields("TO  End-Line" + rightAligned("1", 19)); }

// The line-end totals record "Sh/dz/Z".
inline std::string lineEndTotals(std::string_view point, std::string_view sh, std::string_view dz)
{
    return rawFields("KD1" + rightAligned(point, 9) + rightAligned("1", 19), valueField("Sh", sh), valueField("dz", dz),
                     valueField("Z", "0.00000", 16));
}

// The lines as the work file holds them, each ended by CR LF.
inline std::string lines(std::initializer_list<std::string> list)
{
    std::string text;
    for (const auto& line : list)
        text += line + "\r\n";
    return text;
}

inline const std::string kStartLine = startLine("BF");

}  // namespace levara::testing
