#include "xls/record_stream.h"

#include <algorithm>
#include <cstdio>

#include "xls/bytes.h"
#include "xls/record_ids.h"

namespace levara::xls {

namespace {

std::string hex(std::uint16_t type)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", type);
    return text;
}

}  // namespace

std::string recordAt(std::uint16_t type, std::size_t position) { return hex(type) + "@" + std::to_string(position); }

std::vector<RawRecord> splitRecords(std::string_view stream)
{
    std::vector<RawRecord> records;
    records.reserve(stream.size() / 16);
    std::size_t position = 0;
    int depth = 0;
    while (position < stream.size()) {
        // Writers pad the stream after the last EOF; what follows it is not read.
        if (depth <= 0 && !records.empty() && records.back().type == rec::kEof &&
            (stream.size() - position < 4 || peekU16(stream.data() + position) == 0))
            break;
        if (stream.size() - position < 4)
            throw Error(Error::Kind::Damaged, "@" + std::to_string(position),
                        "the Workbook stream is truncated inside a record header at byte " + std::to_string(position));
        const std::uint16_t type = peekU16(stream.data() + position);
        const std::uint16_t length = peekU16(stream.data() + position + 2);
        if (length > stream.size() - position - 4)
            throw Error(Error::Kind::Damaged, recordAt(type, position),
                        "record " + hex(type) + " at byte " + std::to_string(position) + " claims " +
                            std::to_string(length) + " bytes but the stream ends after " +
                            std::to_string(stream.size() - position - 4));
        if (length < rec::minimumBody(type))
            throw Error(Error::Kind::Damaged, recordAt(type, position),
                        "record " + hex(type) + " at byte " + std::to_string(position) + " has " +
                            std::to_string(length) + " bytes, too few for its type");
        records.push_back({type, std::uint32_t(position), stream.substr(position + 4, length)});
        if (type == rec::kBof)
            ++depth;
        else if (type == rec::kEof)
            --depth;
        position += 4 + std::size_t(length);
    }
    return records;
}

void StreamWriter::write(std::uint16_t type, std::string_view body)
{
    if (body.size() <= rec::kMaxBody) {
        writeVerbatim(type, body);
        return;
    }
    ContinuedRecord record(type);
    record.bytes(body);
    record.writeTo(*this);
}

void StreamWriter::writeVerbatim(std::uint16_t type, std::string_view body)
{
    putU16(bytes_, type);
    putU16(bytes_, std::uint16_t(body.size()));
    bytes_.append(body);
}

char* StreamWriter::extend(std::size_t size)
{
    const std::size_t at = bytes_.size();
    bytes_.resize(at + size);
    return bytes_.data() + at;
}

void StreamWriter::patchU32(std::size_t position, std::uint32_t value) { pokeU32(bytes_.data() + position, value); }

std::size_t ContinuedRecord::room() const { return rec::kMaxBody - parts_.back().size(); }

void ContinuedRecord::atom(std::string_view bytes, std::size_t reserve)
{
    if (bytes.size() + reserve > room())
        parts_.emplace_back();
    parts_.back().append(bytes);
}

void ContinuedRecord::bytes(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (room() == 0)
            parts_.emplace_back();
        const std::size_t count = std::min(room(), bytes.size());
        parts_.back().append(bytes.substr(0, count));
        bytes.remove_prefix(count);
    }
}

void ContinuedRecord::text(std::string_view chars, bool wide)
{
    const std::size_t unit = wide ? 2 : 1;
    while (!chars.empty()) {
        std::size_t fit = room() / unit * unit;
        if (fit == 0) {
            // Characters resume after a flag byte saying how wide they are.
            parts_.emplace_back(1, char(wide ? 1 : 0));
            fit = room() / unit * unit;
        }
        const std::size_t count = std::min(fit, chars.size());
        parts_.back().append(chars.substr(0, count));
        chars.remove_prefix(count);
    }
}

std::vector<std::size_t> ContinuedRecord::writeTo(StreamWriter& out) const
{
    std::vector<std::size_t> positions;
    positions.reserve(parts_.size());
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        positions.push_back(out.position());
        out.writeVerbatim(i == 0 ? type_ : rec::kContinue, parts_[i]);
    }
    return positions;
}

}  // namespace levara::xls
