#pragma once
// The shared string table (SST): every text cell of the workbook refers to an entry.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xls/record_stream.h"

namespace levara::xls {

struct SstEntry {
    std::u16string text;
    bool wide = false;     // stored as 16-bit; kept as read so unchanged strings write the same bytes
    std::string runs;      // rich text formatting runs, 4 bytes each
    std::string phonetic;  // phonetic (ExtRst) bytes
};

class SharedStrings {
public:
    // The SST body followed by the bodies of its CONTINUE records. Throws Error.
    void read(const std::vector<std::string_view>& parts);

    // The index of a plain entry with this text, added at the end when there is none.
    std::uint32_t add(std::u16string_view text);

    std::size_t size() const { return entries_.size(); }
    const SstEntry& entry(std::uint32_t index) const { return entries_[index]; }

    // Writes SST (+CONTINUE) with the entries marked used, in their order, and makes
    // the EXTSST body for buckets of `bucket` strings. Returns the position of each
    // kept entry in the new table (or kUnused).
    static constexpr std::uint32_t kUnused = 0xFFFFFFFF;
    struct Written {
        std::vector<std::uint32_t> newIndex;
        std::string extSst;  // the EXTSST body to write after the SST
    };
    Written write(StreamWriter& out, const std::vector<bool>& used, std::uint32_t total, std::uint16_t bucket) const;

private:
    std::vector<SstEntry> entries_;
    // The plain entries by text, the first of equal ones: open addressing, each slot
    // the text's hash (high half) and the entry's index + 1 (low half; 0 is empty), a
    // power of two of them kept at most half full. A flat table, as every text a book
    // writes is looked up here.
    std::vector<std::uint64_t> slots_;
    std::size_t indexed_ = 0;  // entries_[0, indexed_) have been offered to the table
    std::uint64_t* slotFor(std::u16string_view text, std::uint32_t hash);
    void index();
};

}  // namespace levara::xls
