// libFuzzer: any text, opened as a GSI file. A refusal is a result; a converted text
// must be raw lines the filters can cut into their fields.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "records/records.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const levara::TextLines lines = levara::TextLines::fromText({reinterpret_cast<const char*>(data), size});
    if (!levara::isGsiText(lines))
        return 0;
    try {
        const levara::GsiConversion conversion = levara::convertGsi(lines, "fuzz.gsi");
        const levara::TextLines raw = levara::TextLines::fromText(conversion.text);
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const levara::MeasurementLine line(raw[i]);
            if (raw[i].size() < 119 || line.fieldCount() != 7 || raw[i][6] != '|' || raw[i][16] != '|') {
                std::fprintf(stderr, "not a raw line: %.*s\n", int(raw[i].size()), raw[i].data());
                std::abort();
            }
        }
    } catch (const levara::FileError&) {
    }
    return 0;
}
