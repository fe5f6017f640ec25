#include "leveling/checks.h"

#include <algorithm>
#include <cmath>

#include "leveling/units.h"
#include "records/records.h"

namespace levara::leveling {

namespace {

// A computed value is over its limit when it is past it at nine decimals: a value
// exactly on the limit, with binary noise, still passes.
bool above(double value, double limit) { return nineDecimals(value) > nineDecimals(limit); }

class Checker {
public:
    Checker(const Standard& standard, CheckReport& report)
        : limits_(standard.limits), mountain_(standard.mountain), report_(report)
    {
    }

    void section(const Section& section, int index)
    {
        section_ = index;
        const bool twice = readsTwice(section.order);
        bool sumWasOver = false;
        for (const Station& station : section.stations) {
            const StationReadings& s = station.readings;
            for (const StaffReading* reading : {&s.back1, &s.back2, &s.fore1, &s.fore2}) {
                if (reading->line == 0)
                    continue;  // BF: one reading on each staff
                range(limits_.sightLength, CheckItem::SightLength, leadingNumber(reading->distance), *reading, station);
                range(limits_.lineOfSightHeight, CheckItem::LineOfSightHeight, leadingNumber(reading->reading),
                      *reading, station);
            }
            magnitude(limits_.distanceDifference, CheckItem::DistanceDifference, station.distanceDifference, station);
            if (limits_.distanceDifferenceSum) {
                const bool over =
                    above(std::abs(station.distanceDifferenceSum), limits_.distanceDifferenceSum->max->value);
                if (over && !sumWasOver)
                    magnitude(limits_.distanceDifferenceSum, CheckItem::DistanceDifferenceSum,
                              station.distanceDifferenceSum, station);
                sumWasOver = over;
            }
            if (twice)
                magnitude(limits_.heightDifferences, CheckItem::HeightDifferences, station.heightDifferencesDiffer,
                          station);
        }
        if (section.stations.empty())
            return;
        evenStations(section);
        computationCheck(section);
        if (section.startPoint == section.endPoint)
            rootLimit(limits_.loopMisclosure, CheckItem::LoopMisclosure, section.heightDifference,
                      section.length() / kMetresPerKilometre, section.lastLine, std::string(section.endPoint));
    }

    void forwardReturn(const Section& forward, const Section& back, int backIndex)
    {
        section_ = backIndex;
        rootLimit(limits_.forwardReturn, CheckItem::ForwardReturn, forward.heightDifference + back.heightDifference,
                  (forward.length() + back.length()) / 2 / kMetresPerKilometre, back.lastLine,
                  std::string(back.endPoint));
    }

private:
    Finding& add(CheckItem item, int line, std::string_view point, double value, LimitStatus status)
    {
        Finding& finding = report_.findings.emplace_back();
        finding.line = line;
        finding.section = section_;
        finding.point = point;
        finding.item = item;
        finding.value = value;
        finding.status = status;
        return finding;
    }

    Finding& stationFinding(CheckItem item, int line, std::string_view point, double value, LimitStatus status,
                            const Station& station)
    {
        Finding& finding = add(item, line, point, value, status);
        finding.station = station.number;
        finding.stationLine = station.readings.firstLine();
        return finding;
    }

    std::string sourceOf(const Limit& limit) const
    {
        std::string source = limit.source.standard.empty() ? limits_.standard : limit.source.standard;
        if (!limit.source.clause.empty())
            source.append(source.empty() ? "" : " ").append(limit.source.clause);
        return source;
    }

    void range(const std::optional<Limit>& limit, CheckItem item, double value, const StaffReading& reading,
               const Station& station)
    {
        if (!limit)
            return;
        const bool low = limit->min && above(limit->min->value, value);
        const bool high = limit->max && above(value, limit->max->value);
        if (!low && !high)
            return;
        Finding& finding = stationFinding(item, reading.line, reading.point, value,
                                          low ? limit->min->status : limit->max->status, station);
        if (limit->min)
            finding.lower = limit->min->value;
        if (limit->max)
            finding.upper = limit->max->value;
        finding.source = sourceOf(*limit);
    }

    void magnitude(const std::optional<Limit>& limit, CheckItem item, double value, const Station& station)
    {
        if (!limit || !above(std::abs(value), limit->max->value))
            return;
        // Named by the point the station reaches.
        const StationReadings& s = station.readings;
        Finding& finding = stationFinding(item, s.firstLine(), s.fore2.line ? s.fore2.point : s.fore1.point, value,
                                          limit->max->status, station);
        finding.lower = -limit->max->value;
        finding.upper = limit->max->value;
        finding.source = sourceOf(*limit);
    }

