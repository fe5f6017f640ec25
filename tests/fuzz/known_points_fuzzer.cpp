// libFuzzer: any bytes, read as a known-points file. A refusal names the file and a
// line; every point read has a name, a height within the bound, and is found by its
// name.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "leveling/leveling.h"
#include "records/records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const levara::leveling::KnownPoints known =
            levara::leveling::parseKnownPoints({reinterpret_cast<const char*>(data), size}, "known.txt");
        for (const levara::leveling::KnownPoint& point : known.points) {
            if (point.name.empty() || !point.line.known() ||
                !(std::abs(point.height) <= levara::leveling::kLargestHeightM) || known.find(point.name) != &point) {
                std::fprintf(stderr, "a point read wrongly: \"%s\" on line %d\n", point.name.c_str(),
                             point.line.value());
                std::abort();
            }
        }
    } catch (const levara::FileError& error) {
        if (std::string(error.what()).rfind("known.txt: line ", 0) != 0) {
            std::fprintf(stderr, "a refusal without its line: %s\n", error.what());
            std::abort();
        }
    }
    return 0;
}
