#include "xls/styles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "xls/bytes.h"
#include "xls/record_ids.h"
#include "xls/unicode.h"

namespace levara::xls {

namespace {

constexpr std::uint8_t kAutomaticColour = 0x40;
constexpr std::uint8_t kThin = 1;

std::uint32_t xfU32(const XfBytes& xf, std::size_t at)
{
    return std::uint32_t(xf[at]) | std::uint32_t(xf[at + 1]) << 8 | std::uint32_t(xf[at + 2]) << 16 |
           std::uint32_t(xf[at + 3]) << 24;
}

void setXfU32(XfBytes& xf, std::size_t at, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        xf[at + i] = std::uint8_t(value >> (8 * i));
}

// Number formats every reader knows by index; others need a FORMAT record.
struct BuiltinFormat {
    std::uint16_t index;
    const char* code;
};
constexpr BuiltinFormat kBuiltinFormats[] = {
    {0, "General"}, {1, "0"},          {2, "0.00"},     {3, "#,##0"},     {4, "#,##0.00"}, {9, "0%"},
    {10, "0.00%"},  {11, "0.00E+00"},  {12, "# ?/?"},   {13, "# ?\?/??"}, {20, "h:mm"},    {21, "h:mm:ss"},
    {45, "mm:ss"},  {46, "[h]:mm:ss"}, {47, "mm:ss.0"}, {48, "##0.0E+0"}, {49, "@"},
};

// Fonts 0-3 are records 0-3; index 4 does not exist, so record 4 is font 5.
std::uint16_t fontIndexOfRecord(std::size_t record) { return std::uint16_t(record < 4 ? record : record + 1); }

}  // namespace

std::string Styles::fontBody(const Font& font)
{
    const std::u16string name = utf16FromUtf8(font.name);
    if (name.empty() || name.size() > 31)
        throw Error(Error::Kind::BadRequest, font.name, "font name \"" + font.name + "\" must have 1 to 31 characters");
    if (!(font.points >= 1 && font.points <= 409))
        throw Error(Error::Kind::BadRequest, std::to_string(font.points),
                    "font size " + std::to_string(font.points) + " is outside 1 to 409 points");
    std::string body;
    putU16(body, std::uint16_t(std::lround(font.points * 20)));
    // Bit 0 still marks bold for readers that look at it rather than at the weight.
    putU16(body, std::uint16_t((font.bold ? 0x0001 : 0) | (font.italic ? 0x0002 : 0)));
    putU16(body, 0x7FFF);  // automatic colour
    putU16(body, font.bold ? 700 : 400);
    putU16(body, 0);  // no super/subscript
    putU8(body, font.underline ? 1 : 0);
    putU8(body, 0);
    // Chinese names need the GB 2312 character set for readers to pick the face.
    putU8(body, fitsLatin1(name) ? 0 : 134);
    putU8(body, 0);
    putShortUnicodeString(body, name);
    return body;
}

std::size_t Styles::XfHash::operator()(const XfBytes& xf) const
{
    std::size_t hash = 1469598103934665603ull;
    for (std::uint8_t byte : xf)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

void Styles::readFormat(std::string_view body) { formats_.emplace_back(peekU16(body.data()), std::string(body)); }

void Styles::readXf(std::string_view body)
{
    XfBytes xf;
    std::memcpy(xf.data(), body.data(), xf.size());
    xfs_.push_back(xf);
}

void Styles::writeFonts(StreamWriter& out) const
{
    for (const std::string& body : fonts_)
        out.write(rec::kFont, body);
}

void Styles::writeFormats(StreamWriter& out) const
{
    for (const auto& [index, body] : formats_)
        out.write(rec::kFormat, body);
}

void Styles::writeXfs(StreamWriter& out) const
{
    for (const XfBytes& xf : xfs_)
        out.write(rec::kXf, std::string_view(reinterpret_cast<const char*>(xf.data()), xf.size()));
}

std::uint32_t Styles::xfChecksum() const
{
    // MSB-first CRC-32, polynomial 0xAF, over the XF bodies: what Excel stores in XFCRC.
    std::uint32_t crc = 0;
    for (const XfBytes& xf : xfs_)
        for (std::uint8_t byte : xf) {
            crc ^= std::uint32_t(byte) << 24;
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc & 0x80000000u) ? (crc << 1) ^ 0xAFu : crc << 1;
        }
    return crc;
}

void Styles::checkRoomFor(std::size_t count) const
{
    if (xfs_.size() + count > kMaxXfs)
        throw LimitError(Error::Kind::FormatLimit, std::to_string(kMaxXfs),
                         "the workbook would need more than " + std::to_string(kMaxXfs) + " cell formats (it has " +
                             std::to_string(xfs_.size()) + ")");
}

void Styles::indexXfs()
{
    for (; indexed_ < xfs_.size(); ++indexed_)
        xfIndex_.emplace(xfs_[indexed_], std::uint16_t(indexed_));
}

std::int32_t& Styles::cacheSlot(std::vector<std::int32_t>& cache, std::uint16_t xf)
{
    if (cache.size() <= xf)
        cache.resize(std::max<std::size_t>(xf + 1, kMaxXfs + 1), -1);
    return cache[xf];
}

std::uint16_t Styles::findOrAddXf(const XfBytes& xf)
{
    indexXfs();
    if (auto it = xfIndex_.find(xf); it != xfIndex_.end())
        return it->second;
    checkRoomFor(1);
    xfs_.push_back(xf);
    indexXfs();
    return std::uint16_t(xfs_.size() - 1);
}

XfBytes Styles::cellXfBytes(std::uint16_t styleXf) const
{
    XfBytes xf = xfs_[styleXf];
    const std::uint16_t protection = std::uint16_t((xf[4] | xf[5] << 8) & 0x0003) | std::uint16_t(styleXf << 4);
    xf[4] = std::uint8_t(protection);
    xf[5] = std::uint8_t(protection >> 8);
    xf[9] |= 0xFC;  // every attribute is this XF's own
    return xf;
}

std::uint16_t Styles::cellXf(std::uint16_t defaultXf)
{
    if (defaultXf >= xfs_.size())
        defaultXf = 0;
    if (!isStyleXf(defaultXf))
        return defaultXf;
    std::int32_t& slot = cacheSlot(cellCache_, defaultXf);
    if (slot < 0)
        slot = findOrAddXf(cellXfBytes(defaultXf));
    return std::uint16_t(slot);
}

XfBytes Styles::borderedBytes(std::uint16_t source) const
{
    XfBytes xf = xfs_[source];
    std::uint32_t lines = xfU32(xf, 10) & 0xC0000000u;  // keep the diagonal flags
    lines |= kThin | kThin << 4 | kThin << 8 | kThin << 12;
    lines |= std::uint32_t(kAutomaticColour) << 16 | std::uint32_t(kAutomaticColour) << 23;
    setXfU32(xf, 10, lines);
    std::uint32_t colours = xfU32(xf, 14) & ~(0x3FFFu | 0x7Fu << 14 | 1u << 25);
    colours |= std::uint32_t(kAutomaticColour) | std::uint32_t(kAutomaticColour) << 7;
    setXfU32(xf, 14, colours);
    xf[9] |= 0x20;  // the border is this XF's own
    return xf;
}

std::uint16_t Styles::borderedXf(std::uint16_t source)
{
    if (source >= xfs_.size())
        source = 0;
    std::int32_t& slot = cacheSlot(borderedCache_, source);
    if (slot < 0)
        slot = findOrAddXf(borderedBytes(source));
    return std::uint16_t(slot);
}

std::size_t Styles::newXfsForBorders(const std::vector<std::uint16_t>& sources)
{
    indexXfs();
    std::vector<XfBytes> added;
    for (std::uint16_t source : sources) {
        if (source >= xfs_.size() || cacheSlot(borderedCache_, source) >= 0)
            continue;
        const XfBytes xf = borderedBytes(source);
        if (!xfIndex_.contains(xf) && std::find(added.begin(), added.end(), xf) == added.end())
            added.push_back(xf);
    }
    return added.size();
}

Borders Styles::borders(std::uint16_t xf) const
{
    if (xf >= xfs_.size())
        return {};
    const std::uint32_t lines = xfU32(xfs_[xf], 10);
    return {std::uint8_t(lines & 0xF), std::uint8_t(lines >> 4 & 0xF), std::uint8_t(lines >> 8 & 0xF),
            std::uint8_t(lines >> 12 & 0xF)};
}

std::string Styles::formatCode(std::uint16_t xf) const
{
    if (xf >= xfs_.size())
        return "General";
    const std::uint16_t format = std::uint16_t(xfs_[xf][2] | xfs_[xf][3] << 8);
    for (const auto& [index, body] : formats_)
        if (index == format) {
            try {
                ByteReader in(body, "FORMAT");
                in.u16();
                return utf8FromUtf16(readUnicodeString(in));
            } catch (const Error&) {
                break;
            }
        }
    for (const BuiltinFormat& builtin : kBuiltinFormats)
        if (builtin.index == format)
            return builtin.code;
    return "General";
}

std::uint16_t Styles::withNumberFormat(std::uint16_t source, std::string_view code)
{
    if (source >= xfs_.size())
        source = 0;
    std::string newFormat;
    const std::uint16_t format = formatIndex(std::string(code), newFormat);
    const std::uint32_t key = std::uint32_t(source) << 16 | format;
    if (const auto it = formattedCache_.find(key); it != formattedCache_.end())
        return it->second;
    XfBytes xf = xfs_[source];
    xf[2] = std::uint8_t(format);
    xf[3] = std::uint8_t(format >> 8);
    xf[9] |= 0x04;  // the number format is this XF's own
    const std::uint16_t index = findOrAddXf(xf);
    if (!newFormat.empty())
        formats_.emplace_back(format, newFormat);
    formattedCache_.emplace(key, index);
    return index;
}

namespace {

// A FONT record's colour: its icv, bytes 4 and 5 ([MS-XLS] 2.4.122 Font).
constexpr std::size_t kFontColourOffset = 4;

// The FONT record of a font index (index 4 does not exist), or none.
std::size_t fontRecordOf(std::uint16_t font) { return font < 4 ? font : font == 4 ? SIZE_MAX : font - 1u; }

}  // namespace

std::uint16_t Styles::fontColour(std::uint16_t xf) const
{
    if (xf >= xfs_.size())
        return kAutomaticFontColour;
    const std::size_t record = fontRecordOf(std::uint16_t(xfs_[xf][0] | xfs_[xf][1] << 8));
    if (record >= fonts_.size() || fonts_[record].size() < kFontColourOffset + 2)
        return kAutomaticFontColour;
    return peekU16(fonts_[record].data() + kFontColourOffset);
}

std::uint16_t Styles::withFontColour(std::uint16_t source, std::uint16_t colour)
{
    if (source >= xfs_.size())
        source = 0;
    const std::uint32_t key = std::uint32_t(source) << 16 | colour;
    if (const auto it = colouredCache_.find(key); it != colouredCache_.end())
        return it->second;
    if (fontColour(source) == colour)
        return colouredCache_[key] = source;
    const std::size_t record = fontRecordOf(std::uint16_t(xfs_[source][0] | xfs_[source][1] << 8));
    std::string body = record < fonts_.size() && fonts_[record].size() >= kFontColourOffset + 2
                           ? fonts_[record]
                           : (fonts_.empty() ? fontBody(Font{}) : fonts_[0]);
    body[kFontColourOffset] = char(colour & 0xFF);
    body[kFontColourOffset + 1] = char(colour >> 8);
    std::size_t font = std::find(fonts_.begin(), fonts_.end(), body) - fonts_.begin();
    XfBytes xf = xfs_[source];
    const bool newFont = font == fonts_.size();
    const std::uint16_t fontIndex = fontIndexOfRecord(font);
    xf[0] = std::uint8_t(fontIndex);
    xf[1] = std::uint8_t(fontIndex >> 8);
    xf[9] |= 0x08;  // the font is this XF's own
    indexXfs();
    if (!xfIndex_.contains(xf))
        checkRoomFor(1);
    if (newFont)
        fonts_.push_back(body);
    return colouredCache_[key] = findOrAddXf(xf);
}

double Styles::standardFontPoints() const
{
    return fonts_.empty() || fonts_[0].size() < 2 ? 10 : peekU16(fonts_[0].data()) / 20.0;
}

std::uint16_t Styles::fontIndex(const Font& font, std::string& newBody) const
{
    const std::string body = fontBody(font);
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i] == body)
            return fontIndexOfRecord(i);
    newBody = body;
    return fontIndexOfRecord(fonts_.size());
}

