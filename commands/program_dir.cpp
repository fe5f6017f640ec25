#include "commands/program_dir.h"

#include "records/records.h"

namespace levara {

std::filesystem::path programDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        throw FileError("/proc/self/exe",
                        Message(QT_TRANSLATE_NOOP("levara", "cannot find the program's directory: %1"),
                                error.message()));
    return self.parent_path();
}

}  // namespace levara
