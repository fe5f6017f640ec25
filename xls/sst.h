#pragma once
// The shared string table (SST): every text cell of the workbook refers to an entry.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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
    std::unordered_map<std::u16string, std::uint32_t> plainIndex_;
    bool indexed_ = false;
    void buildIndex();
};

}  // namespace levara::xls
