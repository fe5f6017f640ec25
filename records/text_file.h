#pragma once
// Text files: GB18030 on disk, UTF-8 inside; work files written as such.
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "records/text_lines.h"

namespace levara {

// A GB18030 file whole, decoded to UTF-8. Throws FileError naming the file.
std::string readTextFile(const std::filesystem::path& file);

// Writes UTF-8 text to file as GB18030, creating or truncating it (work files).
// Throws FileError naming the file.
void writeTextFile(const std::filesystem::path& file, std::string_view utf8);
// The same for text in pieces, each whole UTF-8, written one after the other: the
// text and its final CR LF go out without first joining them into one string.
void writeTextFile(const std::filesystem::path& file, std::initializer_list<std::string_view> pieces);

// The work file's round trip: writes the text and a final CR LF to file as
// writeTextFile does, and returns the lines TextLines::read would read back from
// it, taken from the bytes written rather than from the disk. The lines may refer
// to the text, which must outlive them unchanged.
TextLines writeWorkFile(const std::filesystem::path& file, std::string_view utf8);

// Replaces destination whole (replaceFile) with the bytes writeTextFile writes for
// the same pieces.
void replaceTextFile(const std::filesystem::path& destination, std::initializer_list<std::string_view> pieces);

}  // namespace levara
