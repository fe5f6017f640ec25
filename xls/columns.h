#pragma once
// Column widths and default formats (COLINFO records) of a worksheet.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "xls/record_stream.h"

namespace levara::xls {

class Columns {
public:
    void read(std::string_view colInfoBody);

    // The XF new cells of the column (from 0) get, when the column has one.
    std::optional<std::uint16_t> xf(int column) const
    {
        if (!cacheValid_)
            index();
        const std::int32_t xf = cache_[std::size_t(column)];
        return xf < 0 ? std::nullopt : std::optional<std::uint16_t>(std::uint16_t(xf));
    }
    // Its width in 1/256 of a character, 0 when hidden; nothing when the column has no format.
    std::optional<std::uint16_t> width(int column) const;

    // Width in 1/256 of a character; xf unchanged when absent.
    void set(int first, int last, std::uint16_t width, std::optional<std::uint16_t> xf);
    bool changed() const { return changed_; }

    // The COLINFO records for the columns as they are now.
    void write(StreamWriter& out) const;

private:
    struct Info {
        std::uint16_t width = 0, xf = 15, flags = 0, reserved = 0;
        bool operator==(const Info&) const = default;
    };
    struct Span {
        std::uint16_t first, last;
        Info info;
    };
    std::vector<Span> spans_;
    bool changed_ = false;
    void index() const;
    mutable std::array<std::int32_t, 256> cache_{};  // XF by column, -1 for none
    mutable bool cacheValid_ = false;
};

}  // namespace levara::xls
