#include "leveling/start_height.h"

#include "leveling/legs.h"
#include "leveling/station_readings.h"

namespace levara::leveling {

std::optional<std::size_t> startHeightIndex(const TextLines& lines, std::size_t from)
{
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        const MeasurementLine line(lines[i]);
        if (line.hasField(3) && (line.readingTag() == "Rb" || line.readingTag() == "Rf"))
            return std::nullopt;
        if (line.heightTag() == "Z" && line.readingTagLetter().empty())
            return i;
    }
    return std::nullopt;
}

RecordedHeight recordedStartHeight(const TextLines& lines, const std::string& start)
{
    const std::optional<std::size_t> index = startHeightIndex(lines);
    if (!index)
        throw inputErrorIn(lines.file(), firstLineNumber(lines),
                           Message(QT_TRANSLATE_NOOP("levara", "the text records no height for the route's start: "
                                                               "choose a known-points file")));
    const MeasurementLine line(lines[*index]);
    const LineNumber number = lines.number(*index);
    const std::optional<double> height = typedNumber(line.height());
    if (!height)
        throw inputErrorIn(lines.file(), number,
                           Message(QT_TRANSLATE_NOOP("levara", "the height \"%1\" is not a number"),
                                   pointName(line.height())));
    if (!heightInRange(*height))
        throw inputErrorIn(lines.file(), number, heightOutOfRange(pointName(line.height())));
    RecordedHeight recorded{pointName(line.pointNumber()), *height, number, lines.file()};
    if (recorded.point != start)
        throw inputErrorIn(lines.file(), recorded.line,
                           Message(QT_TRANSLATE_NOOP("levara", "the first height line is of point %1, not of %2, the "
                                                               "start of the route: choose a known-points file"),
                                   recorded.point, start));
    return recorded;
}

}  // namespace levara::leveling
