#include "records/read_file.h"

#include "records/posix_file.h"

namespace levara {

std::string readFile(const std::filesystem::path& file)
{
    detail::FileDescriptor fd = detail::openForReading(file);
    return detail::readAll(fd.get(), file);
}

std::string readSmallFile(const std::filesystem::path& file, std::size_t limit)
{
    detail::FileDescriptor fd = detail::openForReading(file, limit);
    return detail::readAll(fd.get(), file, limit);
}

}  // namespace levara
