#pragma once
// A text cut into lines: a raw file or work file read back, or the text area's text.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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
    // The lines of the text followed by one more line end, without appending it (a
    // work file holds the text and a final CR LF).
    static TextLines fromTextAndLineEnd(std::string utf8);

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    // Line i, counted from 0.
    std::string_view operator[](std::size_t i) const;

    // The whole text the lines were cut from, line ends included.
    std::size_t textSize() const { return text_.size(); }
    // That text, taken out: the lines are gone afterwards.
    std::string takeText();

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    std::string text_;
    std::vector<Span> lines_;
};

}  // namespace levara
