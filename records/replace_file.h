#pragma once
// Replacing a file as a whole: the one way Levara writes a file the user or a later
// step relies on.
#include <filesystem>
#include <string_view>

#include "records/message.h"
#include "records/posix_file.h"

namespace levara {

// Whether a replacement reaches the disk before it takes the file's place. The
// user's files do; the working workbook, made again by every export, need not wait
// for it.
enum class Flush { ToDisk, No };

// What a link at the destination means. The user's file named through a link is the
// link's target (Follow); a work file never follows one (Refuse): a link planted in
// the work folder must not turn an export into a write elsewhere.
enum class Links { Follow, Refuse };

// A new file beside destination, written piece by piece, that takes its place only
// on commit(): flushed to disk (unless told not to) and renamed over it. Dropped
// without commit(), or on a signal that ends the process (temporaries.h), it is
// removed and destination stays as it was. The new file is the user's own; it keeps
// the permissions of a destination the user owns, and otherwise has those the umask
// gives. With Links::Refuse (a work file) a destination that is not the user's own
// ordinary file, or that has a second name, is refused. Throws FileError naming
// destination.
class FileReplacement {
public:
    explicit FileReplacement(const std::filesystem::path& destination, Flush flush = Flush::ToDisk,
                             Links links = Links::Follow);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Takes the disk space for size bytes at once, when the file system can; without
    // it, ext4 allocates a new file's blocks in the rename over an existing one.
    void preallocate(std::size_t size);
    void write(std::string_view bytes);
    void commit();

private:
    std::filesystem::path name_;         // as the user gave it, for messages
    std::filesystem::path destination_;  // the file actually replaced
    std::filesystem::path temporary_;
    detail::FileDescriptor fd_;
    Flush flush_;
    int slot_ = -1;  // of the temporary, for the signal handler
};

// Why a link found where a work file should be is not written through.
Message linkInWorkFolder();
// Why a work file with a second name (a hard link) is not written.
Message hardLinkInWorkFolder();
// Why a work file that is not the user's own ordinary file is not written.
Message notOwnWorkFile();

// Replaces destination as a whole with the given bytes: they are written to a new
// file beside it, flushed to disk and renamed over it, so a failure never leaves a
// half-written file and leaves an existing destination as it was. Throws FileError
// naming the file.
void replaceFile(const std::filesystem::path& destination, std::string_view bytes, Flush flush = Flush::ToDisk,
                 Links links = Links::Follow);

// Replaces destination as a whole with a copy of source, the same way.
void copyFileReplacing(const std::filesystem::path& source, const std::filesystem::path& destination,
                       Flush flush = Flush::ToDisk, Links links = Links::Follow);

}  // namespace levara
