#include "books/fieldbook/marks.h"

#include <string_view>
#include <utility>

namespace levara::books {

namespace {

// What a section's summary says of a finding on the section; empty for the precision
// of the whole, which the check report gives.
std::string_view sectionRemark(leveling::CheckItem item)
{
    using leveling::CheckItem;
    switch (item) {
    case CheckItem::StationCount: return "测站数为奇数";
    case CheckItem::ComputationCheck: return "计算检核不符";
    case CheckItem::ForwardReturn: return "往返较差超限";
    case CheckItem::RouteForwardReturn: return "路线往返较差超限";
    case CheckItem::LoopMisclosure: return "环闭合差超限";
    case CheckItem::Remeasured: return "重测较差超限";
    default: return {};
    }
}

}  // namespace

BookMarks bookMarks(const std::vector<leveling::Finding>& findings,
                    const std::vector<leveling::InstrumentDisagreement>& instrument)
{
    BookMarks marks;
    for (const leveling::Finding& finding : findings) {
        switch (finding.item) {
        case leveling::CheckItem::SightLength: marks.byLine[finding.line.value()] |= kSightLengthExceeded; break;
        case leveling::CheckItem::LineOfSightHeight: marks.byLine[finding.line.value()] |= kStaffReadingExceeded; break;
        case leveling::CheckItem::DistanceDifference:
            marks.byLine[finding.stationLine.value()] |= kDistanceDifferenceExceeded;
            break;
        case leveling::CheckItem::DistanceDifferenceSum:
            marks.byLine[finding.stationLine.value()] |= kDistanceDifferenceSumExceeded;
            break;
        case leveling::CheckItem::HeightDifferences:
            marks.byLine[finding.stationLine.value()] |= kHeightDifferencesDifferExceeded;
            break;
        default:
            if (const std::string_view remark = sectionRemark(finding.item); !remark.empty())
                marks.bySection[finding.section].emplace_back(remark);
            break;
        }
    }
    for (const leveling::InstrumentDisagreement& disagreement : instrument)
        marks.byLine[disagreement.line.value()] |=
            disagreement.reason == leveling::InstrumentDisagreement::Reason::Differs ? kInstrumentDiffers
                                                                                     : kStationMissing;
    return marks;
}

BookMarks bookMarks(const std::vector<leveling::Section>& sections, const leveling::Standard& standard,
                    const std::vector<leveling::InstrumentDisagreement>& instrument)
{
    BookMarks marks = bookMarks(leveling::checkSections(sections, standard).findings, instrument);
    for (const leveling::PairDiscrepancy& pair : leveling::pairDiscrepancies(sections, standard))
        marks.pairsByReturn.emplace(pair.back, pair);
    marks.evenStations = standard.limits.evenStations && standard.limits.evenStations->required;
    return marks;
}

std::string exceedanceRemark(unsigned exceeded)
{
    static constexpr std::pair<Exceedance, std::string_view> kRemarks[] = {
        {kSightLengthExceeded, "视距超限"},
        {kStaffReadingExceeded, "视线高超限"},
        {kDistanceDifferenceExceeded, "视距差超限"},
        {kDistanceDifferenceSumExceeded, "累积差超限"},
        {kHeightDifferencesDifferExceeded, "高差之差超限"},
        {kInstrumentDiffers, "与仪器计算不符"},
        {kStationMissing, "缺测站"},
    };
    std::string remark;
    for (const auto& [bit, text] : kRemarks)
        if (exceeded & bit)
            remark.append(remark.empty() ? "" : "、").append(text);
    return remark;
}

}  // namespace levara::books
