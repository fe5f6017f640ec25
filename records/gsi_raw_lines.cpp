#include "records/gsi_raw_lines.h"

#include <charconv>

namespace levara {

namespace {

constexpr std::size_t kFormatWidth = 6;
constexpr std::size_t kAddressWidth = 6;  // after "Adr"
constexpr std::size_t kBlockWidth = 31;   // field 2
constexpr std::size_t kValueFieldWidth = 22;
constexpr std::size_t kLineNumberWidth = 4;  // field 2, characters 28-31
constexpr std::size_t kMethodEnd = 25;

void appendPadded(std::string& out, std::string_view text, std::size_t width)
{
    out += text;
    if (text.size() < width)
        out.append(width - text.size(), ' ');
}

void appendRightAligned(std::string& out, std::string_view text, std::size_t width)
{
    if (text.size() < width)
        out.append(width - text.size(), ' ');
    out += text;
}

void appendLineNumber(std::string& out, int number)
{
    char digits[12];
    const std::size_t length = number > 0 ? std::size_t(std::to_chars(digits, digits + 12, number).ptr - digits) : 0;
    appendRightAligned(out, {digits, length}, kLineNumberWidth);
}

void appendHead(std::string& out, const RawLineHead& head)
{
    appendPadded(out, head.format, kFormatWidth);
    out += "|Adr";
    appendRightAligned(out, head.address, kAddressWidth);
    out += '|';
}

void appendValue(std::string& out, RawValue value, std::size_t width)
{
    const std::size_t start = out.size();
    if (!value.tag.empty() || !value.value.empty()) {
        out += value.tag;
        appendRightAligned(out, value.value, width);
        out += " m";
    }
    out.append(kValueFieldWidth - (out.size() - start), ' ');
    out += '|';
}

void appendEmptyValues(std::string& out)
{
    for (int field = 3; field <= 5; ++field)
        appendValue(out, {}, 0);
}

void endLine(std::string& out) { out += " \r\n"; }

}  // namespace

void appendMeasurementLine(std::string& out, const RawLineHead& head, std::string_view point, RawValue reading,
                           RawValue distance, RawValue height)
{
    appendHead(out, head);
    const std::size_t start = out.size();
    out += "KD1";
    appendRightAligned(out, point, kPointWidth);
    // A long point id may run on to character 27: then the count is left out.
    const bool countFits = out.size() - start < kBlockWidth - kLineNumberWidth;
    out.append(kBlockWidth - kLineNumberWidth - (out.size() - start), ' ');
    if (countFits && head.repetitions >= 1 && head.repetitions <= 9)
        out.back() = char('0' + head.repetitions);
    appendLineNumber(out, head.lineNumber);
    out += '|';
    appendValue(out, reading, kValueWidth);
    appendValue(out, distance, kValueWidth);
    appendValue(out, height, kHeightWidth);
    endLine(out);
}

void appendStartLine(std::string& out, const RawLineHead& head, std::string_view method)
{
    appendHead(out, head);
    const std::string_view tag = "TO  Start-Line";
    out += tag;
    appendRightAligned(out, method, kMethodEnd - tag.size());
    out.append(kBlockWidth - kLineNumberWidth - kMethodEnd, ' ');
    appendLineNumber(out, head.lineNumber);
    out += '|';
    appendEmptyValues(out);
    endLine(out);
}

void appendEndLine(std::string& out, const RawLineHead& head)
{
    appendHead(out, head);
    const std::string_view tag = "TO  End-Line";
    out += tag;
    out.append(kBlockWidth - kLineNumberWidth - tag.size(), ' ');
    appendLineNumber(out, head.lineNumber);
    out += '|';
    appendEmptyValues(out);
    endLine(out);
}

void appendTextLine(std::string& out, const RawLineHead& head, std::string_view text)
{
    appendTextLineWithValues(out, head, text, {}, {});
}

void appendTextLineWithValues(std::string& out, const RawLineHead& head, std::string_view text, RawValue reading,
                              RawValue distance)
{
    appendHead(out, head);
    out += "TO  ";
    appendPadded(out, text, kBlockWidth - 4);
    out += '|';
    appendValue(out, reading, kValueWidth);
    appendValue(out, distance, kValueWidth);
    appendValue(out, {}, 0);
    endLine(out);
}

}  // namespace levara
