#pragma once
// The line of the user's file each line of a text came from, so that a fault found in
// a reduced or converted text still leads to the file.
#include <vector>

namespace levara {

// For line i of a text (from 0), the line of the file it came from, from 1. Empty:
// the text has no known origin (it was edited).
using LineOrigins = std::vector<int>;

}  // namespace levara
