#pragma once
// A text's lines cut at the files it joins (levara-cli's several INPUTs, the window's
// 追加文件), so that each file's leveling lines are read on their own: a file without
// Start-Line records does not run on into the file before it, and what is read from
// a file names its lines there.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "leveling/leveling.h"
#include "records/records.h"

namespace levara {

class JoinedLines {
public:
    // text: the whole text, which must outlive the lines unchanged. numbering: the
    // origins the text's lines are numbered by (none: numbered as the text shows them).
    // runs: the files the text joins, which must outlive the lines unchanged; with
    // fewer than two the text is one part, numbered as before. Lines numbered by their
    // origins in a text of several files name their file (TextLines::file).
    JoinedLines(std::string_view text, const LineOrigins& numbering, const FileRuns& runs);
    JoinedLines(const JoinedLines&) = delete;
    JoinedLines& operator=(const JoinedLines&) = delete;

    std::size_t size() const { return parts_.size(); }
    const TextLines& operator[](std::size_t part) const { return parts_[part]; }
    // The first file's lines, where the start height is recorded.
    const TextLines& first() const { return parts_.front(); }
    // The sections of one part, or of every part in order. A fault is located in its
    // part's file when its lines name one.
    std::vector<leveling::Section> sections(std::size_t part, std::optional<leveling::ObservationOrder> order) const;
    std::vector<leveling::Section> sections(std::optional<leveling::ObservationOrder> order) const;

private:
    std::vector<LineOrigins> numbers_;  // each part's, before the parts refer to them
    std::vector<TextLines> parts_;
};

}  // namespace levara
