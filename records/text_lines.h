#pragma once
// A text cut into lines: a raw file or work file read back, or the text area's text.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "records/line_origins.h"

namespace levara {

// The lines of a text, decoded to UTF-8. A line ends at CR LF, at CR or at a lone LF;
// the line end is not part of the line. A text that ends with a line end has no extra
// empty line after it; an empty text has no lines.
class TextLines {
public:
    // Reads and decodes a GB18030 file. Throws FileError naming the file.
    static TextLines read(const std::filesystem::path& file);
    // Splits text that is already UTF-8, by the same rule.
    static TextLines fromText(std::string utf8);
    // The lines of the text without copying it: they refer to it, and it must outlive
    // them unchanged.
    static TextLines viewOf(std::string_view utf8);
    // The lines of the text followed by one more line end, as a work file holds it,
    // without copying the text: the lines refer to it, and it must outlive them
    // unchanged.
    static TextLines viewOfTextAndLineEnd(std::string_view utf8);

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    // Line i, counted from 0.
    std::string_view operator[](std::size_t i) const;

    // The number a message gives line i: its own, or its origin once numbered by the
    // origins of the lines, which must outlive them unchanged.
    LineNumber number(std::size_t i) const
    {
        return numbers_ && i < numbers_->size() && (*numbers_)[i].known() ? (*numbers_)[i] : LineNumber::ofIndex(i);
    }
    void numberBy(const LineOrigins& origins) { numbers_ = &origins; }
    // The same, the origins being lines of file, one of several a text joins: what is
    // read from the lines names it (file()). file must outlive the lines unchanged.
    void numberBy(const LineOrigins& origins, const std::filesystem::path* file)
    {
        numbers_ = &origins;
        file_ = file;
    }
    // The file the lines are numbered in, when numbered by one of several; none otherwise.
    const std::filesystem::path* file() const { return file_; }

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    std::string text_;         // the text, when the lines hold it
    std::string_view viewed_;  // the text, when they only refer to it
    bool viewing_ = false;
    std::vector<Span> lines_;
    const LineOrigins* numbers_ = nullptr;
    const std::filesystem::path* file_ = nullptr;

    std::string_view whole() const { return viewing_ ? viewed_ : std::string_view(text_); }
    void split();
};

// Whether the text is lines none of them empty, each ended by CR LF: a raw file as
// the instrument writes it.
bool areNonEmptyCrLfLines(std::string_view text);

}  // namespace levara
