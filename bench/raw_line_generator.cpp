#include "bench/raw_line_generator.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace levara::bench {

namespace {

// splitmix64: small, and the same sequence everywhere (std's distributions are not).
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // From low to high, both included.
    std::int64_t between(std::int64_t low, std::int64_t high)
    {
        return low + std::int64_t(next() % std::uint64_t(high - low + 1));
    }
    bool oneIn(int n) { return next() % std::uint64_t(n) == 0; }

private:
    std::uint64_t state_;
};

// Values are whole units of the last decimal the instrument writes, so every digit
// is exact.
std::string decimal(std::int64_t units, int decimals)
{
    std::int64_t scale = 1;
    for (int k = 0; k < decimals; ++k)
        scale *= 10;
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld.%0*lld", units < 0 ? "-" : "",
                  static_cast<long long>(std::llabs(units) / scale), decimals,
                  static_cast<long long>(std::llabs(units) % scale));
    return text;
}

// Widths count columns, as the level lays out its GB18030 bytes: a Chinese character
// takes two.
std::size_t characters(std::string_view text)
{
    std::size_t count = 0;
    for (char c : text)
        count += static_cast<unsigned char>(c) < 0x80 ? 1 : (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 2 : 0;
    return count;
}

std::string rightAligned(std::string_view text, std::size_t width)
{
    const std::size_t used = characters(text);
    return std::string(width > used ? width - used : 0, ' ') + std::string(text);
}

std::string padded(std::string_view text, std::size_t width)
{
    const std::size_t used = characters(text);
    return std::string(text) + std::string(width > used ? width - used : 0, ' ');
}

// A tagged value of fields 3 to 5: "Rb        1.85953 m".
std::string tagged(std::string_view tag, const std::string& value, std::size_t width = 15)
{
    return std::string(tag) + rightAligned(value, width) + " m";
}

// Readings and heights in 0.01 mm, distances in mm.
constexpr int kReadingDecimals = 5;
constexpr int kDistanceDecimals = 3;

class RawWriter {
public:
    explicit RawWriter(std::uint64_t seed) : random_(seed), clock_(8 * 3600 + random_.between(0, 1800)) {}

    Random& random() { return random_; }

    void record(std::string_view block, std::string_view field3 = {}, std::string_view field4 = {},
                std::string_view field5 = {})
    {
        ++address_;
        text_ += "For M5|Adr";
        text_ += rightAligned(std::to_string(address_), 6);
        text_ += '|';
        text_ += padded(block, 31);
        text_ += '|';
        text_ += padded(field3, 22);
        text_ += '|';
        text_ += padded(field4, 22);
        text_ += '|';
        text_ += padded(field5, 22);
        text_ += "| \r\n";
    }

    // Characters 19-27 of field 2 on a reading line: the time and a digit.
    std::string readingTime()
    {
        clock_ += random_.between(20, 60);
        return time() + char('0' + random_.between(0, 9));
    }
    std::string heightTime()
    {
        clock_ += random_.between(10, 30);
        return time() + ' ';
    }

    // A measurement with its tag, reading and distance; rejected ones carry "#####".
    void reading(std::string_view point, std::string_view tag, std::int64_t value, std::int64_t distance,
                 bool rejected = false)
    {
        record("KD1" + rightAligned(point, 9) + (rejected ? "#####" : "     ") + " " + readingTime() + "   1",
               tagged(tag, decimal(value, kReadingDecimals)), tagged("HD", decimal(distance, kDistanceDecimals)));
    }

    // Now and then the instrument rejects a reading and the surveyor measures again.
    void readingMaybeRejected(std::string_view point, std::string_view tag, std::int64_t value, std::int64_t distance)
    {
        if (random_.oneIn(40))
            reading(point, tag, value + random_.between(300, 900), distance, true);
        reading(point, tag, value, distance);
    }

    void height(std::string_view point, std::int64_t height)
    {
        record("KD1" + rightAligned(point, 9) + "      " + heightTime() + "   1", {}, {},
               tagged("Z", decimal(height, kReadingDecimals), 16));
    }

    std::string take() { return std::move(text_); }
    void reserve(std::size_t lines) { text_.reserve(lines * 121); }

private:
    std::string time() const
    {
        const long seconds = clock_ % (24 * 3600);
        char text[16];
        std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
        return text;
    }

    Random random_;
    long clock_;
    int address_ = 0;
    std::string text_;
};

// A staff's two readings and distances at one station.
struct Staff {
    std::string point;
    std::int64_t reading1, reading2, distance1, distance2;
};

Staff observe(Random& random, std::string point, std::int64_t distance)
{
    const std::int64_t reading = random.between(50000, 280000);
    return {std::move(point), reading, reading + random.between(-8, 8), distance,
            distance + 10 * random.between(-1, 1)};
}

}  // namespace

