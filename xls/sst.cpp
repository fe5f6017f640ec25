#include "xls/sst.h"

#include "xls/bytes.h"
#include "xls/record_ids.h"
#include "xls/unicode.h"

namespace levara::xls {

namespace {

// Reads across the SST record and its CONTINUE records. Characters cut by a record
// boundary resume after a flag byte that gives the width of the rest.
class ContinuedReader {
public:
    explicit ContinuedReader(const std::vector<std::string_view>& parts) : parts_(parts) {}

    bool atEnd()
    {
        skipEmptyParts();
        return part_ >= parts_.size();
    }

    std::uint8_t u8()
    {
        skipEmptyParts();
        if (part_ >= parts_.size())
            throw Error(Error::Kind::Damaged, "SST", "the shared string table is truncated");
        return std::uint8_t(parts_[part_][offset_++]);
    }
    std::uint16_t u16()
    {
        const std::uint16_t low = u8();
        return std::uint16_t(low | u8() << 8);
    }
    std::uint32_t u32()
    {
        const std::uint32_t low = u16();
        return low | std::uint32_t(u16()) << 16;
    }

    void bytes(std::string& out, std::size_t count)
    {
        while (count > 0) {
            skipEmptyParts();
            if (part_ >= parts_.size())
                throw Error(Error::Kind::Damaged, "SST", "the shared string table is truncated");
            const std::size_t take = std::min(count, parts_[part_].size() - offset_);
            out.append(parts_[part_].substr(offset_, take));
            offset_ += take;
            count -= take;
        }
    }

    std::u16string chars(std::size_t count, bool wide)
    {
        std::u16string text;
        text.reserve(std::min<std::size_t>(count, 4096));
        while (text.size() < count) {
            if (offset_ == parts_[part_].size()) {
                // A new record within the characters: its flag byte gives the width.
                ++part_;
                offset_ = 0;
                if (part_ >= parts_.size() || parts_[part_].empty())
                    throw Error(Error::Kind::Damaged, "SST", "the shared string table is truncated");
                wide = parts_[part_][offset_++] & 1;
            }
            const std::string_view part = parts_[part_];
            if (wide) {
                if (part.size() - offset_ < 2)
                    throw Error(Error::Kind::Damaged, "SST", "the shared string table cuts a character in two");
                text.push_back(char16_t(peekU16(part.data() + offset_)));
                offset_ += 2;
            } else {
                text.push_back(char16_t(std::uint8_t(part[offset_++])));
            }
        }
        return text;
    }

private:
    void skipEmptyParts()
    {
        while (part_ < parts_.size() && offset_ == parts_[part_].size()) {
            ++part_;
            offset_ = 0;
        }
    }

    const std::vector<std::string_view>& parts_;
    std::size_t part_ = 0;
    std::size_t offset_ = 0;
};

}  // namespace

void SharedStrings::read(const std::vector<std::string_view>& parts)
{
    ContinuedReader in(parts);
    in.u32();  // total count: recomputed on writing
    const std::uint32_t unique = in.u32();
    for (std::uint32_t i = 0; i < unique && !in.atEnd(); ++i) {
        SstEntry entry;
        const std::uint16_t count = in.u16();
        const std::uint8_t flags = in.u8();
        entry.wide = flags & 0x01;
        const std::uint16_t runCount = (flags & 0x08) ? in.u16() : 0;
        const std::uint32_t phoneticSize = (flags & 0x04) ? in.u32() : 0;
        entry.text = in.chars(count, entry.wide);
        in.bytes(entry.runs, std::size_t(runCount) * 4);
        in.bytes(entry.phonetic, phoneticSize);
        entries_.push_back(std::move(entry));
    }
    indexed_ = 0;
    slots_.clear();
}

std::uint64_t* SharedStrings::slotFor(std::u16string_view text, std::uint32_t hash)
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        std::uint64_t& slot = slots_[i];
        if (slot == 0 || (std::uint32_t(slot >> 32) == hash && entries_[std::uint32_t(slot) - 1].text == text))
            return &slot;
    }
}

