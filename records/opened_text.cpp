#include "records/opened_text.h"

#include <cstring>

#include "records/error.h"
#include "records/gsi_words.h"
#include <vector>

#include "records/gsi_conversion.h"
#include "records/read_file.h"
#include "records/text_codec.h"
#include "records/text_lines.h"

namespace levara {

namespace {

// A GSI-16 file whose line ends were lost in a transfer: its first line is GSI-16
// blocks one after the other, each starting with "*", which no raw file holds.
bool isGsi16WithoutLineEnds(std::string_view text)
{
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || text[start] != '*')
        return false;
    text.remove_prefix(start);
    const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
    const std::size_t next = line.find(" *");
    return next != std::string_view::npos && looksLikeGsiBlock(line.substr(0, next)) &&
           looksLikeGsiBlock(line.substr(next + 1, line.find(" *", next + 1) - next - 1));
}

// The line (from 1) holding the byte at offset, lines ending as TextLines ends them.
LineNumber lineAt(std::string_view text, std::size_t offset)
{
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return LineNumber(line);
}

OpenedText nonEmptyLines(std::string utf8)
{
    OpenedText opened;
    // A file of CR LF lines, none empty, is already the text shown.
    if (areNonEmptyCrLfLines(utf8)) {
        // Every line ends in CR LF: line i of the text is line i of the file.
        std::size_t count = 0;
        for (const char* p = utf8.data();
             (p = static_cast<const char*>(std::memchr(p, '\n', utf8.data() + utf8.size() - p))); ++p)
            ++count;
        opened.origins.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            opened.origins.push_back(LineNumber::ofIndex(i));
        opened.text = std::move(utf8);
        return opened;
    }
    const TextLines lines = TextLines::fromText(std::move(utf8));
    std::size_t size = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        size += lines[i].size() + 2;
    opened.text.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        opened.text += lines[i];
        opened.text += "\r\n";
        opened.origins.push_back(lines.number(i));
    }
    return opened;
}

Message conversionStatus(const GsiConversion& conversion)
{
    // format: "GSI-8" or "GSI-16" as data, or a message for both.
    auto status = [&](auto format) {
        if (conversion.readings == 1)
            return Message(QT_TRANSLATE_NOOP("levara", "Converted from %1: 1 reading"), std::move(format));
        return Message(QT_TRANSLATE_NOOP("levara", "Converted from %1: %2 readings"), std::move(format),
                       conversion.readings);
    };
    if (conversion.gsi8 && conversion.gsi16)
        return status(Message(QT_TRANSLATE_NOOP("levara", "GSI-8 and GSI-16")));
    return status(std::string(conversion.gsi16 ? "GSI-16" : "GSI-8"));
}

// What the conversion passed over, said once; none when nothing was.
std::optional<Message> passedOver(const GsiConversion& conversion, const std::filesystem::path& file)
{
    std::vector<Message> parts;
    if (conversion.checkReadings > 0)
        parts.emplace_back(QT_TRANSLATE_NOOP("levara", "%1 readings of collimation checks"), conversion.checkReadings);
    if (conversion.unfinishedReadings > 0)
        parts.emplace_back(QT_TRANSLATE_NOOP("levara", "%1 readings of stations left unfinished"),
                           conversion.unfinishedReadings);
    if (conversion.closingBlocks > 0)
        parts.emplace_back(QT_TRANSLATE_NOOP("levara", "%1 line-closing blocks"), conversion.closingBlocks);
    switch (parts.size()) {
    case 1: return Message(QT_TRANSLATE_NOOP("levara", "%1: passed over %2"), file, std::move(parts[0]));
    case 2:
        return Message(QT_TRANSLATE_NOOP("levara", "%1: passed over %2 and %3"), file, std::move(parts[0]),
                       std::move(parts[1]));
    case 3:
        return Message(QT_TRANSLATE_NOOP("levara", "%1: passed over %2, %3 and %4"), file, std::move(parts[0]),
                       std::move(parts[1]), std::move(parts[2]));
    default: return std::nullopt;
    }
}

}  // namespace

OpenedText openedText(std::string bytes, const std::filesystem::path& file)
{
    DecodedText decoded = decodeText(std::move(bytes));
    std::optional<Message> warning;
    if (decoded.replaced.count > 0)
        warning = Message(QT_TRANSLATE_NOOP("levara", "%1: characters that are not %2, shown as \"%3\": %4, the "
                                                      "first in line %5"),
                          file, encodingName(decoded.encoding), "\xEF\xBF\xBD", decoded.replaced.count,
                          lineAt(decoded.utf8, decoded.replaced.first));
    std::optional<Message> encodingStatus;
    if (decoded.encoding != TextEncoding::Gb18030)
        encodingStatus = Message(QT_TRANSLATE_NOOP("levara", "Read as %1"), encodingName(decoded.encoding));

    OpenedText opened;
    if (isGsi16WithoutLineEnds(decoded.utf8))
        throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "a GSI-16 file whose line ends were lost: its "
                                                                  "blocks, each starting with \"*\", follow each "
                                                                  "other on one line; transfer it again from the "
                                                                  "level, each block a line")));
    if (!isGsiText(decoded.utf8)) {
        opened = nonEmptyLines(std::move(decoded.utf8));
        opened.status = std::move(encodingStatus);
    } else {
        const TextLines lines = TextLines::fromText(std::move(decoded.utf8));
        GsiConversion conversion = convertGsi(lines, file);
        opened.status = conversionStatus(conversion);
        opened.passedOver = passedOver(conversion, file);
        opened.text = std::move(conversion.text);
        opened.origins = std::move(conversion.origins);
    }
    opened.warning = std::move(warning);
    return opened;
}

OpenedText readOpenedText(const std::filesystem::path& file) { return openedText(readFile(file), file); }

}  // namespace levara
