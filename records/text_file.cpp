#include "records/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "records/ascii.h"
#include "records/error.h"
#include "records/posix_file.h"
#include "records/read_file.h"
#include "records/replace_file.h"
#include "records/text_codec.h"

namespace levara {

namespace {

// Calls put with the GB18030 form of the text, a megabyte at a time, so a large text
// never exists twice in memory; ASCII goes out as it is.
template <typename Put>
void encodeInPieces(std::string_view utf8, Put put)
{
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    while (!utf8.empty()) {
        const std::size_t ascii = detail::asciiPrefixLength(utf8);
        if (ascii == utf8.size() || ascii >= kChunk) {
            put(utf8.substr(0, ascii));
            utf8.remove_prefix(ascii);
            continue;
        }
        std::size_t end = std::min(utf8.size(), kChunk);
        // Never cut a character in two (one has at most three continuation bytes).
        for (int k = 0; k < 3 && end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80; ++k)
            --end;
        put(encodeGb18030(utf8.substr(0, end)));
        utf8.remove_prefix(end);
    }
}

// A work file written over in place and cut to the length written: truncating it
// first frees all its blocks only to take them again, a millisecond or more for a
// work file of megabytes on ext4.
class WorkFile {
public:
    // Never through a link, symbolic or hard, nor into anything but a file of the user's own: a link or
    // FIFO planted in the work folder must not turn an export into a write elsewhere
    // or a wait. Non-blocking, so a FIFO there is refused rather than waited on.
    explicit WorkFile(const std::filesystem::path& file)
        : file_(file), fd_(::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666))
    {
        if (fd_.get() < 0) {
            if (errno == ENOENT)
                throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot create: its folder does not exist")));
            if (errno == EISDIR)
                throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot write: it is a folder, not a file")));
            if (errno == ELOOP)
                throw FileError(file, linkInWorkFolder());
            if (errno == ENXIO)
                throw FileError(file, notOwnWorkFile());
            throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot create")), errno);
        }
        struct stat st {};
        if (::fstat(fd_.get(), &st) != 0)
            throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot create")), errno);
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            throw FileError(file, notOwnWorkFile());
        // Written in place, a file with a second name elsewhere would change there too.
        if (st.st_nlink > 1)
            throw FileError(file, hardLinkInWorkFolder());
        const int flags = ::fcntl(fd_.get(), F_GETFL);
        if (flags < 0 || ::fcntl(fd_.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
            throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot create")), errno);
    }

    void write(std::string_view bytes)
    {
        detail::writeAll(fd_.get(), bytes, file_);
        written_ += bytes.size();
    }

    void finish()
    {
        if (::ftruncate(fd_.get(), static_cast<off_t>(written_)) != 0)
            throwFileError(file_, Message(QT_TRANSLATE_NOOP("levara", "cannot write")), errno);
        fd_.close(file_);
    }

private:
    const std::filesystem::path& file_;
    detail::FileDescriptor fd_;
    std::size_t written_ = 0;
};

}  // namespace

std::string readTextFile(const std::filesystem::path& file)
{
    std::string bytes = readFile(file);
    if (detail::isAscii(bytes))
        return bytes;
    return decodeGb18030(bytes);
}

void writeTextFile(const std::filesystem::path& file, std::initializer_list<std::string_view> pieces)
{
    WorkFile out(file);
    for (std::string_view piece : pieces)
        encodeInPieces(piece, [&](std::string_view bytes) { out.write(bytes); });
    out.finish();
}

void writeTextFile(const std::filesystem::path& file, std::string_view utf8) { writeTextFile(file, {utf8}); }

TextLines writeWorkFile(const std::filesystem::path& file, std::string_view utf8)
{
    WorkFile out(file);
    if (detail::isAscii(utf8)) {
        // Read back, ASCII is the same bytes.
        out.write(utf8);
        out.write("\r\n");
        out.finish();
        return TextLines::viewOfTextAndLineEnd(utf8);
    }
    std::string decoded;
    decoded.reserve(utf8.size() + 2);
    const auto put = [&](std::string_view bytes) {
        out.write(bytes);
        decoded += decodeGb18030(bytes);
    };
    encodeInPieces(utf8, put);
    encodeInPieces("\r\n", put);
    out.finish();
    return TextLines::fromText(std::move(decoded));
}

void replaceTextFile(const std::filesystem::path& destination, std::initializer_list<std::string_view> pieces)
{
    FileReplacement replacement(destination);
    if (std::all_of(pieces.begin(), pieces.end(), [](std::string_view piece) { return detail::isAscii(piece); })) {
        // ASCII goes out as it is, its size known before the first byte.
        std::size_t size = 0;
        for (std::string_view piece : pieces)
            size += piece.size();
        replacement.preallocate(size);
        for (std::string_view piece : pieces)
            replacement.write(piece);
    } else {
        for (std::string_view piece : pieces)
            encodeInPieces(piece, [&](std::string_view bytes) { replacement.write(bytes); });
    }
    replacement.commit();
}

}  // namespace levara
