#pragma once
// The line of the user's file each line of a text came from, so that a fault found in
// a reduced or converted text still leads to the file.
#include <cstddef>
#include <filesystem>
#include <vector>

namespace levara {

// For line i of a text (from 0), the line of the file it came from, from 1. Empty:
// the text has no known origin (it was edited).
using LineOrigins = std::vector<int>;

// A text joined from several files (levara-cli's INPUTs, the window's 追加文件): each
// file with the count of the text's lines that came from it, in the text's order, so
// that line i of the text came from the file whose run holds i, and origins[i] is its
// line there.
struct FileRun {
    std::filesystem::path file;
    std::size_t lines = 0;
};
using FileRuns = std::vector<FileRun>;

}  // namespace levara
