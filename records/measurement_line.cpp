#include "records/measurement_line.h"

#include <algorithm>
#include <string_view>

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

// Byte offset of the character `count` characters after `from`; the end of text when
// there are fewer.
std::size_t skipCharacters(std::string_view text, std::size_t from, std::size_t count)
{
    std::size_t i = from;
    for (std::size_t n = 0; n < count && i < text.size(); ++n) {
        ++i;
        while (i < text.size() && isContinuation(text[i]))
            ++i;
    }
    return i;
}

// A raw line is 119 columns wide (the level's layout: "|" at 7, 17, 49, 72, 95 and 118).
constexpr std::size_t kRowWidth = 119;

constexpr std::size_t kBlockWidth = 31;  // field 2

std::size_t characterCount(std::string_view text)
{
    std::size_t characters = 0;
    for (char c : text)
        characters += !isContinuation(c);
    return characters;
}

std::size_t columnCount(std::string_view text)
{
    std::size_t columns = 0;
    for (char c : text)
        if (!isContinuation(c))
            columns += columnsOf(c);
    return columns;
}

// The observation methods a Start-Line record names, whatever their case.
bool isKnownMethod(std::string_view word)
{
    constexpr std::string_view kMethods[] = {"BF", "BFFB", "BBFF", "BFBF", "ABF", "ABFFB"};
    for (std::string_view method : kMethods)
        if (method.size() == word.size() && std::equal(word.begin(), word.end(), method.begin(), [](char a, char b) {
                return (a >= 'a' && a <= 'z' ? char(a - 'a' + 'A') : a) == b;
            }))
            return true;
    return false;
}

// The blank-separated word of text from `at`, and where the next search starts.
std::string_view nextWord(std::string_view text, std::size_t& at)
{
    const std::size_t begin = text.find_first_not_of(' ', at);
    if (begin == std::string_view::npos) {
        at = text.size();
        return {};
    }
    const std::size_t end = std::min(text.find(' ', begin), text.size());
    at = end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::string_view sliceCharacters(std::string_view field, std::size_t first, std::size_t length)
{
    if (first == 0)
        first = 1;
    const std::size_t start = skipCharacters(field, 0, first - 1);
    return field.substr(start, skipCharacters(field, start, length) - start);
}

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

std::string_view stripBlanks(std::string_view text)
{
    text = stripLeadingBlanks(text);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
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
    // Both layouts of Chinese names are written. A row of 119 display columns (a
    // Chinese character two) is read by columns; one laid out by characters (119
    // characters long, or its field 2 of 31 characters ending at character 49, as a
    // copy without trailing blanks keeps it) by characters; any other by columns, the
    // level's own layout.
    if (!ascii_) {
        const std::string_view row = line.substr(0, line.find_last_not_of("\r\n") + 1);
        byColumns_ = columnCount(row) == kRowWidth ||
                     (characterCount(row) != kRowWidth && characterCount(fields_[2]) != kBlockWidth);
    }
}

std::string_view MeasurementLine::window(std::size_t index, std::size_t first, std::size_t length) const
{
    const std::string_view text = field(index);
    if (!ascii_)
        return byColumns_ ? slice(text, first, length) : sliceCharacters(text, first, length);
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
std::string_view MeasurementLine::repetitions() const
{
    const std::string_view digit = window(2, 27, 1);
    return digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9' ? digit : std::string_view{};
}

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
MeasurementLine::StartWords MeasurementLine::startWords() const
{
    const std::string_view block = field(2);
    constexpr std::string_view kStart = "Start-Line";
    const std::size_t tag = block.find(kStart);
    StartWords words;
    if (tag == std::string_view::npos)
        return words;
    std::size_t at = tag + kStart.size();
    std::string_view last;
    for (std::string_view word = nextWord(block, at); !word.empty(); word = nextWord(block, at)) {
        if (isKnownMethod(word)) {
            words.method = word;
            words.lineNumber = nextWord(block, at);
            return words;
        }
        last = word;
    }
    words.lineNumber = last;
    return words;
}

std::string_view MeasurementLine::observationMethod() const { return startWords().method; }
std::string_view MeasurementLine::lineNumber() const { return startWords().lineNumber; }

}  // namespace levara
