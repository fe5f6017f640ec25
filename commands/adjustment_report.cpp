#include "commands/adjustment_report.h"

#include <algorithm>
#include <cstdio>

namespace levara {

namespace {

std::string millimetres(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

}  // namespace

std::optional<Message> overLimitMessage(const leveling::Adjustment& a)
{
    std::optional<Message> misclosure;
    if (a.misclosureOver)
        misclosure = Message(QT_TRANSLATE_NOOP("levara", "the misclosure %1 mm is over its limit ±%2 mm"),
                             millimetres(leveling::toMetres(*a.misclosure) * 1000), millimetres(*a.limitMm));
    const auto over = [](const leveling::RouteSection& s) { return s.pair && s.pair->over; };
    const auto first = std::find_if(a.sections.begin(), a.sections.end(), over);
    if (first == a.sections.end())
        return misclosure;
    const Message pairs(QT_TRANSLATE_NOOP("levara", "forward/return discrepancies over their limits: %1 (the first, "
                                                    "lines %2 and %3: %4 mm, limit ±%5 mm)"),
                        std::count_if(a.sections.begin(), a.sections.end(), over),
                        std::to_string(first->firstLine) + "–" + std::to_string(first->lastLine),
                        std::to_string(first->pair->returnFirstLine) + "–" +
                            std::to_string(first->pair->returnLastLine),
                        millimetres(first->pair->discrepancyMm), millimetres(*first->pair->limitMm));
    if (!misclosure)
        return pairs;
    return Message(QT_TRANSLATE_NOOP("levara", "%1; %2"), *misclosure, pairs);
}

}  // namespace levara
