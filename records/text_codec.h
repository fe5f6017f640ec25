#pragma once
// Raw files, work files and saved text are GB18030 (a superset of code page 936).
// Inside, Levara holds text as UTF-8.
#include <string>
#include <string_view>

namespace levara {

// Bytes that do not decode become U+FFFD; decoding never fails.
std::string decodeGb18030(std::string_view bytes);

// Every Unicode character has a GB18030 form; invalid UTF-8 bytes become '?'.
std::string encodeGb18030(std::string_view utf8);

}  // namespace levara
