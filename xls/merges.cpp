#include "xls/merges.h"

#include <algorithm>

namespace levara::xls {

namespace {

bool overlaps(const Range& a, const Range& b)
{
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstColumn <= b.lastColumn &&
           b.firstColumn <= a.lastColumn;
}

}  // namespace

void Merges::add(const Range& range)
{
    const auto id = std::uint32_t(ranges_.size());
    ranges_.push_back(range);
    alive_.push_back(true);
    ++live_;
    const std::size_t last = std::size_t(range.lastRow - 1) >> kBlockShift;
    if (blocks_.size() <= last)
        blocks_.resize(last + 1);
    for (std::size_t block = std::size_t(range.firstRow - 1) >> kBlockShift; block <= last; ++block)
        blocks_[block].push_back(id);
}

void Merges::remove(std::uint32_t id)
{
    alive_[id] = false;
    --live_;
    const Range& range = ranges_[id];
    const std::size_t last = std::size_t(range.lastRow - 1) >> kBlockShift;
    for (std::size_t block = std::size_t(range.firstRow - 1) >> kBlockShift; block <= last; ++block) {
        std::vector<std::uint32_t>& ids = blocks_[block];
        ids.erase(std::find(ids.begin(), ids.end(), id));
    }
}

void Merges::compact()
{
    std::vector<Range> kept;
    kept.reserve(live_);
    for (std::size_t i = 0; i < ranges_.size(); ++i)
        if (alive_[i])
            kept.push_back(ranges_[i]);
    ranges_.clear();
    alive_.clear();
    blocks_.clear();
    live_ = 0;
    for (const Range& range : kept)
        add(range);
}

void Merges::addRead(const Range& range) { add(range); }

void Merges::merge(const Range& range)
{
    if (range.firstRow == range.lastRow && range.firstColumn == range.lastColumn)
        return;
    found_.clear();
    const std::size_t last = std::min(std::size_t(range.lastRow - 1) >> kBlockShift, blocks_.size());
    for (std::size_t block = std::size_t(range.firstRow - 1) >> kBlockShift; block <= last && block < blocks_.size();
         ++block)
        for (std::uint32_t id : blocks_[block])
            if (overlaps(ranges_[id], range))
                found_.push_back(id);
    std::sort(found_.begin(), found_.end());
    found_.erase(std::unique(found_.begin(), found_.end()), found_.end());
    for (std::uint32_t id : found_)
        remove(id);
    add(range);
    if (ranges_.size() > 64 && live_ < ranges_.size() / 2)
        compact();
}

bool Merges::unmerge(const Range& range)
{
    const std::size_t block = std::size_t(range.firstRow - 1) >> kBlockShift;
    if (block >= blocks_.size())
        return false;
    for (std::uint32_t id : blocks_[block])
        if (ranges_[id] == range) {
            remove(id);
            return true;
        }
    return false;
}

std::optional<Range> Merges::at(int row, int column) const
{
    const std::size_t block = std::size_t(row - 1) >> kBlockShift;
    if (block >= blocks_.size())
        return std::nullopt;
    for (std::uint32_t id : blocks_[block])
        if (ranges_[id].contains(row, column))
            return ranges_[id];
    return std::nullopt;
}

std::vector<Range> Merges::all() const
{
    std::vector<Range> result;
    result.reserve(live_);
    for (std::size_t i = 0; i < ranges_.size(); ++i)
        if (alive_[i])
            result.push_back(ranges_[i]);
    return result;
}

}  // namespace levara::xls
