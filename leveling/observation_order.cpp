#include "leveling/observation_order.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "records/records.h"

namespace levara::leveling {

namespace {

struct OrderName {
    ObservationOrder order;
    std::string_view name;
};
constexpr std::array<OrderName, 5> kOrders = {{{ObservationOrder::BFFB, "BFFB"},
                                               {ObservationOrder::BBFF, "BBFF"},
                                               {ObservationOrder::BFBF, "BFBF"},
                                               {ObservationOrder::BF, "BF"},
                                               {ObservationOrder::aBFFB, "aBFFB"}}};

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower((unsigned char)x) == std::tolower((unsigned char)y); });
}

}  // namespace

std::optional<ObservationOrder> orderNamed(std::string_view name)
{
    for (const OrderName& known : kOrders)
        if (sameIgnoringCase(stripBlanks(name), known.name))
            return known.order;
    return std::nullopt;
}

std::string_view orderName(ObservationOrder order)
{
    for (const OrderName& known : kOrders)
        if (known.order == order)
            return known.name;
    return {};
}

bool readsTwice(ObservationOrder order) { return order != ObservationOrder::BF; }

}  // namespace levara::leveling
