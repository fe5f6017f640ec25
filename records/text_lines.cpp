#include "records/text_lines.h"

#include "records/ascii.h"
#include "records/byte_search.h"
#include "records/text_file.h"

namespace levara {

TextLines TextLines::read(const std::filesystem::path& file) { return fromText(readTextFile(file)); }

TextLines TextLines::fromText(std::string utf8)
{
    TextLines result;
    result.text_ = std::move(utf8);
    result.split();
    return result;
}

TextLines TextLines::viewOf(std::string_view utf8)
{
    TextLines result;
    result.viewed_ = utf8;
    result.viewing_ = true;
    result.split();
    return result;
}

TextLines TextLines::viewOfTextAndLineEnd(std::string_view utf8)
{
    TextLines result = viewOf(utf8);
    // The appended end closes an empty line of its own, or else the last line.
    if (utf8.empty() || utf8.back() == '\r' || utf8.back() == '\n')
        result.lines_.push_back({utf8.size(), 0});
    return result;
}

void TextLines::split()
{
    const std::string_view text = whole();
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    lines_.reserve(text.size() / 64 + 1);

    const char* line = begin;
    while (line < end) {
        const char* lineEnd = detail::findEither(line, end, '\r', '\n');
        lines_.push_back({static_cast<std::size_t>(line - begin), static_cast<std::size_t>(lineEnd - line)});
        if (lineEnd == end)
            break;
        line = lineEnd + (lineEnd[0] == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
    }
}

bool areNonEmptyCrLfLines(std::string_view text)
{
    const char* line = text.data();
    const char* const end = line + text.size();
    while (line < end) {
        const char* lineEnd = detail::findEither(line, end, '\r', '\n');
        if (lineEnd == line || end - lineEnd < 2 || lineEnd[0] != '\r' || lineEnd[1] != '\n')
            return false;
        line = lineEnd + 2;
    }
    return true;
}

std::string_view TextLines::operator[](std::size_t i) const
{
    const Span& span = lines_[i];
    return whole().substr(span.offset, span.length);
}

}  // namespace levara
