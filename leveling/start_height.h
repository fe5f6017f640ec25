#pragma once
// The start height a text records: the one rule the books, the route and the files for
// adjustment software take it by.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "records/records.h"

namespace levara::leveling {

// The index of the line that records the start's height: the first height line (a
// "Z" row without a reading) before the text's first reading ("Rb" or "Rf"), where
// the line's first station starts; after it the level writes the heights it computes
// for the points it reaches. None when there is none. A text of several leveling
// lines asks from the line after the last reading of the line before.
std::optional<std::size_t> startHeightIndex(const TextLines& lines, std::size_t from = 0);

// The start's height as the text records it (startHeightIndex), which must be of
// start. Throws InputError naming the line when there is none, it is no number or out
// of range, or it is of another point.
struct RecordedHeight {
    std::string point;
    double height = 0;
    LineNumber line;
    const std::filesystem::path* file = nullptr;  // of the line, when the text joins several
};
RecordedHeight recordedStartHeight(const TextLines& lines, const std::string& start);

}  // namespace levara::leveling
