#include "records/filters.h"

#include <vector>

namespace levara {

int copiesKept(RecordFilter filter, const MeasurementLine& line)
{
    switch (filter) {
    case RecordFilter::Leveling: {
        // A rejected line marker still opens the line; every other test skips
        // rejected lines.
        const bool accepted = !line.rejected();
        const std::string_view tag = line.readingTag();
        return (line.startTag() == "Start-Line") + (accepted && tag == "Rb") + (accepted && tag == "Rf") +
               (accepted && line.heightTag() == "Z") + (accepted && line.endTag() == "End-Line");
    }
    case RecordFilter::IntermediateSights: {
        // A height line is kept even when rejected.
        const bool accepted = !line.rejected();
        const std::string_view tag = line.readingTag();
        return (line.heightTag() == "Z") + (accepted && tag == "R ") + (accepted && tag == "RZ");
    }
    case RecordFilter::SinglePoints:
        return line.heightTag() != "Z" && !line.rejected() && line.readingTag() == "R " ? 1 : 0;
    }
    return 0;
}

std::string filterLines(RecordFilter filter, const TextLines& lines)
{
    // Counted first, so the result is allocated once.
    std::vector<unsigned char> copies(lines.size());
    std::size_t size = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        copies[i] = static_cast<unsigned char>(copiesKept(filter, MeasurementLine(lines[i])));
        size += copies[i] * (lines[i].size() + 2);
    }
    std::string kept;
    kept.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i)
        for (unsigned char c = 0; c < copies[i]; ++c) {
            kept += lines[i];
            kept += "\r\n";
        }
    return kept;
}

}  // namespace levara