std::string rawLevelingLine(int stations, ObservationOrder order, std::uint64_t seed, std::string_view pointPrefix)
{
    RawWriter out(seed);
    Random& random = out.random();
    out.reserve(std::size_t(stations) * 5 + 8);
    out.record("TO  Start-Line" + rightAligned(leveling::orderName(order), 11) + rightAligned("1", 6));
    std::int64_t height = random.between(1000000, 15000000);
    out.height("BM1", height);

    std::string back = "BM1";
    std::int64_t heightDifferenceSum = 0, backDistanceSum = 0, foreDistanceSum = 0;
    for (int k = 1; k <= stations; ++k) {
        std::string fore = k == stations ? "BM2" : std::string(pointPrefix) + std::to_string(k);
        // Back and fore distances kept close, as leveling asks.
        const std::int64_t backDistance = random.between(10000, 50000);
        const Staff b = observe(random, back, backDistance);
        const Staff f = observe(random, fore, backDistance + random.between(-2000, 2000));
        const auto backReading = [&](int which) {
            out.readingMaybeRejected(b.point, "Rb", which == 1 ? b.reading1 : b.reading2,
                                     which == 1 ? b.distance1 : b.distance2);
        };
        const auto foreReading = [&](int which) {
            out.readingMaybeRejected(f.point, "Rf", which == 1 ? f.reading1 : f.reading2,
                                     which == 1 ? f.distance1 : f.distance2);
        };
        switch (order) {
        case ObservationOrder::BFFB: backReading(1), foreReading(1), foreReading(2), backReading(2); break;
        case ObservationOrder::BBFF: backReading(1), backReading(2), foreReading(1), foreReading(2); break;
        case ObservationOrder::BFBF: backReading(1), foreReading(1), backReading(2), foreReading(2); break;
        case ObservationOrder::BF: backReading(1), foreReading(1); break;
        case ObservationOrder::aBFFB:
            if (k % 2 == 1)
                backReading(1), foreReading(1), foreReading(2), backReading(2);
            else
                foreReading(1), backReading(1), backReading(2), foreReading(2);
            break;
        }
        const std::int64_t difference = order == ObservationOrder::BF
                                            ? b.reading1 - f.reading1
                                            : (b.reading1 - f.reading1 + b.reading2 - f.reading2) / 2;
        height += difference;
        heightDifferenceSum += difference;
        backDistanceSum += b.distance1;
        foreDistanceSum += f.distance1;
        out.height(fore, height);
        back = std::move(fore);
    }

    const std::int64_t misclosure = random.between(-30, 30);
    out.record("KD1" + rightAligned("BM2", 9) + rightAligned("1", 19),
               tagged("Sh", decimal(heightDifferenceSum, kReadingDecimals)),
               tagged("dz", decimal(-misclosure, kReadingDecimals)),
               tagged("Z", decimal(height, kReadingDecimals), 16));
    out.record("KD2" + rightAligned("BM2", 9) + rightAligned(std::to_string(stations), 9) + rightAligned("1", 10),
               tagged("Db", decimal(backDistanceSum / 10, 2)), tagged("Df", decimal(foreDistanceSum / 10, 2)),
               tagged("Z", decimal(height + misclosure, kReadingDecimals), 16));
    out.record("TO  End-Line" + rightAligned("1", 19));
    return out.take();
}

std::string rawIntermediateSurvey(int points, std::uint64_t seed)
{
    RawWriter out(seed);
    Random& random = out.random();
    out.reserve(std::size_t(points) * 11 / 10 + 8);
    out.record("TO  Start-Line" + rightAligned("BF", 11) + rightAligned("1", 6));
    const std::int64_t start = random.between(1000000, 15000000);
    out.height("BM1", start);
    std::int64_t backSight = random.between(50000, 280000);
    out.readingMaybeRejected("BM1", "R ", backSight, random.between(20000, 50000));
    std::int64_t collimation = start + backSight;
    for (int k = 1; k <= points; ++k) {
        const std::string point = "P" + std::to_string(k);
        const std::int64_t sight = random.between(50000, 280000);
        const std::int64_t elevation = collimation - sight;
        out.record("KD1" + rightAligned(point, 9) + "      " + out.readingTime() + "   1",
                   tagged("Rz", decimal(sight, kReadingDecimals)),
                   tagged("HD", decimal(random.between(5000, 20000), kDistanceDecimals)),
                   tagged("Z", decimal(elevation, kReadingDecimals), 16));
        if (k % 10 == 0) {  // the instrument moves on; the last point is its back sight
            backSight = random.between(50000, 280000);
            out.readingMaybeRejected(point, "R ", backSight, random.between(20000, 50000));
            collimation = elevation + backSight;
        }
    }
    out.record("TO  End-Line" + rightAligned("1", 19));
    return out.take();
}

std::string rawSinglePoints(int points, std::uint64_t seed)
{
    RawWriter out(seed);
    Random& random = out.random();
    out.reserve(std::size_t(points) + 8);
    for (int k = 1; k <= points; ++k)
        out.readingMaybeRejected(std::to_string(1000 + k), "R ", random.between(50000, 280000),
                                 random.between(5000, 60000));
    return out.take();
}

}  // namespace levara::bench
