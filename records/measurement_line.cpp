#include "records/measurement_line.h"

#include <algorithm>

#include "records/ascii.h"
#include "records/byte_search.h"

namespace levara {

namespace {

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The columns a character takes, as the level lays out a line and the window shows
// it: GB18030 bytes, one for ASCII, two for a Chinese character (Noto Sans Mono CJK
// draws it two Latin widths wide). Every character beyond ASCII counts two.
std::size_t columnsOf(char lead) { return static_cast<unsigned char>(lead) < 0x80 ? 1 : 2; }

// Byte offset of the first character at or after column `column` (from 0), counting
// from `from` at column `at`, which becomes that character's column; the end of text
// when none. A stray continuation byte belongs to the character before it.
std::size_t skipColumns(std::string_view text, std::size_t from, std::size_t& at, std::size_t column)
{
    std::size_t i = from;
    while (at < column && i < text.size()) {
        at += columnsOf(text[i]);
        ++i;
        while (i < text.size() && isContinuation(text[i]))
            ++i;
    }
    return i;
}

}  // namespace

std::string_view slice(std::string_view field, std::size_t first, std::size_t length)
{
    if (first == 0)
        first = 1;
    const std::size_t skip = first - 1;
    // Raw lines are ASCII: then characters are bytes.
    const std::size_t reach = skip >= field.size() || length >= field.size() - skip ? field.size() : skip + length;
    if (detail::asciiPrefixLength(field.substr(0, reach)) == reach) {
        if (skip >= field.size())
            return {};
        return field.substr(skip, length);
    }
    // A character belongs to the window its first column falls in.
    std::size_t column = 0;
    const std::size_t start = skipColumns(field, 0, column, skip);
    const std::size_t end = skipColumns(field, start, column, skip + length);
    return field.substr(start, end - start);
}

std::string_view stripLeadingBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

MeasurementLine::MeasurementLine(std::string_view line)
{
    std::size_t start = 0;
    std::size_t bars = 0;
    ascii_ = detail::forEachByte(line.data(), line.data() + line.size(), '|', [&](std::size_t bar) {
        if (bars < kHeld) {
            fields_[bars] = line.substr(start, bar - start);
            start = bar + 1;
        }
        ++bars;
        return true;
    });
    if (bars < kHeld)
        fields_[bars] = line.substr(start);
    else
        rest_ = line.substr(start);
    fieldCount_ = bars + 1;
}

std::string_view MeasurementLine::window(std::size_t index, std::size_t first, std::size_t length) const
{
    const std::string_view text = field(index);
    if (!ascii_)
        return slice(text, first, length);
    return first - 1 >= text.size() ? std::string_view{} : text.substr(first - 1, length);
}

std::string_view MeasurementLine::field(std::size_t index) const
{
    if (index >= fieldCount_)
        return {};
    if (index < kHeld)
        return fields_[index];
    std::string_view rest = rest_;
    for (std::size_t i = kHeld; i < index; ++i)
        rest.remove_prefix(rest.find('|') + 1);
    return rest.substr(0, rest.find('|'));
}

std::string_view MeasurementLine::startTag() const { return stripLeadingBlanks(window(2, 5, 10)); }
std::string_view MeasurementLine::endTag() const { return stripLeadingBlanks(window(2, 5, 8)); }
std::string_view MeasurementLine::rejectFlag() const { return stripLeadingBlanks(window(2, 13, 5)); }
std::string_view MeasurementLine::time() const { return window(2, 19, 8); }

std::string_view MeasurementLine::pointNumber() const { return stripLeadingBlanks(window(2, 4, 9)); }
std::string_view MeasurementLine::widePointNumber() const { return window(2, 4, 15); }
std::string_view MeasurementLine::readingTag() const { return stripLeadingBlanks(window(3, 1, 2)); }
std::string_view MeasurementLine::readingTagLetter() const { return stripLeadingBlanks(window(3, 1, 1)); }
std::string_view MeasurementLine::reading() const { return stripLeadingBlanks(window(3, 3, 15)); }
std::string_view MeasurementLine::distance() const { return stripLeadingBlanks(window(4, 3, 15)); }
std::string_view MeasurementLine::heightTag() const { return stripLeadingBlanks(window(5, 1, 1)); }
std::string_view MeasurementLine::height() const { return stripLeadingBlanks(window(5, 2, 16)); }
bool MeasurementLine::isTextRecord() const { return window(2, 1, 2) == "TO"; }
std::string_view MeasurementLine::text() const { return stripLeadingBlanks(window(2, 5, 27)); }
std::string_view MeasurementLine::observationMethod() const { return stripLeadingBlanks(window(2, 15, 11)); }
std::string_view MeasurementLine::lineNumber() const { return stripLeadingBlanks(window(2, 26, 6)); }

}  // namespace levara
