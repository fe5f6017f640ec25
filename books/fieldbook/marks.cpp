#include "books/fieldbook/marks.h"

#include <string_view>
#include <utility>

namespace levara::books {

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
        default: break;  // a section's: in the list only
        }
    }
    for (const leveling::InstrumentDisagreement& disagreement : instrument)
        marks.byLine[disagreement.line.value()] |=
            disagreement.reason == leveling::InstrumentDisagreement::Reason::Differs ? kInstrumentDiffers
                                                                                     : kStationMissing;
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
