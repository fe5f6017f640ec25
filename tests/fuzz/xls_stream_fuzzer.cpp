// libFuzzer: the workbook reader from a raw Workbook stream.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/xls_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace levara::xls;
    try {
        Workbook book = Workbook::fromWorkbookStream({reinterpret_cast<const char*>(data), size});
        fuzzing::check(book);
    } catch (const Error&) {
        // A refused workbook is a result, not a failure.
    }
    return 0;
}