void SharedStrings::index()
{
    if (slots_.size() < 2 * (entries_.size() + 1)) {
        std::size_t size = 64;
        while (size < 4 * (entries_.size() + 1))
            size *= 2;
        slots_.assign(size, 0);
        indexed_ = 0;
    }
    for (; indexed_ < entries_.size(); ++indexed_) {
        const SstEntry& entry = entries_[indexed_];
        if (!entry.runs.empty() || !entry.phonetic.empty())
            continue;
        const auto hash = std::uint32_t(std::hash<std::u16string_view>{}(entry.text));
        std::uint64_t* slot = slotFor(entry.text, hash);
        if (*slot == 0)
            *slot = std::uint64_t(hash) << 32 | std::uint32_t(indexed_ + 1);
    }
}

std::uint32_t SharedStrings::add(std::u16string_view text)
{
    index();
    const auto hash = std::uint32_t(std::hash<std::u16string_view>{}(text));
    std::uint64_t* slot = slotFor(text, hash);
    if (*slot != 0)
        return std::uint32_t(*slot) - 1;
    SstEntry entry;
    entry.text = text;
    entry.wide = !fitsLatin1(text);
    entries_.push_back(std::move(entry));
    *slot = std::uint64_t(hash) << 32 | std::uint32_t(entries_.size());
    indexed_ = entries_.size();
    return std::uint32_t(entries_.size() - 1);
}

SharedStrings::Written SharedStrings::write(StreamWriter& out, const std::vector<bool>& used, std::uint32_t total,
                                            std::uint16_t bucket) const
{
    Written result;
    result.newIndex.assign(entries_.size(), kUnused);
    std::uint32_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (used[i])
            result.newIndex[i] = kept++;

    // Readers find strings through EXTSST buckets: the first string of each bucket.
    struct Mark {
        std::size_t record, offset;
    };
    std::vector<Mark> marks;

    ContinuedRecord sst(rec::kSst);
    std::string head;
    putU32(head, total);
    putU32(head, kept);
    sst.atom(head);
    std::uint32_t written = 0;
    std::string header, chars;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!used[i])
            continue;
        const SstEntry& entry = entries_[i];
        header.clear();
        putU16(header, std::uint16_t(entry.text.size()));
        putU8(header, std::uint8_t((entry.wide ? 0x01 : 0) | (entry.phonetic.empty() ? 0 : 0x04) |
                                   (entry.runs.empty() ? 0 : 0x08)));
        if (!entry.runs.empty())
            putU16(header, std::uint16_t(entry.runs.size() / 4));
        if (!entry.phonetic.empty())
            putU32(header, std::uint32_t(entry.phonetic.size()));
        // A header never splits: it goes on in a new record unless one character fits too.
        sst.atom(header, entry.text.empty() ? 0 : (entry.wide ? 2 : 1));
        if (written % bucket == 0)
            marks.push_back({sst.currentRecord(), sst.currentOffset() - header.size()});
        chars.clear();
        putChars(chars, entry.text, entry.wide);
        sst.text(chars, entry.wide);
        for (std::size_t run = 0; run < entry.runs.size(); run += 4)
            sst.atom(std::string_view(entry.runs).substr(run, 4));
        sst.bytes(entry.phonetic);
        ++written;
    }
    const std::vector<std::size_t> positions = sst.writeTo(out);

    putU16(result.extSst, std::uint16_t(bucket));
    for (const Mark& mark : marks) {
        putU32(result.extSst, std::uint32_t(positions[mark.record] + 4 + mark.offset));
        putU16(result.extSst, std::uint16_t(mark.offset + 4));
        putU16(result.extSst, 0);
    }
    return result;
}

}  // namespace levara::xls