    void evenStations(const Section& section)
    {
        const auto& limit = limits_.evenStations;
        if (!limit || !limit->required || section.stationCount() % 2 == 0)
            return;
        Finding& finding =
            add(CheckItem::StationCount, section.lastLine, section.endPoint, section.stationCount(), limit->status);
        finding.source = sourceOf(*limit);
    }

    void computationCheck(const Section& section)
    {
        // The field book's own check: the readings' sums against the stored height differences.
        double back = 0, fore = 0, stored = 0;
        for (const Station& station : section.stations) {
            back += station.backReadings;
            fore += station.foreReadings;
            stored += station.meanHeightDifference;
        }
        const double readings = readsTwice(section.order) ? (back - fore) / 2 : back - fore;
        const double difference = (readings - stored) * kMillimetresPerMetre;
        if (!above(std::abs(difference), kComputationToleranceMm))
            return;
        Finding& finding =
            add(CheckItem::ComputationCheck, section.lastLine, section.endPoint, difference, LimitStatus::Confirmed);
        finding.lower = -kComputationToleranceMm;
        finding.upper = kComputationToleranceMm;
        finding.source = "Σa − Σb = Σh";
    }

    void rootLimit(const std::optional<Limit>& limit, CheckItem item, double heightDifference, double kilometres,
                   int line, std::string point)
    {
        if (!limit)
            return;
        const bool mountain = mountain_ && limit->mountainFactor;
        const Bound& factor = mountain ? *limit->mountainFactor : *limit->factor;
        const double allowed = factor.value * std::sqrt(kilometres);
        const double value = heightDifference * kMillimetresPerMetre;
        if (!above(std::abs(value), allowed))
            return;
        Finding& finding = add(item, line, point, value, factor.status);
        finding.lower = -allowed;
        finding.upper = allowed;
        finding.source = sourceOf(*limit);
    }

    const Limits& limits_;
    bool mountain_;
    CheckReport& report_;
    int section_ = 0;
};

}  // namespace

const char* itemName(CheckItem item)
{
    switch (item) {
    case CheckItem::SightLength: return QT_TRANSLATE_NOOP("levara", "sight length");
    case CheckItem::LineOfSightHeight: return QT_TRANSLATE_NOOP("levara", "line-of-sight height");
    case CheckItem::DistanceDifference: return QT_TRANSLATE_NOOP("levara", "back-fore distance difference");
    case CheckItem::DistanceDifferenceSum: return QT_TRANSLATE_NOOP("levara", "accumulated distance difference");
    case CheckItem::HeightDifferences: return QT_TRANSLATE_NOOP("levara", "difference of the two height differences");
    case CheckItem::StationCount: return QT_TRANSLATE_NOOP("levara", "odd number of stations in the section");
    case CheckItem::ComputationCheck: return QT_TRANSLATE_NOOP("levara", "computation check");
    case CheckItem::LoopMisclosure: return QT_TRANSLATE_NOOP("levara", "loop misclosure");
    case CheckItem::ForwardReturn: return QT_TRANSLATE_NOOP("levara", "forward/return discrepancy");
    }
    return "";
}

std::string_view itemUnit(CheckItem item)
{
    switch (item) {
    case CheckItem::SightLength:
    case CheckItem::LineOfSightHeight:
    case CheckItem::DistanceDifference:
    case CheckItem::DistanceDifferenceSum: return "m";
    case CheckItem::StationCount: return "";
    default: return "mm";
    }
}

CheckReport checkSections(const std::vector<Section>& sections, const Standard& standard)
{
    CheckReport report;
    report.standard = standard.limits.name + (standard.mountain ? "(山区)" : "");
    Checker checker(standard, report);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        checker.section(sections[i], int(i));
        if (!sections[i].stations.empty()) {
            ++report.sections;
            report.stations += sections[i].stationCount();
        }
    }
    // A line and a later one between the same two points the other way round: each
    // line is paired once, with the first that fits.
    std::vector<bool> paired(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const Section& forward = sections[i];
        if (paired[i] || forward.stations.empty() || forward.startPoint == forward.endPoint)
            continue;
        for (std::size_t j = i + 1; j < sections.size(); ++j) {
            const Section& back = sections[j];
            if (paired[j] || back.stations.empty() || back.startPoint != forward.endPoint ||
                back.endPoint != forward.startPoint)
                continue;
            paired[i] = paired[j] = true;
            checker.forwardReturn(forward, back, int(j));
            break;
        }
    }
    std::stable_sort(report.findings.begin(), report.findings.end(), [](const Finding& a, const Finding& b) {
        return a.section != b.section ? a.section < b.section : a.line < b.line;
    });
    return report;
}

}  // namespace levara::leveling
