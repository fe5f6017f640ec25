#include "records/text_codec.h"

#include <iconv.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "records/ascii.h"
#include "records/error.h"

namespace levara {

namespace {

bool inRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }
unsigned char byteAt(std::string_view text, std::size_t i) { return static_cast<unsigned char>(text[i]); }

iconv_t openConverter(const char* to, const char* from)
{
    const iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw Error(Message(QT_TRANSLATE_NOOP("levara", "the system cannot convert %1 to %2: %3"), from, to,
                            std::strerror(errno)));
    return cd;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(openConverter(to, from)) {}
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // One character; nothing when the other encoding has no counterpart.
    std::optional<std::string> convert(std::string_view sequence)
    {
        char in[4];
        char out[16];
        std::memcpy(in, sequence.data(), sequence.size());
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = sequence.size();
        std::size_t outLeft = sizeof out;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            return std::nullopt;
        }
        return std::string(out, outPtr);
    }

private:
    iconv_t cd_;
};

// The multi-byte sequence at some position and its length; or, when the bytes there
// are not one, how many of them make up one bad character.
struct Sequence {
    std::size_t length = 1;
    bool good = false;
};

// iconv costs some 100 ns a call, too much for a million lines that each carry a
// Chinese point name; so each character's conversion is asked once per process
// and remembered. An entry holds up to four bytes and their count; 0 is "not yet
// asked", kNoCounterpart a character the other side lacks.
class Memo {
public:
    static constexpr std::uint64_t kNoCounterpart = std::uint64_t{0xFF} << 32;

    explicit Memo(std::size_t size) : entries_(new std::atomic<std::uint64_t>[size]()) {}

    std::atomic<std::uint64_t>& operator[](std::size_t index) { return entries_[index]; }

    static std::uint64_t pack(const std::optional<std::string>& bytes)
    {
        if (!bytes || bytes->empty() || bytes->size() > 4)
            return kNoCounterpart;
        std::uint64_t entry = std::uint64_t{bytes->size()} << 32;
        for (std::size_t k = 0; k < bytes->size(); ++k)
            entry |= std::uint64_t{static_cast<unsigned char>((*bytes)[k])} << (8 * k);
        return entry;
    }

private:
    std::unique_ptr<std::atomic<std::uint64_t>[]> entries_;
};

struct Gb18030ToUtf8 {
    static constexpr const char* from = "GB18030";
    static constexpr const char* to = "UTF-8";
    static constexpr std::string_view bad = "\xEF\xBF\xBD";  // U+FFFD

    static Sequence sequenceAt(std::string_view bytes, std::size_t i)
    {
        // Trail bytes may be ASCII: after a bad lead byte they count again on their own.
        // A sequence cut off by the end of the text is one bad character.
        const std::size_t left = bytes.size() - i;
        if (!inRange(byteAt(bytes, i), 0x81, 0xFE))
            return {};
        if (left < 2)
            return {left, false};
        const unsigned char second = byteAt(bytes, i + 1);
        if (inRange(second, 0x40, 0x7E) || inRange(second, 0x80, 0xFE))
            return {2, true};
        if (!inRange(second, 0x30, 0x39))
            return {};
        if (left < 3)
            return {left, false};
        if (!inRange(byteAt(bytes, i + 2), 0x81, 0xFE))
            return {};
        if (left < 4)
            return {left, false};
        return inRange(byteAt(bytes, i + 3), 0x30, 0x39) ? Sequence{4, true} : Sequence{};
    }

    // Two-byte sequences are remembered; four-byte ones are rare.
    static constexpr std::size_t memoSize = 126 * 191;
    static std::size_t memoIndex(std::string_view sequence)
    {
        if (sequence.size() != 2)
            return memoSize;
        return (byteAt(sequence, 0) - 0x81u) * 191u + (byteAt(sequence, 1) - 0x40u);
    }
};

struct Utf8ToGb18030 {
    static constexpr const char* from = "UTF-8";
    static constexpr const char* to = "GB18030";
    static constexpr std::string_view bad = "?";

    // Overlong forms, surrogates, values beyond U+10FFFF and stray continuation
    // bytes are not UTF-8. A sequence broken off after its first bytes (also by the
    // end of the text) is one bad character.
    static Sequence sequenceAt(std::string_view text, std::size_t i)
    {
        const unsigned char lead = byteAt(text, i);
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (inRange(lead, 0xC2, 0xDF))
            length = 2;
        else if (inRange(lead, 0xE0, 0xEF)) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            if (lead == 0xED)
                high = 0x9F;
        } else if (inRange(lead, 0xF0, 0xF4)) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F;
        } else
            return {};
        const std::size_t left = text.size() - i;
        for (std::size_t k = 1; k < length; ++k)
            if (k == left || !inRange(byteAt(text, i + k), k == 1 ? low : 0x80, k == 1 ? high : 0xBF))
                return {k, false};
        return {length, true};
    }

    // Characters of the basic plane are remembered, by code point.
    static constexpr std::size_t memoSize = 0x10000;
    static std::size_t memoIndex(std::string_view sequence)
    {
        if (sequence.size() == 2)
            return (byteAt(sequence, 0) & 0x1Fu) << 6 | (byteAt(sequence, 1) & 0x3Fu);
        if (sequence.size() == 3)
            return (byteAt(sequence, 0) & 0x0Fu) << 12 | (byteAt(sequence, 1) & 0x3Fu) << 6 |
                   (byteAt(sequence, 2) & 0x3Fu);
        return memoSize;
    }
};

