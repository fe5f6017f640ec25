#include "commands/check_report.h"

#include <charconv>
#include <cmath>

namespace levara {

namespace {

using leveling::CheckItem;
using leveling::Finding;

// Fixed decimals, rounded half to even from the value's decimal form (halfEvenText),
// or the shortest text that reads back as the value (decimals < 0).
std::string numberText(double value, int decimals = -1)
{
    if (decimals >= 0)
        return halfEvenText(value, decimals);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text == "-0" || text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, text.starts_with('-') ? 1 : 0);
    return text;
}

// The decimals each item's values are shown with: readings to 0.01 mm, distances to
// the millimetre, millimetre values to 0.01 mm.
int decimalsOf(CheckItem item)
{
    switch (item) {
    case CheckItem::LineOfSightHeight:
    case CheckItem::InstrumentDiffers:
    case CheckItem::StationMissing: return 5;
    case CheckItem::SightLength:
    case CheckItem::DistanceDifference:
    case CheckItem::DistanceDifferenceSum: return 3;
    case CheckItem::StationCount:
    case CheckItem::RepeatCount: return 0;
    default: return 2;
    }
}

// A row of the instrument check: its "limit" is the instrument's value.
bool instrumentRow(const Finding& finding)
{
    return finding.item == CheckItem::InstrumentDiffers || finding.item == CheckItem::StationMissing;
}

// The limits of the root forms are computed; the others are the file's own values.
bool computedLimit(CheckItem item)
{
    return item == CheckItem::LoopMisclosure || item == CheckItem::ForwardReturn || item == CheckItem::Remeasured ||
           item == CheckItem::RouteForwardReturn;
}

std::string withUnit(std::string number, CheckItem item)
{
    const std::string_view unit = leveling::itemUnit(item);
    return unit.empty() ? number : number + " " + std::string(unit);
}

std::string limitNumber(const Finding& finding, double value)
{
    return computedLimit(finding.item) ? numberText(value, 2) : numberText(value);
}

}  // namespace

std::string findingValueText(const Finding& finding)
{
    return withUnit(numberText(finding.value, decimalsOf(finding.item)), finding.item);
}

Message findingLimitText(const Finding& finding)
{
    if (instrumentRow(finding))
        return Message(QT_TRANSLATE_NOOP("levara", "the instrument's %1"),
                       withUnit(numberText(finding.upper.value_or(0), 5), finding.item));
    if (finding.item == CheckItem::StationCount)
        return Message(QT_TRANSLATE_NOOP("levara", "an even number"));
    // A magnitude: ±upper.
    if (finding.lower && finding.upper && *finding.lower == -*finding.upper)
        return Message(QT_TRANSLATE_NOOP("levara", "±%1"),
                       withUnit(limitNumber(finding, *finding.upper), finding.item));
    if (finding.lower && finding.upper)
        return Message(QT_TRANSLATE_NOOP("levara", "%1 to %2"), limitNumber(finding, *finding.lower),
                       withUnit(limitNumber(finding, *finding.upper), finding.item));
    if (finding.lower)
        return Message(QT_TRANSLATE_NOOP("levara", "at least %1"),
                       withUnit(limitNumber(finding, *finding.lower), finding.item));
    return Message(QT_TRANSLATE_NOOP("levara", "at most %1"),
                   withUnit(limitNumber(finding, finding.upper.value_or(0)), finding.item));
}

std::string findingSourceText(const Finding& finding)
{
    if (instrumentRow(finding))
        return finding.source;
    const std::string status(leveling::statusName(finding.status));
    return finding.source.empty() ? status : finding.source + " (" + status + ")";
}

Message findingLine(const Finding& finding)
{
    const Message item(leveling::itemName(finding.item));
    const std::string status(leveling::statusName(finding.status));
    if (finding.station == 0)
        return Message(QT_TRANSLATE_NOOP("levara", "line %1, %2: %3 %4, limit %5 (%6, %7)"), finding.line,
                       finding.point, item, findingValueText(finding), findingLimitText(finding), finding.source,
                       status);
    return Message(QT_TRANSLATE_NOOP("levara", "line %1, station %2, %3: %4 %5, limit %6 (%7, %8)"), finding.line,
                   finding.station, finding.point, item, findingValueText(finding), findingLimitText(finding),
                   finding.source, status);
}

