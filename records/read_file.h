#pragma once
// Reading a whole file as it is on disk.
#include <filesystem>
#include <string>

namespace levara {

// The file's bytes. Throws FileError naming the file.
std::string readFile(const std::filesystem::path& file);
// The largest known-points file: a national benchmark list of a million points takes
// some 50 MB in UTF-16. The largest limits file: a real one takes a few KB, and its
// JSON takes many times its size in memory.
inline constexpr std::size_t kMaxKnownPointsFileSize = std::size_t{64} << 20;
inline constexpr std::size_t kMaxLimitsFileSize = std::size_t{1} << 20;
// The same for a file that is small by nature (a known-points or limits file): one
// over limit bytes is refused before it is read.
std::string readSmallFile(const std::filesystem::path& file, std::size_t limit);

}  // namespace levara
