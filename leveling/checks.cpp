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

// A limit of so many mm per √km: its factor, in mountains its mountain factor where it has one.
const Bound& factorOf(const Limit& limit, bool mountain)
{
    return mountain && limit.mountainFactor ? *limit.mountainFactor : *limit.factor;
}

double allowedMm(const Limit& limit, bool mountain, double kilometres)
{
    return factorOf(limit, mountain).value * std::sqrt(kilometres);
}

double pairKilometres(const Section& forward, const Section& back)
{
    return (forward.length() + back.length()) / 2 / kMetresPerKilometre;
}

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
                if (!reading->line)
                    continue;  // BF: one reading on each staff
                range(limits_.sightLength, CheckItem::SightLength, leadingNumber(reading->distance), *reading, station);
                range(limits_.lineOfSightHeight, CheckItem::LineOfSightHeight, leadingNumber(reading->reading),
                      *reading, station);
                if (reading->repetitions > 0)
                    range(limits_.repeatCount, CheckItem::RepeatCount, reading->repetitions, *reading, station);
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
    }

    void forwardReturn(const Section& forward, const Section& back, int backIndex)
    {
        section_ = backIndex;
        rootLimit(limits_.forwardReturn, CheckItem::ForwardReturn, forward.heightDifference + back.heightDifference,
                  pairKilometres(forward, back), back.lastLine, std::string(back.endPoint));
    }

    // Pairs that follow each other as one route: the sum of their discrepancies
    // against the limit of the route's length.
    void routes(const std::vector<Section>& sections, const std::vector<Leg>& legs)
    {
        std::size_t first = 0;
        while (first < legs.size()) {
            std::size_t end = first;
            while (end < legs.size() && legs[end].pair() && legs[end].repeats < 0 &&
                   (end == first || legs[end].from == legs[end - 1].to))
                ++end;
            if (end - first >= 2) {
                double discrepancy = 0, kilometres = 0;
                for (std::size_t k = first; k < end; ++k) {
                    discrepancy += sections[std::size_t(legs[k].forward)].heightDifference +
                                   sections[std::size_t(legs[k].back)].heightDifference;
                    kilometres += legs[k].lengthKm;
                }
                const Leg& last = legs[end - 1];
                section_ = last.back;
                rootLimit(limits_.forwardReturn, CheckItem::RouteForwardReturn, discrepancy, kilometres, last.lastLine,
                          legs[first].from + "–" + last.to);
            }
            first = std::max(end, first + 1);
        }
    }

    // A leg measured again: its height difference less the first measurement's.
    void remeasured(const std::vector<Leg>& legs)
    {
        for (const Leg& leg : legs) {
            if (leg.repeats < 0)
                continue;
            section_ = std::max(leg.forward, leg.back);
            const HundredthsOfMm difference = leg.measured - legs[std::size_t(leg.repeats)].measured;
            rootLimit(limits_.remeasured, CheckItem::Remeasured, toMetres(difference), leg.lengthKm, leg.lastLine,
                      leg.to);
        }
    }

    void loops(const std::vector<Leg>& legs, const std::vector<Loop>& loops)
    {
        for (const Loop& loop : loops) {
            const Leg& closing = legs[loop.closing];
            section_ = std::max(closing.forward, closing.back);
            rootLimit(limits_.loopMisclosure, CheckItem::LoopMisclosure, toMetres(loop.misclosure), loop.lengthKm,
                      closing.lastLine, loop.name);
        }
    }

    // M_Δ and M_W against their limits, each named by the last line of its table.
    std::optional<ErrorLimit> error(const std::optional<Limit>& limit, CheckItem item, std::optional<double> value,
                                    LineNumber line, int section)
    {
        if (!limit)
            return std::nullopt;
        ErrorLimit errorLimit{limit->max->value, limit->max->status, sourceOf(*limit)};
        if (value && above(*value, errorLimit.maxMm)) {
            section_ = section;
            Finding& finding = add(item, line, "精度评定", *value, errorLimit.status);
            finding.lower = -errorLimit.maxMm;
            finding.upper = errorLimit.maxMm;
            finding.source = errorLimit.source;
        }
        return errorLimit;
    }

    void precision(CheckReport& report, int lastSection)
    {
        const Precision& p = report.precision;
        report.randomErrorLimit = error(limits_.randomError, CheckItem::RandomError, p.randomErrorMm,
                                        p.pairs.empty() ? LineNumber() : p.pairs.back().line, lastSection);
        report.totalErrorLimit = error(limits_.totalError, CheckItem::TotalError, p.totalErrorMm,
                                       p.loops.empty() ? LineNumber() : p.loops.back().line, lastSection);
    }

