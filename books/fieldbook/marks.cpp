#include "books/fieldbook/marks.h"

#include <string_view>
#include <utility>

namespace levara::books {

std::string exceedanceRemark(unsigned exceeded)
{
    static constexpr std::pair<Exceedance, std::string_view> kRemarks[] = {
        {kSightLengthExceeded, "视距超限"},
        {kStaffReadingExceeded, "视线高超限"},
        {kDistanceDifferenceExceeded, "视距差超限"},
        {kDistanceDifferenceSumExceeded, "累积差超限"},
        {kHeightDifferencesDifferExceeded, "高差之差超限"},
    };
    std::string remark;
    for (const auto& [bit, text] : kRemarks)
        if (exceeded & bit)
            remark.append(remark.empty() ? "" : "、").append(text);
    return remark;
}

}  // namespace levara::books
