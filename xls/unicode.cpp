#include "xls/unicode.h"

#include <algorithm>

namespace levara::xls {

std::u16string utf16FromUtf8(std::string_view utf8)
{
    // Point names and labels are mostly ASCII: each byte is its character.
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::u16string(utf8.begin(), utf8.end());
    // No character takes more UTF-16 units than UTF-8 bytes: the text is written into
    // room for that many and cut to its length at the end.
    std::u16string out(utf8.size(), u'\0');
    std::size_t written = 0;
    std::size_t i = 0;
    auto invalid = [] { throw Error(Error::Kind::BadRequest, "UTF-8", "text is not valid UTF-8"); };
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        char32_t code = 0;
        std::size_t length = 1;
        if (lead < 0x80) {
            code = lead;
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            code = lead & 0x1F;
            length = 2;
        } else if ((lead & 0xF0) == 0xE0) {
            code = lead & 0x0F;
            length = 3;
        } else if ((lead & 0xF8) == 0xF0) {
            code = lead & 0x07;
            length = 4;
        } else {
            invalid();
        }
        if (length > utf8.size() - i)
            invalid();
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80)
                invalid();
            code = code << 6 | (next & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            invalid();
        if (code >= 0x10000) {
            code -= 0x10000;
            out[written++] = char16_t(0xD800 + (code >> 10));
            out[written++] = char16_t(0xDC00 + (code & 0x3FF));
        } else {
            out[written++] = char16_t(code);
        }
        i += length;
    }
    out.resize(written);
    return out;
}

std::string utf8FromUtf16(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t code = utf16[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out.push_back(char(code));
        } else if (code < 0x800) {
            out.push_back(char(0xC0 | code >> 6));
            out.push_back(char(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(char(0xE0 | code >> 12));
            out.push_back(char(0x80 | (code >> 6 & 0x3F)));
            out.push_back(char(0x80 | (code & 0x3F)));
        } else {
            out.push_back(char(0xF0 | code >> 18));
            out.push_back(char(0x80 | (code >> 12 & 0x3F)));
            out.push_back(char(0x80 | (code >> 6 & 0x3F)));
            out.push_back(char(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

bool fitsLatin1(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
}

std::u16string readChars(ByteReader& in, std::size_t count, bool wide)
{
    const std::string_view bytes = in.take(count * (wide ? 2 : 1));
    std::u16string text(count, u'\0');
    for (std::size_t i = 0; i < count; ++i)
        text[i] = wide ? char16_t(peekU16(bytes.data() + 2 * i)) : char16_t(std::uint8_t(bytes[i]));
    return text;
}

void putChars(std::string& out, std::u16string_view text, bool wide)
{
    // Sized once: the string table writes every text of a book through here.
    const std::size_t at = out.size();
    out.resize(at + text.size() * (wide ? 2 : 1));
    char* to = out.data() + at;
    for (char16_t c : text) {
        *to++ = char(c & 0xFF);
        if (wide)
            *to++ = char(c >> 8);
    }
}

void putUnicodeString(std::string& out, std::u16string_view text)
{
    const bool wide = !fitsLatin1(text);
    putU16(out, std::uint16_t(text.size()));
    putU8(out, wide ? 1 : 0);
    putChars(out, text, wide);
}

void putShortUnicodeString(std::string& out, std::u16string_view text)
{
    const bool wide = !fitsLatin1(text);
    putU8(out, std::uint8_t(text.size()));
    putU8(out, wide ? 1 : 0);
    putChars(out, text, wide);
}

std::u16string readUnicodeString(ByteReader& in)
{
    const std::uint16_t count = in.u16();
    if (count == 0 && in.atEnd())
        return {};
    const std::uint8_t flags = in.u8();
    return readChars(in, count, flags & 1);
}

std::u16string readShortUnicodeString(ByteReader& in)
{
    const std::uint8_t count = in.u8();
    if (count == 0 && in.atEnd())
        return {};
    const std::uint8_t flags = in.u8();
    return readChars(in, count, flags & 1);
}

}  // namespace levara::xls
