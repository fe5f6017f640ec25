#include "records/text_lines.h"

#include "records/ascii.h"
#include "records/byte_search.h"
#include "records/read_file.h"
#include "records/text_codec.h"

namespace levara {

TextLines TextLines::read(const std::filesystem::path& file)
{
    std::string bytes = readFile(file);
    if (detail::isAscii(bytes))
        return fromText(std::move(bytes));
    return fromText(decodeGb18030(bytes));
}

TextLines TextLines::fromText(std::string utf8)
{
    TextLines result;
    result.text_ = std::move(utf8);
    const char* const begin = result.text_.data();
    const char* const end = begin + result.text_.size();
    result.lines_.reserve(result.text_.size() / 64 + 1);

    const char* line = begin;
    while (line < end) {
        const char* lineEnd = detail::findEither(line, end, '\r', '\n');
        result.lines_.push_back({static_cast<std::size_t>(line - begin), static_cast<std::size_t>(lineEnd - line)});
        if (lineEnd == end)
            break;
        line = lineEnd + (lineEnd[0] == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
    }
    return result;
}

TextLines TextLines::fromTextAndLineEnd(std::string utf8)
{
    const bool endsWithLineEnd = utf8.empty() || utf8.back() == '\r' || utf8.back() == '\n';
    TextLines result = fromText(std::move(utf8));
    // The appended end closes an empty line of its own, or else the last line.
    if (endsWithLineEnd)
        result.lines_.push_back({result.text_.size(), 0});
    return result;
}

std::string TextLines::takeText()
{
    lines_.clear();
    return std::move(text_);
}

std::string_view TextLines::operator[](std::size_t i) const
{
    const Span& span = lines_[i];
    return {text_.data() + span.offset, span.length};
}

}  // namespace levara
