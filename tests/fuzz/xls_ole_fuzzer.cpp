// libFuzzer: the workbook reader from the bytes of a whole OLE2 file.
#include <glib.h>

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/xls_fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // libgsf complains about damaged containers on stderr; the engine's Error says enough.
    g_log_set_default_handler([](const char*, GLogLevelFlags, const char*, gpointer) {}, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace levara::xls;
    try {
        Workbook book = Workbook::fromBytes({reinterpret_cast<const char*>(data), size});
        fuzzing::check(book);
        Workbook::fromBytes(book.toBytes());
    } catch (const Error&) {
    }
    return 0;
}
