#include "xls/columns.h"

#include <algorithm>

#include "xls/biff_records.h"
#include "xls/bytes.h"
#include "xls/record_ids.h"

namespace levara::xls {

void Columns::read(std::string_view body)
{
    Span span;
    span.first = peekU16(body.data());
    span.last = peekU16(body.data() + 2);
    span.info.width = peekU16(body.data() + 4);
    span.info.xf = peekU16(body.data() + 6);
    span.info.flags = peekU16(body.data() + 8);
    span.info.reserved = body.size() >= 12 ? peekU16(body.data() + 10) : 0;
    if (span.first <= span.last && span.first < 256)
        spans_.push_back(span);
    cacheValid_ = false;
}

void Columns::index() const
{
    cache_.fill(-1);
    for (const Span& span : spans_)
        for (int column = span.first; column <= std::min<int>(span.last, 255); ++column)
            cache_[std::size_t(column)] = span.info.xf;
    cacheValid_ = true;
}

std::optional<std::uint16_t> Columns::width(int column) const
{
    for (const Span& span : spans_)
        if (column >= span.first && column <= span.last)
            return (span.info.flags & 0x0001) ? 0 : span.info.width;  // fHidden
    return std::nullopt;
}

void Columns::set(int first, int last, std::uint16_t width, std::optional<std::uint16_t> xf)
{
    std::array<std::optional<Info>, 256> columns;
    for (const Span& span : spans_)
        for (int column = span.first; column <= std::min<int>(span.last, 255); ++column)
            columns[std::size_t(column)] = span.info;
    for (int column = first; column <= last; ++column) {
        Info info = columns[std::size_t(column)].value_or(Info{});
        info.width = width;
        if (xf)
            info.xf = *xf;
        info.flags |= 0x0002;  // width set by the user
        columns[std::size_t(column)] = info;
    }
    spans_.clear();
    for (int column = 0; column < 256; ++column) {
        if (!columns[std::size_t(column)])
            continue;
        if (!spans_.empty() && spans_.back().last + 1 == column && spans_.back().info == *columns[std::size_t(column)])
            spans_.back().last = std::uint16_t(column);
        else
            spans_.push_back({std::uint16_t(column), std::uint16_t(column), *columns[std::size_t(column)]});
    }
    changed_ = true;
    cacheValid_ = false;
}

void Columns::write(StreamWriter& out) const
{
    for (const Span& span : spans_)
        out.write(rec::kColInfo, body::colInfo(span.first, span.last, span.info.width, span.info.xf, span.info.flags));
}

}  // namespace levara::xls
