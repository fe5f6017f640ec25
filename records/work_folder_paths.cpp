#include "records/work_folder_paths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "records/error.h"

namespace levara {

WorkFolderPaths::WorkFolderPaths(std::filesystem::path programDir) : dir_(std::move(programDir) / "temp") {}

WorkFolderPaths::Lock::Lock(const std::filesystem::path& dir)
    : fd_(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (fd_ < 0) {
        if (errno == ENOENT)
            throw FileError(dir, Message(QT_TRANSLATE_NOOP("levara", "the temp folder beside the program is missing")));
        if (errno == ENOTDIR)
            throw FileError(dir,
                            Message(QT_TRANSLATE_NOOP("levara", "the temp folder beside the program is not a folder")));
        throwFileError(dir, Message(QT_TRANSLATE_NOOP("levara", "cannot open the temp folder")), errno);
    }
    // The lock belongs to this open folder, so it goes with the descriptor even
    // when the process dies.
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno == EINTR)
            continue;
        const int error = errno;
        ::close(fd_);
        throwFileError(dir, Message(QT_TRANSLATE_NOOP("levara", "cannot lock the temp folder")), error);
    }
}

WorkFolderPaths::Lock::~Lock() { ::close(fd_); }

}  // namespace levara
