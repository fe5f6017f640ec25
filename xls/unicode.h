#pragma once
// Text as the engine holds it (UTF-16, as BIFF8 stores it) and as the API speaks it (UTF-8).
#include <string>
#include <string_view>

#include "xls/bytes.h"

namespace levara::xls {

// Throws Error when the text is not valid UTF-8.
std::u16string utf16FromUtf8(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(std::u16string_view utf16);

// Whether every code unit fits the 8-bit ("compressed") form.
bool fitsLatin1(std::u16string_view text);

// `count` characters in the 8-bit or 16-bit form.
std::u16string readChars(ByteReader& in, std::size_t count, bool wide);
// The characters alone, in the given form.
void putChars(std::string& out, std::u16string_view text, bool wide);

// XLUnicodeString (u16 length) and ShortXLUnicodeString (u8 length): the length, a
// flag byte, the characters; 8-bit when every character allows it.
void putUnicodeString(std::string& out, std::u16string_view text);
void putShortUnicodeString(std::string& out, std::u16string_view text);
std::u16string readUnicodeString(ByteReader& in);
std::u16string readShortUnicodeString(ByteReader& in);

}  // namespace levara::xls
