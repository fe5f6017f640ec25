#include "records/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "records/error.h"
#include "records/posix_file.h"
#include "records/temporaries.h"

namespace levara {

Message linkInWorkFolder()
{
    return Message(QT_TRANSLATE_NOOP("levara", "cannot write: it is a link, and work files are never written "
                                               "through one; remove it"));
}

Message hardLinkInWorkFolder()
{
    return Message(QT_TRANSLATE_NOOP("levara", "cannot write: the file has another name (a hard link), and work "
                                               "files are never written through one; remove it"));
}

Message notOwnWorkFile()
{
    return Message(QT_TRANSLATE_NOOP("levara", "cannot write: it is not an ordinary file of yours; remove it"));
}

FileReplacement::FileReplacement(const std::filesystem::path& destination, Flush flush, Links links)
    : name_(destination), destination_(destination), flush_(flush)
{
    struct stat existing {};
    mode_t mode = 0666;
    bool keepMode = false;
    if (::lstat(destination_.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
        if (links == Links::Refuse)
            throw FileError(destination, linkInWorkFolder());
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
        if (links == Links::Refuse) {
            // Another user's file in the work folder is theirs to remove, not ours to
            // replace; one with a second name is refused as ooo.txt's is.
            if (existing.st_uid != ::geteuid())
                throw FileError(destination, notOwnWorkFile());
            if (existing.st_nlink > 1)
                throw FileError(destination, hardLinkInWorkFolder());
        }
        // The user's own file keeps its permissions; a file of another user's (met in a
        // shared folder) does not pass its owner or its mode (0666, say) on: the new
        // file is the user's, with the mode the umask gives.
        if (existing.st_uid == ::geteuid()) {
            keepMode = true;
            mode = existing.st_mode & 0777;
        }
    } else if (errno != ENOENT) {
        throwFileError(destination, Message(QT_TRANSLATE_NOOP("levara", "cannot replace")), errno);
    }

    const std::filesystem::path folder = destination_.parent_path().empty() ? "." : destination_.parent_path();
    removeStaleTemporaries(folder);
    for (int attempt = 0;; ++attempt) {
        temporary_ = folder / temporaryNameFor(destination_.filename().string());
        // Made and remembered with the ending signals held back, so that no moment
        // remains in which one of them would leave it behind.
        const SignalsHeld held;
        fd_ = detail::FileDescriptor(createTemporary(temporary_, mode));
        if (fd_.get() >= 0) {
            slot_ = rememberTemporary(temporary_);
            break;
        }
        if (errno == EEXIST && attempt < 100)
            continue;
        temporary_.clear();
        if (errno == ENOENT || errno == ENOTDIR)
            throw FileError(destination,
                            Message(QT_TRANSLATE_NOOP("levara", "cannot write: its folder does not exist")));
        throwFileError(destination, Message(QT_TRANSLATE_NOOP("levara", "cannot write into its folder")), errno);
    }
    // The umask must not narrow the permissions the user's file had.
    if (keepMode)
        ::fchmod(fd_.get(), mode);
}

FileReplacement::~FileReplacement()
{
    if (!temporary_.empty()) {
        fd_ = detail::FileDescriptor();
        ::unlink(temporary_.c_str());
    }
    forgetTemporary(slot_);
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
    forgetTemporary(slot_);
    slot_ = -1;
    if (flush_ == Flush::No)
        return;
    // Makes the rename itself survive a crash; the new file is complete either way.
    const std::filesystem::path folder = destination_.parent_path().empty() ? "." : destination_.parent_path();
    detail::FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

void replaceFile(const std::filesystem::path& destination, std::string_view bytes, Flush flush, Links links)
{
    FileReplacement replacement(destination, flush, links);
    replacement.preallocate(bytes.size());
    replacement.write(bytes);
    replacement.commit();
}

void copyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& destination, Flush flush,
                       Links links)
{
    detail::FileDescriptor in = detail::openForReading(source);
    FileReplacement replacement(destination, flush, links);
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
