#pragma once
// libgsf, loaded when the first workbook is read or written rather than when the
// program starts: it brings GLib, GIO and a dozen libraries under them, and loading
// those takes longer than a whole text save. The functions the container calls, typed
// by libgsf's own headers.
#include <gsf/gsf.h>

namespace levara::xls {

struct GsfLibrary {
    decltype(&::gsf_init) init;
    decltype(&::gsf_input_memory_new) inputMemoryNew;
    decltype(&::gsf_input_size) inputSize;
    decltype(&::gsf_input_read) inputRead;
    decltype(&::gsf_infile_get_type) infileType;
    decltype(&::gsf_infile_num_children) infileNumChildren;
    decltype(&::gsf_infile_name_by_index) infileNameByIndex;
    decltype(&::gsf_infile_child_by_index) infileChildByIndex;
    decltype(&::gsf_infile_msole_get_type) infileMsoleType;
    decltype(&::gsf_infile_msole_new) infileMsoleNew;
    decltype(&::gsf_infile_msole_get_class_id) infileMsoleGetClassId;
    decltype(&::gsf_output_memory_new) outputMemoryNew;
    decltype(&::gsf_output_memory_get_bytes) outputMemoryGetBytes;
    decltype(&::gsf_output_size) outputSize;
    decltype(&::gsf_output_write) outputWrite;
    decltype(&::gsf_output_close) outputClose;
    decltype(&::gsf_outfile_new_child) outfileNewChild;
    decltype(&::gsf_outfile_msole_new) outfileMsoleNew;
    decltype(&::gsf_outfile_msole_set_class_id) outfileMsoleSetClassId;
    // GLib's, through libgsf's own dependencies.
    decltype(&::g_type_check_instance_is_a) isA;
    decltype(&::g_object_unref) objectUnref;
    decltype(&::g_error_free) errorFree;
    decltype(&::g_log_set_writer_func) logSetWriterFunc;
    decltype(&::g_log_writer_default) logWriterDefault;
};

// libgsf, loaded on the first call. Throws Error (Kind::Unavailable) when it cannot
// be loaded or lacks a function.
const GsfLibrary& gsfLibrary();

}  // namespace levara::xls
