#include "leveling/known_points.h"

#include <algorithm>

#include "records/records.h"

namespace levara::leveling {

namespace {

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xe  ? 3
                           : (lead >> 3) == 0x1e ? 4
                                                 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

std::string decoded(std::string_view bytes)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(bom))
        return std::string(bytes.substr(bom.size()));
    if (isValidUtf8(bytes))
        return std::string(bytes);
    return decodeGb18030(bytes);
}

bool isSeparator(char c) { return c == ',' || c == ';' || c == '\t' || c == ' '; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

FileError lineError(const std::filesystem::path& file, int line, Message problem)
{
    return FileError(file, Message(QT_TRANSLATE_NOOP("levara", "line %1: %2"), line, std::move(problem)));
}

}  // namespace

const KnownPoint* KnownPoints::find(std::string_view name) const
{
    const auto found = std::find_if(points.begin(), points.end(), [&](const KnownPoint& p) { return p.name == name; });
    return found == points.end() ? nullptr : &*found;
}

KnownPoints parseKnownPoints(std::string_view bytes, const std::filesystem::path& file)
{
    const TextLines lines = TextLines::fromText(decoded(bytes));
    KnownPoints known;
    known.file = file;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = lines.number(i);
        std::string_view text = lines[i];
        text = trimmed(text.substr(0, text.find('#')));
        if (text.empty())
            continue;
        // The name ends at the first separator; the height is the rest, past any further ones.
        const std::size_t end = std::find_if(text.begin(), text.end(), isSeparator) - text.begin();
        const std::string_view name = text.substr(0, end);
        std::string_view rest = text.substr(end);
        while (!rest.empty() && isSeparator(rest.front()))
            rest.remove_prefix(1);
        const std::optional<double> height = rest.empty() ? std::nullopt : typedNumber(rest);
        if (!height)
            throw lineError(file, number,
                            Message(QT_TRANSLATE_NOOP("levara", "\"%1\" is not a point name and a height in metres"),
                                    lines[i]));
        if (const KnownPoint* before = known.find(name)) {
            if (before->height != *height)
                throw lineError(file, number,
                                Message(QT_TRANSLATE_NOOP("levara", "\"%1\" gives point %2 another height than line "
                                                                    "%3 (%4 m)"),
                                        lines[i], name, before->line,
                                        stripLeadingBlanks(signedNumberText(before->height))));
            continue;
        }
        known.points.push_back({std::string(name), *height, number});
    }
    return known;
}

KnownPoints readKnownPoints(const std::filesystem::path& file) { return parseKnownPoints(readFile(file), file); }

}  // namespace levara::leveling