Message checkSummary(const leveling::CheckReport& report)
{
    if (report.standard.empty() && report.instrument.empty())
        return Message(QT_TRANSLATE_NOOP("levara", "every station agrees with the instrument's computation (leveling "
                                                   "lines: %1, stations: %2)"),
                       report.sections, report.stations);
    if (report.standard.empty())
        return Message(QT_TRANSLATE_NOOP("levara", "stations that differ from the instrument's computation: %1 "
                                                   "(leveling lines: %2, stations: %3)"),
                       report.instrument.size(), report.sections, report.stations);
    if (report.findings.empty() && report.instrument.empty())
        return Message(QT_TRANSLATE_NOOP("levara", "%1: every value within the limits (leveling lines: %2, "
                                                   "stations: %3)"),
                       report.standard, report.sections, report.stations);
    if (report.instrument.empty())
        return Message(QT_TRANSLATE_NOOP("levara", "%1: values over the limits: %2 (leveling lines: %3, stations: "
                                                   "%4)"),
                       report.standard, report.findings.size(), report.sections, report.stations);
    if (report.findings.empty())
        return Message(QT_TRANSLATE_NOOP("levara", "%1: every value within the limits; stations that differ from "
                                                   "the instrument's computation: %2 (leveling lines: %3, stations: "
                                                   "%4)"),
                       report.standard, report.instrument.size(), report.sections, report.stations);
    return Message(QT_TRANSLATE_NOOP("levara", "%1: values over the limits: %2; stations that differ from the "
                                               "instrument's computation: %3 (leveling lines: %4, stations: %5)"),
                   report.standard, report.findings.size(), report.instrument.size(), report.sections, report.stations);
}

bool isUnknownOrder(const InputError& fault)
{
    // The fault's message is "line %1: %2", its problem the one the sections' reader
    // gives for a line whose stations' order is unknown.
    const auto& arguments = fault.message().arguments();
    if (arguments.size() != 2 || arguments[1].index() != 1)
        return false;
    const std::string_view problem = std::get<1>(arguments[1]).source();
    return problem.starts_with("the leveling line names no observation method") ||
           problem.starts_with("the observation method \"%1\" of the leveling line is none of");
}

std::vector<Finding> precisionRows(const leveling::CheckReport& report)
{
    std::vector<Finding> rows;
    const auto row = [&](CheckItem item, const std::optional<double>& value,
                         const std::optional<leveling::ErrorLimit>& limit, LineNumber line) {
        if (!value || !limit)
            return;
        Finding& finding = rows.emplace_back();
        finding.line = line;
        finding.point = "精度评定";
        finding.item = item;
        finding.value = *value;
        finding.lower = -limit->maxMm;
        finding.upper = limit->maxMm;
        finding.status = limit->status;
        finding.source = limit->source;
    };
    const leveling::Precision& p = report.precision;
    row(CheckItem::RandomError, p.randomErrorMm, report.randomErrorLimit,
        p.pairs.empty() ? LineNumber() : p.pairs.back().line);
    row(CheckItem::TotalError, p.totalErrorMm, report.totalErrorLimit,
        p.loops.empty() ? LineNumber() : p.loops.back().line);
    return rows;
}

std::vector<Finding> instrumentRows(const leveling::CheckReport& report)
{
    using Reason = leveling::InstrumentDisagreement::Reason;
    std::vector<Finding> rows;
    for (const leveling::InstrumentDisagreement& disagreement : report.instrument) {
        Finding& row = rows.emplace_back();
        row.line = disagreement.line;
        row.section = disagreement.section;
        row.station = disagreement.station;
        row.stationLine = disagreement.line;
        row.point = std::string(disagreement.point);
        row.item = disagreement.reason == Reason::Differs ? CheckItem::InstrumentDiffers : CheckItem::StationMissing;
        row.value = disagreement.heightDifference;
        row.lower = row.upper = disagreement.instrument;
        row.status = leveling::LimitStatus::Confirmed;
        row.source = translated(instrumentReason(disagreement));
    }
    return rows;
}

std::vector<Finding> listedRows(const leveling::CheckReport& report)
{
    std::vector<Finding> rows;
    for (const Finding& finding : report.findings)
        if (finding.item != CheckItem::RandomError && finding.item != CheckItem::TotalError)
            rows.push_back(finding);
    for (Finding& row : instrumentRows(report))
        rows.push_back(std::move(row));
    for (Finding& row : precisionRows(report))
        rows.push_back(std::move(row));
    return rows;
}

