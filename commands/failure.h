#pragma once
// What a front end tells its user when a command fails.
#include <exception>

#include "records/records.h"

namespace levara {

// The error's own message for a levara::Error; otherwise (out of memory, or a fault
// of Levara's own) a message that still says what happened.
// A fault in the text names its line as the window's text area shows it (OfText), or
// the file and its line there when known (OfFile, levara-cli); a fault in a text
// joined from several files names its file and line there either way.
enum class FaultLines { OfText, OfFile };
Message failureMessage(const std::exception& error, FaultLines lines = FaultLines::OfText);

}  // namespace levara
