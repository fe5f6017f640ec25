#pragma once
// What a front end tells its user when a command fails.
#include <exception>

#include "records/records.h"

namespace levara {

// The error's own message for a levara::Error; otherwise (out of memory, or a fault
// of Levara's own) a message that still says what happened.
Message failureMessage(const std::exception& error);

}  // namespace levara
