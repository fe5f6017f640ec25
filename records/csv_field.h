#pragma once
#include <string>

namespace levara {

// A text field of a CSV row (RFC 4180): its control characters escaped as messages
// show them ("\x1b", "\t"), an apostrophe before a leading "=", "+", "-" or "@" so
// that no spreadsheet takes it for a formula, in double quotes with its own quotes
// doubled when it holds a comma or a quote.
std::string csvField(const std::string& text);

}  // namespace levara