std::vector<Message> precisionText(const leveling::CheckReport& report)
{
    std::vector<Message> lines;
    const auto limitText = [](const std::optional<leveling::ErrorLimit>& limit) {
        if (!limit)
            return Message(QT_TRANSLATE_NOOP("levara", "no limit given"));
        return Message(QT_TRANSLATE_NOOP("levara", "limit ±%1 mm (%2, %3)"), numberText(limit->maxMm), limit->source,
                       std::string(leveling::statusName(limit->status)));
    };
    const auto signedMm = [](double value) {
        const std::string text = numberText(value, 2);
        return text.starts_with('-') || text == "0.00" ? text : "+" + text;
    };
    const leveling::Precision& p = report.precision;
    if (p.randomErrorMm) {
        lines.emplace_back(QT_TRANSLATE_NOOP("levara", "precision: M_Δ = ±%1 mm from %2 forward/return pairs, %3"),
                           numberText(*p.randomErrorMm, 2), p.pairs.size(), limitText(report.randomErrorLimit));
        for (const leveling::PairPrecision& pair : p.pairs)
            lines.emplace_back(QT_TRANSLATE_NOOP("levara", "  line %1, %2: R %3 km, Δ %4 mm, ΔΔ/R %5"), pair.line,
                               pair.from + "–" + pair.to, numberText(pair.lengthKm, 3), signedMm(pair.discrepancyMm),
                               numberText(pair.weightedSquare, 2));
    }
    if (p.totalErrorMm) {
        lines.emplace_back(QT_TRANSLATE_NOOP("levara", "precision: M_W = ±%1 mm from %2 loops, %3"),
                           numberText(*p.totalErrorMm, 2), p.loops.size(), limitText(report.totalErrorLimit));
        for (const leveling::LoopPrecision& loop : p.loops)
            lines.emplace_back(QT_TRANSLATE_NOOP("levara", "  line %1, %2: F %3 km, W %4 mm, WW/F %5"), loop.line,
                               loop.loop, numberText(loop.perimeterKm, 3), signedMm(loop.misclosureMm),
                               numberText(loop.weightedSquare, 2));
    }
    return lines;
}

std::string findingsCsv(const leveling::CheckReport& report)
{
    std::string csv = "line,station,point,item,value,lower,upper,unit,status,source\n";
    for (const Finding& finding : listedRows(report)) {
        const auto optional = [](const std::optional<double>& value) {
            return value ? numberText(*value) : std::string();
        };
        csv += finding.line.text() + "," + std::to_string(finding.station) + "," + csvField(finding.point) + "," +
               csvField(translated(Message(leveling::itemName(finding.item)))) + "," + numberText(finding.value) + "," +
               optional(finding.lower) + "," + optional(finding.upper) + "," +
               std::string(leveling::itemUnit(finding.item)) + "," +
               (instrumentRow(finding) ? std::string() : std::string(leveling::statusName(finding.status))) + "," +
               csvField(finding.source) + "\n";
    }
    return csv;
}

Message instrumentReason(const leveling::InstrumentDisagreement& disagreement)
{
    using Reason = leveling::InstrumentDisagreement::Reason;
    switch (disagreement.reason) {
    case Reason::AddressGap:
        return Message(QT_TRANSLATE_NOOP("levara", "the instrument's sums include a station missing from the file "
                                                   "(the addresses jump from %1 to %2)"),
                       disagreement.gapFrom, disagreement.gapTo);
    case Reason::StationCount:
        return Message(QT_TRANSLATE_NOOP("levara", "the instrument's sums include a station missing from the file "
                                                   "(it counts %1 stations, the file holds %2)"),
                       disagreement.levelStations, disagreement.fileStations);
    case Reason::Differs: break;
    }
    return Message(QT_TRANSLATE_NOOP("levara", "the instrument's heights"));
}

Message instrumentLine(const leveling::InstrumentDisagreement& disagreement)
{
    const std::string heightDifference = numberText(disagreement.heightDifference, 5);
    const std::string instrument = numberText(disagreement.instrument, 5);
    if (disagreement.reason != leveling::InstrumentDisagreement::Reason::Differs)
        return Message(QT_TRANSLATE_NOOP("levara", "line %1: station %2 (%3): warning: %4: height difference %5 m, "
                                                   "the instrument's %6 m"),
                       disagreement.line, disagreement.station, std::string(disagreement.point),
                       instrumentReason(disagreement), heightDifference, instrument);
    return Message(QT_TRANSLATE_NOOP("levara", "line %1: station %2 (%3): differs from the instrument's computation: "
                                               "height difference %4 m, the instrument's %5 m"),
                   disagreement.line, disagreement.station, std::string(disagreement.point), heightDifference,
                   instrument);
}

}  // namespace levara