// The walk both directions share: ASCII is copied, well-formed sequences are
// converted, anything else becomes `bad`.
template <typename Direction>
std::string convert(std::string_view in, Replacements* replacements = nullptr)
{
    std::size_t i = detail::asciiPrefixLength(in);
    if (i == in.size())
        return std::string(in);
    static Memo memo(Direction::memoSize);
    // Opened at the first character not yet remembered. Not std::optional: GCC 12
    // then warns that the destructor may read an unset descriptor.
    std::unique_ptr<Converter> converter;

    std::string out;
    out.reserve(in.size() + in.size() / 2);
    out.append(in.data(), i);
    while (i < in.size()) {
        const Sequence sequence = Direction::sequenceAt(in, i);
        if (!sequence.good) {
            if (replacements)
                replacements->add(out.size());
            out += Direction::bad;
            i += sequence.length;
        } else {
            const std::string_view character = in.substr(i, sequence.length);
            const std::size_t index = Direction::memoIndex(character);
            std::uint64_t entry = index < Direction::memoSize ? memo[index].load(std::memory_order_relaxed) : 0;
            if (entry == 0) {
                if (!converter)
                    converter = std::make_unique<Converter>(Direction::to, Direction::from);
                entry = Memo::pack(converter->convert(character));
                if (index < Direction::memoSize)
                    memo[index].store(entry, std::memory_order_relaxed);
            }
            if (entry == Memo::kNoCounterpart) {
                if (replacements)
                    replacements->add(out.size());
                out += Direction::bad;
            } else
                for (std::uint64_t k = 0, n = entry >> 32; k < n; ++k)
                    out += static_cast<char>(entry >> (8 * k));
            i += sequence.length;
        }
        const std::size_t ascii = detail::asciiPrefixLength(in.substr(i));
        out.append(in.data() + i, ascii);
        i += ascii;
    }
    return out;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

void appendCodePoint(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Unpaired surrogates and an odd last byte become U+FFFD.
std::string decodeUtf16(std::string_view bytes, bool bigEndian, Replacements& replacements)
{
    const auto unitAt = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const std::uint32_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            replacements.add(out.size());
            appendCodePoint(out, 0xFFFD);
        } else {
            appendCodePoint(out, unit);
        }
    }
    if (i < bytes.size()) {
        replacements.add(out.size());
        appendCodePoint(out, 0xFFFD);
    }
    return out;
}

// Bad sequences become U+FFFD, as in GB18030 text.
std::string cleanUtf8(std::string_view text, Replacements& replacements)
{
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t ascii = detail::asciiPrefixLength(text.substr(i));
        out.append(text.data() + i, ascii);
        i += ascii;
        if (i == text.size())
            break;
        const Sequence sequence = Utf8ToGb18030::sequenceAt(text, i);
        if (sequence.good) {
            out.append(text.data() + i, sequence.length);
        } else {
            replacements.add(out.size());
            out += Gb18030ToUtf8::bad;
        }
        i += sequence.length;
    }
    return out;
}

// Whole, and beyond ASCII mostly characters of three or four bytes, as Chinese is in
// UTF-8. GB18030 Chinese text is rarely valid UTF-8, and then mostly as pairs of bytes
// ("水准" is CB AE D7 BC, two characters of two bytes in UTF-8).
bool looksLikeUtf8(std::string_view text)
{
    std::size_t pairs = 0, longer = 0;
    std::size_t i = detail::asciiPrefixLength(text);
    while (i < text.size()) {
        const Sequence sequence = Utf8ToGb18030::sequenceAt(text, i);
        if (!sequence.good)
            return false;
        ++(sequence.length == 2 ? pairs : longer);
        i += sequence.length;
        i += detail::asciiPrefixLength(text.substr(i));
    }
    return longer > pairs;
}

}  // namespace

void Replacements::add(std::size_t offset)
{
    if (count++ == 0)
        first = offset;
}

std::string decodeGb18030(std::string_view bytes) { return convert<Gb18030ToUtf8>(bytes); }

std::string_view encodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Gb18030: return "GB18030";
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf16Le: return "UTF-16LE";
    case TextEncoding::Utf16Be: return "UTF-16BE";
    }
    return {};
}

DecodedText decodeText(std::string bytes)
{
    DecodedText decoded;
    // Raw files are almost all ASCII, the same bytes in every encoding: kept, not copied.
    if (detail::isAscii(bytes)) {
        decoded.utf8 = std::move(bytes);
        return decoded;
    }
    if (bytes.starts_with(kUtf8Mark)) {
        decoded.encoding = TextEncoding::Utf8;
        decoded.byteOrderMark = true;
        decoded.utf8 = cleanUtf8(std::string_view(bytes).substr(kUtf8Mark.size()), decoded.replaced);
    } else if (bytes.starts_with(kUtf16LeMark) || bytes.starts_with(kUtf16BeMark)) {
        const bool bigEndian = bytes.starts_with(kUtf16BeMark);
        decoded.encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        decoded.byteOrderMark = true;
        decoded.utf8 = decodeUtf16(std::string_view(bytes).substr(2), bigEndian, decoded.replaced);
    } else if (looksLikeUtf8(bytes)) {
        decoded.encoding = TextEncoding::Utf8;
        decoded.utf8 = std::move(bytes);
    } else {
        decoded.utf8 = convert<Gb18030ToUtf8>(bytes, &decoded.replaced);
    }
    return decoded;
}

std::string encodeGb18030(std::string_view utf8) { return convert<Utf8ToGb18030>(utf8); }

}  // namespace levara
