#include "records/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "records/error.h"

namespace levara::detail {

namespace {

Message tooLarge(std::size_t limit)
{
    if (limit < kMaxInputSize)
        return Message(QT_TRANSLATE_NOOP("levara", "cannot read: it is larger than %1 MiB, more than any "
                                                   "known-points or limits file holds"),
                       limit >> 20);
    return Message(QT_TRANSLATE_NOOP("levara", "cannot read: it is larger than %1 GiB, more than any raw file, "
                                               "template or limits file holds"),
                   limit >> 30);
}

Message notOrdinaryFile()
{
    return Message(QT_TRANSLATE_NOOP("levara", "cannot open: it is not an ordinary file (a pipe, device or socket)"));
}

}  // namespace

FileDescriptor::~FileDescriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

void FileDescriptor::close(const std::filesystem::path& file)
{
    // Linux releases the descriptor even when close fails; never retry.
    if (::close(release()) != 0 && errno != EINTR)
        throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot finish writing")), errno);
}

FileDescriptor openForReading(const std::filesystem::path& file, std::size_t limit)
{
    // Non-blocking, so that a FIFO without a writer cannot hold Levara in open().
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot open: the file does not exist")));
        // A socket cannot be opened at all (ENXIO); say what it is rather than the errno's text.
        if (errno == ENXIO)
            throw FileError(file, notOrdinaryFile());
        throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot open")), errno);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot open")), errno);
    if (S_ISDIR(st.st_mode))
        throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot open: it is a folder, not a file")));
    if (!S_ISREG(st.st_mode))
        throw FileError(file, notOrdinaryFile());
    if (static_cast<std::uint64_t>(st.st_size) > limit)
        throw FileError(file, tooLarge(limit));
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot open")), errno);
    return fd;
}

std::string readAll(int fd, const std::filesystem::path& file, std::size_t limit)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot read")), errno);
    // The size is only a hint: the file may change while it is read, and some
    // files report none.
    std::string bytes;
    std::size_t used = 0;
    bytes.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 64 * 1024);
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = ::read(fd, bytes.data() + used, bytes.size() - used);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot read")), errno);
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
        // A file that grows while it is read.
        if (used > limit)
            throw FileError(file, tooLarge(limit));
    }
    bytes.resize(used);
    return bytes;
}

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot write")), errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
}

}  // namespace levara::detail