std::uint16_t Styles::formatIndex(const std::string& format, std::string& newBody) const
{
    for (const BuiltinFormat& builtin : kBuiltinFormats)
        if (format == builtin.code)
            return builtin.index;
    const std::u16string code = utf16FromUtf8(format);
    if (code.empty() || code.size() > 255)
        throw Error(Error::Kind::BadRequest, format, "number format \"" + format + "\" must have 1 to 255 characters");
    for (; formatsIndexed_ < formats_.size(); ++formatsIndexed_) {
        const auto& [index, existing] = formats_[formatsIndexed_];
        nextFormat_ = std::max<std::uint16_t>(nextFormat_, std::uint16_t(index + 1));
        try {
            ByteReader in(existing, "FORMAT");
            in.u16();
            formatByCode_.emplace(readUnicodeString(in), index);
        } catch (const Error&) {
            // An unreadable format of the template cannot be the one asked for.
        }
    }
    if (const auto it = formatByCode_.find(code); it != formatByCode_.end())
        return it->second;
    putU16(newBody, nextFormat_);
    putUnicodeString(newBody, code);
    return nextFormat_;
}

std::uint16_t Styles::addStyle(const CellStyle& style)
{
    std::string newFont, newFormat;
    const std::uint16_t font = fontIndex(style.font, newFont);
    const std::uint16_t format = formatIndex(style.numberFormat, newFormat);
    XfBytes xf{};
    xf[0] = std::uint8_t(font);
    xf[1] = std::uint8_t(font >> 8);
    xf[2] = std::uint8_t(format);
    xf[3] = std::uint8_t(format >> 8);
    xf[4] = 0x01;  // locked; parent: the Normal style
    static constexpr std::uint8_t kHorizontal[] = {0, 1, 2, 3};
    static constexpr std::uint8_t kVertical[] = {0, 1, 2};
    xf[6] = std::uint8_t(kHorizontal[int(style.horizontal)] | (style.wrap ? 0x08 : 0) |
                         kVertical[int(style.vertical)] << 4);
    xf[9] = 0xFC;
    xf[18] = 0xC0;  // pattern colours: automatic
    xf[19] = 0x20;
    if (style.thinBorders) {
        setXfU32(xf, 10,
                 kThin | kThin << 4 | kThin << 8 | kThin << 12 | std::uint32_t(kAutomaticColour) << 16 |
                     std::uint32_t(kAutomaticColour) << 23);
        setXfU32(xf, 14, std::uint32_t(kAutomaticColour) | std::uint32_t(kAutomaticColour) << 7);
    }
    indexXfs();
    if (auto it = xfIndex_.find(xf); it != xfIndex_.end())
        return it->second;
    checkRoomFor(1);
    if (!newFont.empty())
        fonts_.push_back(newFont);
    if (!newFormat.empty())
        formats_.emplace_back(format, newFormat);
    return findOrAddXf(xf);
}

}  // namespace levara::xls
