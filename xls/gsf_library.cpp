#include "xls/gsf_library.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "xls/xls.h"

namespace levara::xls {

namespace {

// The library's soname, read from the one linked against at build time (CMake).
constexpr const char* kSoname = LEVARA_GSF_SONAME;

[[noreturn]] void unavailable(const std::string& why)
{
    throw Error(Error::Kind::Unavailable, why, "cannot load libgsf, which reads and writes workbooks: " + why);
}

template <typename Function>
void resolve(void* library, Function& function, const char* name)
{
    void* symbol = dlsym(library, name);
    if (!symbol)
        unavailable(std::string(kSoname) + " has no " + name);
    function = reinterpret_cast<Function>(symbol);
}

GsfLibrary load()
{
    // Never closed: GLib's types stay registered for the life of the process.
    void* library = dlopen(kSoname, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        unavailable(why ? why : kSoname);
    }
    GsfLibrary gsf{};
#define LEVARA_RESOLVE(member, name) resolve(library, gsf.member, #name)
    LEVARA_RESOLVE(init, gsf_init);
    LEVARA_RESOLVE(inputMemoryNew, gsf_input_memory_new);
    LEVARA_RESOLVE(inputSize, gsf_input_size);
    LEVARA_RESOLVE(inputRead, gsf_input_read);
    LEVARA_RESOLVE(infileType, gsf_infile_get_type);
    LEVARA_RESOLVE(infileNumChildren, gsf_infile_num_children);
    LEVARA_RESOLVE(infileNameByIndex, gsf_infile_name_by_index);
    LEVARA_RESOLVE(infileChildByIndex, gsf_infile_child_by_index);
    LEVARA_RESOLVE(infileMsoleType, gsf_infile_msole_get_type);
    LEVARA_RESOLVE(infileMsoleNew, gsf_infile_msole_new);
    LEVARA_RESOLVE(infileMsoleGetClassId, gsf_infile_msole_get_class_id);
    LEVARA_RESOLVE(outputMemoryNew, gsf_output_memory_new);
    LEVARA_RESOLVE(outputMemoryGetBytes, gsf_output_memory_get_bytes);
    LEVARA_RESOLVE(outputSize, gsf_output_size);
    LEVARA_RESOLVE(outputWrite, gsf_output_write);
    LEVARA_RESOLVE(outputClose, gsf_output_close);
    LEVARA_RESOLVE(outfileNewChild, gsf_outfile_new_child);
    LEVARA_RESOLVE(outfileMsoleNew, gsf_outfile_msole_new);
    LEVARA_RESOLVE(outfileMsoleSetClassId, gsf_outfile_msole_set_class_id);
    LEVARA_RESOLVE(isA, g_type_check_instance_is_a);
    LEVARA_RESOLVE(objectUnref, g_object_unref);
    LEVARA_RESOLVE(errorFree, g_error_free);
    LEVARA_RESOLVE(logSetWriterFunc, g_log_set_writer_func);
    LEVARA_RESOLVE(logWriterDefault, g_log_writer_default);
#undef LEVARA_RESOLVE
    return gsf;
}

}  // namespace

const GsfLibrary& gsfLibrary()
{
    // A failed load is tried again by the next call (a static's initialiser that
    // throws leaves it uninitialised).
    static const GsfLibrary library = load();
    return library;
}

}  // namespace levara::xls
