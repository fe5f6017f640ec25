#pragma once
// Little-endian fields: a bounds-checked reader over bytes read from a file, and
// appenders for building record bodies.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "xls/xls.h"

namespace levara::xls {

inline std::uint16_t peekU16(const char* p) { return std::uint16_t(std::uint8_t(p[0]) | std::uint8_t(p[1]) << 8); }

inline std::uint32_t peekU32(const char* p) { return std::uint32_t(peekU16(p)) | std::uint32_t(peekU16(p + 2)) << 16; }

inline double peekDouble(const char* p)
{
    std::uint64_t bits = std::uint64_t(peekU32(p)) | std::uint64_t(peekU32(p + 4)) << 32;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void pokeU16(char* p, std::uint16_t value)
{
    p[0] = char(value & 0xFF);
    p[1] = char(value >> 8);
}

inline void pokeU32(char* p, std::uint32_t value)
{
    pokeU16(p, std::uint16_t(value & 0xFFFF));
    pokeU16(p + 2, std::uint16_t(value >> 16));
}

inline void pokeDouble(char* p, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    pokeU32(p, std::uint32_t(bits));
    pokeU32(p + 4, std::uint32_t(bits >> 32));
}

inline void putU8(std::string& out, std::uint8_t value) { out.push_back(char(value)); }

inline void putU16(std::string& out, std::uint16_t value)
{
    out.push_back(char(value & 0xFF));
    out.push_back(char(value >> 8));
}

inline void putU32(std::string& out, std::uint32_t value)
{
    putU16(out, std::uint16_t(value & 0xFFFF));
    putU16(out, std::uint16_t(value >> 16));
}

inline void putDouble(std::string& out, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(out, std::uint32_t(bits));
    putU32(out, std::uint32_t(bits >> 32));
}

// Reads fields in order; running past the end throws Error, so a record that
// lies about its content can never cause a read outside its body.
class ByteReader {
public:
    ByteReader(std::string_view bytes, const char* what) : bytes_(bytes), what_(what) {}

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return bytes_.size() - offset_; }
    bool atEnd() const { return offset_ == bytes_.size(); }

    std::uint8_t u8()
    {
        need(1);
        return std::uint8_t(bytes_[offset_++]);
    }
    std::uint16_t u16()
    {
        need(2);
        const std::uint16_t value = peekU16(bytes_.data() + offset_);
        offset_ += 2;
        return value;
    }
    std::uint32_t u32()
    {
        need(4);
        const std::uint32_t value = peekU32(bytes_.data() + offset_);
        offset_ += 4;
        return value;
    }
    double f64()
    {
        need(8);
        const double value = peekDouble(bytes_.data() + offset_);
        offset_ += 8;
        return value;
    }
    std::string_view take(std::size_t count)
    {
        need(count);
        const std::string_view part = bytes_.substr(offset_, count);
        offset_ += count;
        return part;
    }
    void skip(std::size_t count) { take(count); }

private:
    void need(std::size_t count) const
    {
        if (count > remaining())
            throw Error(Error::Kind::Damaged, what_, std::string(what_) + " record is shorter than its content");
    }

    std::string_view bytes_;
    const char* what_;
    std::size_t offset_ = 0;
};

}  // namespace levara::xls
