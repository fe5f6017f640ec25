#include "records/filters.h"

#include <vector>

namespace levara {

int copiesKept(RecordFilter filter, const MeasurementLine& line)
{
    // A text record ("TO") holds no reading, whatever values it carries (the level's
    // collimation checks write "R" and "HD" there); only the line markers count.
    const bool text = line.isTextRecord();
    switch (filter) {
    case RecordFilter::Leveling: {
        // A rejected line marker still opens the line; every other test skips
        // rejected lines. An intermediate sight's height is no point of the line.
        const bool accepted = !line.rejected() && !text;
        const std::string_view tag = line.readingTag();
        const bool sight = tag == "Rz" || tag == "RZ";
        return (line.startTag() == "Start-Line") + (accepted && tag == "Rb") + (accepted && tag == "Rf") +
               (accepted && !sight && line.heightTag() == "Z") + (!line.rejected() && line.endTag() == "End-Line");
    }
    case RecordFilter::IntermediateSights: {
        // A height line is kept even when rejected. A back reading gives the height
        // of collimation of the point before it.
        const bool accepted = !line.rejected() && !text;
        const std::string_view tag = line.readingTag();
        return (!text && line.heightTag() == "Z") + (accepted && tag == "R ") + (accepted && tag == "RZ") +
               (accepted && tag == "Rb");
    }
    case RecordFilter::SinglePoints:
        // A reading the level gave a height keeps it: the table prints it as 高程.
        return !text && !line.rejected() && line.readingTag() == "R " ? 1 : 0;
    }
    return 0;
}

FilteredLines filterLines(RecordFilter filter, const TextLines& lines, const LineOrigins& origins)
{
    // Counted first, so the result is allocated once.
    std::vector<unsigned char> copies(lines.size());
    std::size_t size = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        copies[i] = static_cast<unsigned char>(copiesKept(filter, MeasurementLine(lines[i])));
        size += copies[i] * (lines[i].size() + 2);
        count += copies[i];
    }
    FilteredLines kept;
    kept.text.reserve(size);
    const bool traced = !origins.empty();
    if (traced)
        kept.origins.reserve(count);
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (unsigned char c = 0; c < copies[i]; ++c) {
            kept.text += lines[i];
            kept.text += "\r\n";
            if (traced)
                kept.origins.push_back(i < origins.size() ? origins[i] : LineNumber());
        }
    return kept;
}

std::string filterLines(RecordFilter filter, const TextLines& lines) { return filterLines(filter, lines, {}).text; }

}  // namespace levara
