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
                        first->firstLine.text() + "–" + first->lastLine.text(),
                        first->pair->returnFirstLine.text() + "–" + first->pair->returnLastLine.text(),
                        millimetres(first->pair->discrepancyMm), millimetres(*first->pair->limitMm));
    if (!misclosure)
        return pairs;
    return Message(QT_TRANSLATE_NOOP("levara", "%1; %2"), *misclosure, pairs);
}

std::optional<Message> networkFindingsMessage(const books::NetworkReport& report)
{
    const leveling::NetworkAdjustment& a = report.adjustment;
    std::optional<Message> test;
    if (a.test && !a.test->passed)
        test = Message(QT_TRANSLATE_NOOP("levara", "the global test fails: χ² = %1 lies outside [%2, %3] at 95 %"),
                       millimetres(a.test->statistic), millimetres(a.test->lower), millimetres(a.test->upper));
    const auto suspect = std::find_if(a.observations.begin(), a.observations.end(),
                                      [](const leveling::AdjustedObservation& o) { return o.suspect; });
    if (suspect == a.observations.end())
        return test;
    const Message blunders(QT_TRANSLATE_NOOP("levara", "sections whose standardized residual is over %1, possible "
                                                       "blunders: %2 (the first, lines %3: %4)"),
                           millimetres(a.criticalResidual), a.suspects(),
                           suspect->observed.firstLine.text() + "–" + suspect->observed.lastLine.text(),
                           millimetres(*suspect->standardizedResidual));
    if (!test)
        return blunders;
    return Message(QT_TRANSLATE_NOOP("levara", "%1; %2"), *test, blunders);
}

}  // namespace levara
