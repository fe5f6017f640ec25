#include "records/error.h"

#include <cstring>

namespace levara {

FileError::FileError(std::filesystem::path file, const std::string& reason)
    : Error(file.string() + ": " + reason), file_(std::move(file))
{
}

InputError::InputError(int line, const std::string& message)
    : Error("line " + std::to_string(line) + ": " + message), line_(line)
{
}

void throwFileError(const std::filesystem::path& file, const std::string& action, int errnum)
{
    throw FileError(file, action + ": " + std::strerror(errnum));
}

}  // namespace levara