private:
    Finding& add(CheckItem item, LineNumber line, std::string_view point, double value, LimitStatus status)
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

    Finding& stationFinding(CheckItem item, LineNumber line, std::string_view point, double value, LimitStatus status,
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
        // The field book's own check: the readings' sums against the stored height
        // differences, Σ后视 − Σ前视 = Σh1 + Σh2 where each staff is read twice, halved;
        // and each stored mean against its h1 and h2, from whose half it lies at most
        // 0.005 mm (rounded half to even): what lies beyond counts.
        const StationSums sums = stationSums(section.stations);
        const bool twice = readsTwice(section.order);
        const double stored = twice ? sums.heightDifference1 + sums.heightDifference2 : sums.heightDifference;
        double difference = (sums.backReadings - sums.foreReadings - stored) / (twice ? 2 : 1) * kMillimetresPerMetre;
        for (const Station& station : section.stations) {
            const double off =
                (station.meanHeightDifference - (station.heightDifference1 + station.heightDifference2) / 2) *
                kMillimetresPerMetre;
            if (above(std::abs(off), kComputationToleranceMm / 2))
                difference -= off;
        }
        if (!above(std::abs(difference), kComputationToleranceMm))
            return;
        Finding& finding =
            add(CheckItem::ComputationCheck, section.lastLine, section.endPoint, difference, LimitStatus::Confirmed);
        finding.lower = -kComputationToleranceMm;
        finding.upper = kComputationToleranceMm;
        finding.source = "Σa − Σb = Σh";
    }

    void rootLimit(const std::optional<Limit>& limit, CheckItem item, double heightDifference, double kilometres,
                   LineNumber line, std::string point)
    {
        if (!limit)
            return;
        const double allowed = allowedMm(*limit, mountain_, kilometres);
        const double value = heightDifference * kMillimetresPerMetre;
        if (!above(std::abs(value), allowed))
            return;
        Finding& finding = add(item, line, point, value, factorOf(*limit, mountain_).status);
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
    case CheckItem::RepeatCount: return QT_TRANSLATE_NOOP("levara", "repeated readings of a digital level");
    case CheckItem::Remeasured: return QT_TRANSLATE_NOOP("levara", "re-measured section's difference");
    case CheckItem::RouteForwardReturn: return QT_TRANSLATE_NOOP("levara", "route's forward/return discrepancy");
    case CheckItem::RandomError: return QT_TRANSLATE_NOOP("levara", "mean error per km M_Δ");
    case CheckItem::TotalError: return QT_TRANSLATE_NOOP("levara", "total mean error per km M_W");
    case CheckItem::InstrumentDiffers: return QT_TRANSLATE_NOOP("levara", "differs from the instrument's computation");
    case CheckItem::StationMissing: return QT_TRANSLATE_NOOP("levara", "a station missing from the file");
    }
    return "";
}

std::string_view itemUnit(CheckItem item)
{
    switch (item) {
    case CheckItem::SightLength:
    case CheckItem::LineOfSightHeight:
    case CheckItem::DistanceDifference:
    case CheckItem::DistanceDifferenceSum:
    case CheckItem::InstrumentDiffers:
    case CheckItem::StationMissing: return "m";
    case CheckItem::StationCount:
    case CheckItem::RepeatCount: return "";
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
    const std::vector<Leg> legs = legsOf(sections);
    const std::vector<Loop> loops = loopsOf(legs);
    for (const Leg& leg : legs)
        if (leg.pair())
            checker.forwardReturn(sections[std::size_t(leg.forward)], sections[std::size_t(leg.back)], leg.back);
    checker.routes(sections, legs);
    checker.remeasured(legs);
    checker.loops(legs, loops);
    report.precision = assessPrecision(sections, legs, loops);
    checker.precision(report, int(sections.size()));
    std::stable_sort(report.findings.begin(), report.findings.end(), [](const Finding& a, const Finding& b) {
        return a.section != b.section ? a.section < b.section : a.line < b.line;
    });
    return report;
}

std::vector<PairDiscrepancy> pairDiscrepancies(const std::vector<Section>& sections, const Standard& standard)
{
    std::vector<PairDiscrepancy> pairs;
    for (const Leg& leg : legsOf(sections)) {
        if (!leg.pair())
            continue;
        const Section& forward = sections[std::size_t(leg.forward)];
        const Section& back = sections[std::size_t(leg.back)];
        PairDiscrepancy pair{leg.forward, leg.back,
                             (forward.heightDifference + back.heightDifference) * kMillimetresPerMetre, std::nullopt};
        if (const auto& limit = standard.limits.forwardReturn)
            pair.limitMm = allowedMm(*limit, standard.mountain, pairKilometres(forward, back));
        pairs.push_back(pair);
    }
    return pairs;
}

}  // namespace levara::leveling
