#pragma once
// Reading a whole file as it is on disk.
#include <filesystem>
#include <string>

namespace levara {

// The file's bytes. Throws FileError naming the file.
std::string readFile(const std::filesystem::path& file);

}  // namespace levara
