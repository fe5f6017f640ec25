#include "records/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>

#include "records/error.h"
#include "records/posix_file.h"

namespace levara {

FileReplacement::FileReplacement(const std::filesystem::path& destination, Flush flush)
    : name_(destination), destination_(destination), flush_(flush)
{
    struct stat existing {};
    mode_t mode = 0666;
    bool exists = false;
    if (::lstat(destination_.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
        // Replace what the link points at, not the link.
        std::error_code error;
        destination_ = std::filesystem::canonical(destination_, error);
        if (error)
            throw FileError(destination,
                            Message(QT_TRANSLATE_NOOP("levara", "cannot replace: it is a link to nothing")));
    }
    if (::stat(destination_.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            throw FileError(destination,
                            Message(QT_TRANSLATE_NOOP("levara", "cannot replace: it is a folder, not a file")));
        if (!S_ISREG(existing.st_mode))
            throw FileError(destination,
                            Message(QT_TRANSLATE_NOOP("levara", "cannot replace: it is not an ordinary file")));
        exists = true;
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        throwFileError(destination, Message(QT_TRANSLATE_NOOP("levara", "cannot replace")), errno);
    }

    const std::filesystem::path folder = destination_.parent_path().empty() ? "." : destination_.parent_path();
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0;; ++attempt) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        temporary_ = folder / ("." + destination_.filename().string() + ".levara-" + std::to_string(::getpid()) + "-" +
                               std::to_string(counter++) + "-" + std::to_string(stamp % 1000000));
        fd_ = detail::FileDescriptor(::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
        if (fd_.get() >= 0)
            break;
        if (errno == EEXIST && attempt < 100)
            continue;
        temporary_.clear();
        if (errno == ENOENT || errno == ENOTDIR)
            throw FileError(destination,
                            Message(QT_TRANSLATE_NOOP("levara", "cannot write: its folder does not exist")));
        throwFileError(destination, Message(QT_TRANSLATE_NOOP("levara", "cannot write into its folder")), errno);
    }
    if (exists) {
        // The umask must not narrow the permissions the user's file had.
        ::fchmod(fd_.get(), mode);
        // Only root may give the file away; for others the owner is them already.
        if (::fchown(fd_.get(), existing.st_uid, existing.st_gid) != 0) {
            // Not root: the new file is the user's own, as the old one was.
        }
    }
}

FileReplacement::~FileReplacement()
{
    if (!temporary_.empty()) {
        fd_ = detail::FileDescriptor();
        ::unlink(temporary_.c_str());
    }
}

void FileReplacement::preallocate(std::size_t size)
{
    // Only a hint: where the file system cannot, the file is written all the same.
    if (size > 0)
        static_cast<void>(::fallocate(fd_.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)));
}

void FileReplacement::write(std::string_view bytes) { detail::writeAll(fd_.get(), bytes, name_); }

void FileReplacement::commit()
{
    if (flush_ == Flush::ToDisk && ::fsync(fd_.get()) != 0)
        throwFileError(name_, Message(QT_TRANSLATE_NOOP("levara", "cannot write")), errno);
    fd_.close(name_);
    if (::rename(temporary_.c_str(), destination_.c_str()) != 0)
        throwFileError(name_, Message(QT_TRANSLATE_NOOP("levara", "cannot replace")), errno);
    temporary_.clear();
    if (flush_ == Flush::No)
        return;
    // Makes the rename itself survive a crash; the new file is complete either way.
    const std::filesystem::path folder = destination_.parent_path().empty() ? "." : destination_.parent_path();
    detail::FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

void replaceFile(const std::filesystem::path& destination, std::string_view bytes, Flush flush)
{
    FileReplacement replacement(destination, flush);
    replacement.preallocate(bytes.size());
    replacement.write(bytes);
    replacement.commit();
}

void copyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& destination, Flush flush)
{
    detail::FileDescriptor in = detail::openForReading(source);
    FileReplacement replacement(destination, flush);
    struct stat st {};
    if (::fstat(in.get(), &st) == 0)
        replacement.preallocate(static_cast<std::size_t>(st.st_size));
    std::string buffer(1 << 20, '\0');
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(source, Message(QT_TRANSLATE_NOOP("levara", "cannot read")), errno);
        }
        if (got == 0)
            break;
        replacement.write({buffer.data(), static_cast<std::size_t>(got)});
    }
    replacement.commit();
}

}  // namespace levara
