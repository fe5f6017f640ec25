#pragma once
// The merged ranges of a worksheet, indexed by blocks of 32 rows so that finding the
// merges a new one overlaps costs the same however many merges the sheet has.
#include <cstdint>
#include <optional>
#include <vector>

#include "xls/xls.h"

namespace levara::xls {

class Merges {
public:
    // As read: kept even when they overlap or cover one cell.
    void addRead(const Range& range);
    // Removes every merge overlapping `range`, then adds it.
    void merge(const Range& range);
    // Removes that exact merge; false when there is none.
    bool unmerge(const Range& range);

    std::optional<Range> at(int row, int column) const;
    // In order: those read first, then those added.
    std::vector<Range> all() const;
    std::size_t size() const { return live_; }

private:
    static constexpr int kBlockShift = 5;
    void add(const Range& range);
    void remove(std::uint32_t id);
    void compact();

    std::vector<Range> ranges_;
    std::vector<bool> alive_;
    std::size_t live_ = 0;
    std::vector<std::vector<std::uint32_t>> blocks_;  // ids of live merges touching each block of rows
    std::vector<std::uint32_t> found_;
};

}  // namespace levara::xls
