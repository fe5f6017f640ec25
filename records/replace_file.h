#pragma once
// Replacing a file as a whole: the one way Levara writes a file the user or a later
// step relies on.
#include <filesystem>
#include <string_view>

namespace levara {

// Replaces destination as a whole with the given bytes: they are written to a new
// file beside it, flushed to disk and renamed over it, so a failure never leaves a
// half-written file and leaves an existing destination as it was. Throws FileError
// naming the file.
void replaceFile(const std::filesystem::path& destination, std::string_view bytes);

// Replaces destination as a whole with a copy of source, the same way.
void copyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace levara
