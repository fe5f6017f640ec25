#include "records/read_file.h"

#include "records/posix_file.h"

namespace levara {

std::string readFile(const std::filesystem::path& file)
{
    detail::FileDescriptor fd = detail::openForReading(file);
    return detail::readAll(fd.get(), file);
}

}  // namespace levara
