#pragma once
#include <string>

namespace levara {

// A field of a CSV row (RFC 4180): as it is, or in double quotes with its own
// quotes doubled when it holds a comma, a quote or a line end.
std::string csvField(const std::string& text);

}  // namespace levara
