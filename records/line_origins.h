#pragma once
// The line of the user's file each line of a text came from, so that a fault found in
// a filtered or converted text still leads to the file.
#include <vector>

#include "records/line_number.h"

namespace levara {

// For line i of a text (from 0), the line of the file it came from; none where it is
// not known. Empty: the text has no known origin (it was edited).
using LineOrigins = std::vector<LineNumber>;

}  // namespace levara
