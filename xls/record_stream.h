#pragma once
// Reading and writing the record sequence of a Workbook stream.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace levara::xls {

// One record as it lies in the stream: its body points into the stream's bytes.
struct RawRecord {
    std::uint16_t type = 0;
    std::uint32_t position = 0;  // of the record header
    std::string_view body;
};

// Splits a Workbook stream into records, checking that every record lies inside the
// stream and is long enough for the fields its type has. Stops at the zero padding
// after the last EOF. Throws Error.
std::vector<RawRecord> splitRecords(std::string_view stream);

// Where a record lies in the Workbook stream, as an Error's detail: "0x00FD@1234".
std::string recordAt(std::uint16_t type, std::size_t position);
inline std::string recordAt(const RawRecord& record) { return recordAt(record.type, record.position); }

// Builds a Workbook stream. Bodies longer than one record allows go on in CONTINUE
// records, cut by ContinuedRecord (SST uses it directly, for its own rules).
class StreamWriter {
public:
    std::size_t position() const { return bytes_.size(); }
    void write(std::uint16_t type, std::string_view body);
    // A record exactly as given, even over the size limit (kept bytes of a template).
    void writeVerbatim(std::uint16_t type, std::string_view body);
    // Room for size more bytes, records the caller lays out itself; the place
    // returned is valid until the next write.
    char* extend(std::size_t size);

    // Fills a field of a record written before, once its value is known.
    void patchU32(std::size_t position, std::uint32_t value);

    std::string& bytes() { return bytes_; }

private:
    std::string bytes_;
};

// A record whose body is split over CONTINUE records at chosen places: atoms are
// never split, texts may split between characters and then go on after a one-byte
// flag that says whether the rest is 8-bit or 16-bit.
class ContinuedRecord {
public:
    explicit ContinuedRecord(std::uint16_t type) : type_(type) { parts_.emplace_back(); }

    // Starts a new CONTINUE unless the bytes (plus `reserve` more) fit in the current one.
    void atom(std::string_view bytes, std::size_t reserve = 0);
    // Bytes that may be split anywhere.
    void bytes(std::string_view bytes);
    // Characters, 1 or 2 bytes each; split only between characters.
    void text(std::string_view chars, bool wide);

    // Where the next byte goes: the record (0 = the first) and the offset in its body.
    std::size_t currentRecord() const { return parts_.size() - 1; }
    std::size_t currentOffset() const { return parts_.back().size(); }
    std::size_t room() const;

    // Writes the records; returns the stream position of each record's header.
    std::vector<std::size_t> writeTo(StreamWriter& out) const;

private:
    std::uint16_t type_;
    std::vector<std::string> parts_;
};

}  // namespace levara::xls
