#pragma once
// Raw files, work files and saved text are GB18030 (a superset of code page 936).
// Inside, Levara holds text as UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace levara {

// The characters a decoding could not read, each now U+FFFD.
struct Replacements {
    std::size_t count = 0;
    std::size_t first = 0;  // byte offset of the first in the decoded text
    void add(std::size_t offset);
};

enum class TextEncoding { Gb18030, Utf8, Utf16Le, Utf16Be };
std::string_view encodingName(TextEncoding encoding);  // "GB18030", "UTF-8", ...

struct DecodedText {
    std::string utf8;
    TextEncoding encoding = TextEncoding::Gb18030;
    bool byteOrderMark = false;
    Replacements replaced;
};

// A file the user opens, decoded. A UTF-8 or UTF-16 byte order mark selects that
// encoding (and is dropped). Without one the file is GB18030, unless it is UTF-8
// through and through and its characters beyond ASCII are mostly three or four bytes
// long, as Chinese is in UTF-8: GB18030 Chinese text almost never is (when it is valid
// UTF-8 at all, it reads as pairs of bytes), while UTF-8 read as GB18030 would give
// garbled names without a word.
DecodedText decodeText(std::string bytes);

// Bytes that do not decode become U+FFFD; decoding never fails.
std::string decodeGb18030(std::string_view bytes);

// Every Unicode character has a GB18030 form; invalid UTF-8 bytes become '?'.
std::string encodeGb18030(std::string_view utf8);

}  // namespace levara
