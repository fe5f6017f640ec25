#pragma once
// The order in which a station's staffs were read, as a level records it in a line's
// Start-Line record and as the field books are named by it.
#include <optional>
#include <string_view>

namespace levara::leveling {

// BFFB: back, fore, fore, back; BBFF and BFBF likewise; BF: one reading on each staff;
// aBFFB: BFFB and FBBF stations alternating.
enum class ObservationOrder { BFFB, BBFF, BFBF, BF, aBFFB };

// "BFFB", "BBFF", "BFBF", "BF", "aBFFB", matched whatever their case and blanks around;
// none for any other.
std::optional<ObservationOrder> orderNamed(std::string_view name);
std::string_view orderName(ObservationOrder order);
// Every order but BF reads each staff twice.
bool readsTwice(ObservationOrder order);

}  // namespace levara::leveling
