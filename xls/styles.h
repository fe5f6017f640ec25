#pragma once
// The workbook's cell formats: FONT, FORMAT and XF records, the thin-border variants
// of formats, and the formats authored for templates.
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "xls/record_stream.h"
#include "xls/xls.h"

namespace levara::xls {

using XfBytes = std::array<std::uint8_t, 20>;

// Past this many XFs Excel refuses the workbook.
inline constexpr std::size_t kMaxXfs = 4050;

class Styles {
public:
    // Records as read, in order.
    void readFont(std::string_view body) { fonts_.emplace_back(body); }
    void readFormat(std::string_view body);
    void readXf(std::string_view body);

    std::size_t xfCount() const { return xfs_.size(); }
    const XfBytes& xf(std::uint16_t index) const { return xfs_[index]; }
    bool isStyleXf(std::uint16_t index) const { return xfs_[index][4] & 0x04; }

    void writeFonts(StreamWriter& out) const;
    void writeFormats(StreamWriter& out) const;
    void writeXfs(StreamWriter& out) const;
    // XFCRC's checksum over every XF body.
    std::uint32_t xfChecksum() const;

    // The XF a cell gets from a row or column default: that XF itself, or a cell XF
    // made from it when it is a style XF (cells must not point at style XFs).
    std::uint16_t cellXf(std::uint16_t defaultXf);
    // The XF like `source` with thin automatic-colour borders on all four edges.
    std::uint16_t borderedXf(std::uint16_t source);
    // How many XFs borderedXf would add for these sources (at most once each).
    std::size_t newXfsForBorders(const std::vector<std::uint16_t>& sources);

    Borders borders(std::uint16_t xf) const;
    // The number format code of an XF; "General" for one the workbook does not define.
    std::string formatCode(std::uint16_t xf) const;
    // The XF like `source` with this number format. Throws LimitError when full.
    std::uint16_t withNumberFormat(std::uint16_t source, std::string_view code);
    // The XF like `source` with its font in this colour (a palette index); the font is
    // copied when no font of that colour exists. Throws LimitError when full.
    std::uint16_t withFontColour(std::uint16_t source, std::uint16_t colour);
    std::uint16_t fontColour(std::uint16_t xf) const;
    // The standard font's size: font 0, in points.
    double standardFontPoints() const;
    std::uint16_t addStyle(const CellStyle& style);
    // The FONT record body of a font. Throws Error for an impossible name or size.
    static std::string fontBody(const Font& font);

    // Throws LimitError when `count` more XFs would pass the format's limit.
    void checkRoomFor(std::size_t count) const;
    bool hasRoomFor(std::size_t count) const { return xfs_.size() + count <= kMaxXfs; }

private:
    std::uint16_t findOrAddXf(const XfBytes& xf);
    // The index of an existing font or format, or the one a new record would get
    // (the body to add is returned then).
    std::uint16_t fontIndex(const Font& font, std::string& newBody) const;
    std::uint16_t formatIndex(const std::string& format, std::string& newBody) const;
    XfBytes cellXfBytes(std::uint16_t styleXf) const;
    XfBytes borderedBytes(std::uint16_t source) const;

    std::vector<std::string> fonts_;
    std::vector<std::pair<std::uint16_t, std::string>> formats_;              // index, body
    mutable std::unordered_map<std::u16string, std::uint16_t> formatByCode_;  // of formats_[0, formatsIndexed_)
    mutable std::size_t formatsIndexed_ = 0;
    mutable std::uint16_t nextFormat_ = 164;  // custom number formats start at 164
    std::vector<XfBytes> xfs_;

    struct XfHash {
        std::size_t operator()(const XfBytes& xf) const;
    };
    std::unordered_map<XfBytes, std::uint16_t, XfHash> xfIndex_;  // the first XF of each content
    std::size_t indexed_ = 0;
    std::vector<std::int32_t> borderedCache_;  // by source XF; -1 when not made yet
    std::vector<std::int32_t> cellCache_;
    std::unordered_map<std::uint32_t, std::uint16_t> formattedCache_;  // source XF << 16 | format
    std::unordered_map<std::uint32_t, std::uint16_t> colouredCache_;   // source XF << 16 | colour
    void indexXfs();
    static std::int32_t& cacheSlot(std::vector<std::int32_t>& cache, std::uint16_t xf);
};

}  // namespace levara::xls
