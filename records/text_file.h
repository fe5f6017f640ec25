#pragma once
// Writing work files: UTF-8 text saved as GB18030.
#include <filesystem>
#include <initializer_list>
#include <string_view>

namespace levara {

// Writes UTF-8 text to file as GB18030, creating or truncating it (work files).
// Throws FileError naming the file.
void writeTextFile(const std::filesystem::path& file, std::string_view utf8);
// The same for text in pieces, each whole UTF-8, written one after the other: the
// text and its final CR LF go out without first joining them into one string.
void writeTextFile(const std::filesystem::path& file, std::initializer_list<std::string_view> pieces);

}  // namespace levara
