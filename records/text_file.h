#pragma once
// Reading and writing whole text files, and replacing a user's file safely.
#include <cstddef>
#include <filesystem>
#include <initializer_list>
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

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    // Line i, counted from 0.
    std::string_view operator[](std::size_t i) const;

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    std::string text_;
    std::vector<Span> lines_;
};

// Writes UTF-8 text to file as GB18030, creating or truncating it (work files).
// Throws FileError naming the file.
void writeTextFile(const std::filesystem::path& file, std::string_view utf8);
// The same for text in pieces, each whole UTF-8, written one after the other: the
// text and its final CR LF go out without first joining them into one string.
void writeTextFile(const std::filesystem::path& file, std::initializer_list<std::string_view> pieces);

// Replaces destination as a whole with the given bytes: they are written to a new
// file beside it and renamed over it, so a failure never leaves a half-written file
// and leaves an existing destination as it was. Throws FileError naming the file.
void replaceFile(const std::filesystem::path& destination, std::string_view bytes);

// Replaces destination as a whole with a copy of source, the same way.
void copyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& destination);

}  // namespace levara
