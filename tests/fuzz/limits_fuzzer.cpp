// libFuzzer: any bytes, read as a limits file. A refusal names the file and stays one
// short line, whatever the input quotes; limits read are usable as a standard.
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
        levara::leveling::Limits limits =
            levara::leveling::parseLimits({reinterpret_cast<const char*>(data), size}, "limits.json");
        static_cast<void>(levara::leveling::chooseStandard(std::move(limits), false));
    } catch (const levara::FileError& error) {
        const std::string what = error.what();
        if (what.rfind("limits.json: ", 0) != 0 || what.size() > 1000 || what.find('\n') != std::string::npos) {
            std::fprintf(stderr, "a refusal not on one short line naming the file: %.300s\n", what.c_str());
            std::abort();
        }
    }
    return 0;
}
