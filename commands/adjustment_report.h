#pragma once
// What the front ends say of a saved 高差配赋表 whose misclosure or forward/return
// discrepancy is over its limit: the table itself marks it "超限".
#include <optional>

#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace levara {

// None when everything is within its limit, or no limit applies.
std::optional<Message> overLimitMessage(const leveling::Adjustment& adjustment);

}  // namespace levara
