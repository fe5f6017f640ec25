#include "commands/joined_lines.h"

#include <algorithm>

namespace levara {

JoinedLines::JoinedLines(std::string_view text, const LineOrigins& numbering, const FileRuns& runs)
{
    if (runs.size() < 2) {
        parts_.push_back(TextLines::viewOf(text));
        if (!numbering.empty())
            parts_.back().numberBy(numbering);
        return;
    }
    // The parts' texts, each of its run's lines; lines past the runs (none, unless the
    // runs miscount) go with the last.
    std::vector<std::string_view> texts;
    std::size_t offset = 0, line = 0;
    for (std::size_t run = 0; run < runs.size(); ++run) {
        const std::size_t begin = offset;
        for (std::size_t k = 0; k < runs[run].lines && offset < text.size(); ++k) {
            const std::size_t end = text.find_first_of("\r\n", offset);
            offset = end == std::string_view::npos
                         ? text.size()
                         : end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
        }
        if (run + 1 == runs.size())
            offset = text.size();
        texts.push_back(text.substr(begin, offset - begin));
        // Numbered by the file's lines, or by the text's own from the run's first line.
        LineOrigins& numbers = numbers_.emplace_back();
        if (!numbering.empty()) {
            const std::size_t count = runs[run].lines;
            const std::size_t from = std::min(line, numbering.size());
            numbers.assign(numbering.begin() + std::ptrdiff_t(from),
                           numbering.begin() + std::ptrdiff_t(std::min(from + count, numbering.size())));
        } else {
            for (std::size_t k = 0; k < runs[run].lines; ++k)
                numbers.push_back(LineNumber::ofIndex(line + k));
        }
        line += runs[run].lines;
    }
    for (std::size_t run = 0; run < runs.size(); ++run) {
        parts_.push_back(TextLines::viewOf(texts[run]));
        parts_.back().numberBy(numbers_[run], numbering.empty() ? nullptr : &runs[run].file);
    }
}

std::vector<leveling::Section> JoinedLines::sections(std::size_t part,
                                                     std::optional<leveling::ObservationOrder> order) const
{
    const TextLines& lines = parts_[part];
    try {
        return leveling::readSections(lines, order);
    } catch (const leveling::OrderContradicted& fault) {
        // Kept whole, its books that fit with it.
        if (!lines.file() || fault.located())
            throw;
        throw leveling::OrderContradicted(fault, *lines.file(), fault.line());
    } catch (const InputError& fault) {
        if (!lines.file() || fault.located())
            throw;
        throw InputError(fault, *lines.file(), fault.line());
    }
}

std::vector<leveling::Section> JoinedLines::sections(std::optional<leveling::ObservationOrder> order) const
{
    std::vector<leveling::Section> all;
    for (std::size_t part = 0; part < parts_.size(); ++part) {
        std::vector<leveling::Section> read = sections(part, order);
        all.insert(all.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
    }
    return all;
}

}  // namespace levara
