#include "leveling/known_points.h"

#include <algorithm>
#include <bit>
#include <functional>

#include "leveling/route.h"
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
    // A UTF-16 file always starts with its mark, as the raw files read so do.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return decodeText(std::string(bytes)).utf8;
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

FileError lineError(const std::filesystem::path& file, LineNumber line, Message problem)
{
    return FileError(file, Message(QT_TRANSLATE_NOOP("levara", "line %1: %2"), line, std::move(problem)));
}

Message notANameAndHeight(std::string_view line)
{
    return Message(QT_TRANSLATE_NOOP("levara", "\"%1\" is not a point name and a height in metres"), excerpt(line));
}

struct NameAndRest {
    std::string name;
    std::string_view rest;  // past the name and the separators after it
};

// A name in double quotes, "" standing for a quote, or up to the first separator;
// none when a quote is left open or text follows the closing one.
std::optional<NameAndRest> splitName(std::string_view text)
{
    NameAndRest split;
    std::size_t end = 0;
    if (text.front() == '"') {
        for (end = 1;; ++end) {
            if (end == text.size())
                return std::nullopt;
            if (text[end] != '"') {
                split.name += text[end];
            } else if (end + 1 < text.size() && text[end + 1] == '"') {
                split.name += '"';
                ++end;
            } else {
                break;
            }
        }
        ++end;
        if (end < text.size() && !isSeparator(text[end]))
            return std::nullopt;
    } else {
        end = std::size_t(std::find_if(text.begin(), text.end(), isSeparator) - text.begin());
        split.name = text.substr(0, end);
    }
    split.rest = text.substr(end);
    while (!split.rest.empty() && isSeparator(split.rest.front()))
        split.rest.remove_prefix(1);
    // A separator after the height, as a spreadsheet may write.
    while (!split.rest.empty() && isSeparator(split.rest.back()))
        split.rest.remove_suffix(1);
    return split;
}

// The text before a "#" that starts a comment, past a quoted name's end.
std::string_view withoutComment(std::string_view text)
{
    std::size_t from = text.find_first_not_of(" \t");
    if (from != std::string_view::npos && text[from] == '"') {
        // "" inside the name is a quote, so the name ends at an odd quote.
        for (++from; from < text.size(); ++from) {
            if (text[from] != '"')
                continue;
            if (from + 1 < text.size() && text[from + 1] == '"')
                ++from;
            else
                break;
        }
    } else {
        from = 0;
    }
    return text.substr(0, std::min(text.size(), text.find('#', std::min(from, text.size()))));
}

}  // namespace

namespace {

std::uint64_t hashOf(std::string_view name) { return std::hash<std::string_view>{}(name) >> 32; }

// The slot of name in an index, or the empty slot where it would go.
std::uint64_t& slotOf(std::vector<std::uint64_t>& byName, const std::vector<KnownPoint>& points, std::string_view name)
{
    const std::uint64_t hash = hashOf(name);
    const std::size_t mask = byName.size() - 1;
    for (std::size_t k = hash & mask;; k = (k + 1) & mask) {
        std::uint64_t& slot = byName[k];
        if (slot == 0 || ((slot >> 32) == hash && points[(slot & 0xFFFFFFFF) - 1].name == name))
            return slot;
    }
}

}  // namespace

const KnownPoint* KnownPoints::find(std::string_view name) const
{
    if (byName.empty() || indexed != points.size()) {
        const auto found =
            std::find_if(points.begin(), points.end(), [&](const KnownPoint& p) { return p.name == name; });
        return found == points.end() ? nullptr : &*found;
    }
    const std::uint64_t slot = slotOf(const_cast<std::vector<std::uint64_t>&>(byName), points, name);
    return slot == 0 ? nullptr : &points[(slot & 0xFFFFFFFF) - 1];
}

const KnownPoint& KnownPoints::add(KnownPoint point)
{
    // Kept at most half full.
    if (2 * (points.size() + 1) > byName.size() || indexed != points.size()) {
        std::vector<std::uint64_t> grown(std::bit_ceil(std::max<std::size_t>(64, 4 * (points.size() + 1))), 0);
        for (std::size_t i = 0; i < points.size(); ++i)
            slotOf(grown, points, points[i].name) = hashOf(points[i].name) << 32 | (i + 1);
        byName = std::move(grown);
        indexed = points.size();
    }
    std::uint64_t& slot = slotOf(byName, points, point.name);
    if (slot != 0)
        return points[(slot & 0xFFFFFFFF) - 1];
    slot = hashOf(point.name) << 32 | (points.size() + 1);
    ++indexed;
    return points.emplace_back(std::move(point));
}

KnownPoints parseKnownPoints(std::string_view bytes, const std::filesystem::path& file)
{
    const TextLines lines = TextLines::fromText(decoded(bytes));
    KnownPoints known;
    known.file = file;
    // Room for a point a line, so that the index is never grown.
    known.points.reserve(lines.size());
    known.byName.assign(std::bit_ceil(2 * lines.size() + 2), 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const LineNumber number = lines.number(i);
        const std::string_view text = trimmed(withoutComment(lines[i]));
        if (text.empty())
            continue;
        std::optional<NameAndRest> split = splitName(text);
        const std::optional<double> height =
            !split || split->name.empty() || split->rest.empty() ? std::nullopt : typedNumber(split->rest);
        if (!height)
            throw lineError(file, number, notANameAndHeight(lines[i]));
        if (!heightInRange(*height))
            throw lineError(file, number, heightOutOfRange(split->rest));
        const KnownPoint& before = known.add({std::move(split->name), *height, number});
        if (before.line != number) {
            if (before.height != *height)
                throw lineError(file, number,
                                Message(QT_TRANSLATE_NOOP("levara", "\"%1\" gives point %2 another height than line "
                                                                    "%3 (%4 m)"),
                                        excerpt(lines[i]), excerpt(before.name), before.line,
                                        stripLeadingBlanks(signedNumberText(before.height))));
        }
    }
    return known;
}

KnownPoints readKnownPoints(const std::filesystem::path& file)
{
    return parseKnownPoints(readSmallFile(file, kMaxKnownPointsFileSize), file);
}

}  // namespace levara::leveling
