#pragma once
// The line of the user's file each line of a text came from, so that a fault found in
// a filtered or converted text still leads to the file.
#include <cstddef>
#include <filesystem>
#include <vector>

#include "records/line_number.h"

namespace levara {

// For line i of a text (from 0), the line of the file it came from; none where it is
// not known. Empty: the text has no known origin (it was edited).
using LineOrigins = std::vector<LineNumber>;

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
