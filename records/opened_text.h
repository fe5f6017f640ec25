#pragma once
// What the open command shows for a file, and where each of its lines came from.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "records/line_origins.h"
#include "records/message.h"

namespace levara {

// A GSI file (told by its content) converted to raw lines, any other file's non-empty
// lines, each line followed by CR LF; for each line, the line of the file it came
// from; for a converted text, or one not read as GB18030, the status saying so; for
// characters that did not decode, a warning with their count and first line; and for
// records of a GSI file that are no leveling (collimation checks, line-closing
// blocks), a warning saying how many were passed over.
struct OpenedText {
    std::string text;
    LineOrigins origins;
    std::optional<Message> status;
    std::optional<Message> warning;
    std::optional<Message> passedOver;
};

// The file's bytes as the open command shows them. Throws FileError naming the file
// (and, for a GSI file, its line).
OpenedText openedText(std::string bytes, const std::filesystem::path& file);
// The same, read from the file (readInputFile).
OpenedText readOpenedText(const std::filesystem::path& file);

}  // namespace levara
