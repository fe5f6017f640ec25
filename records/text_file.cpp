#include "records/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "records/ascii.h"
#include "records/error.h"
#include "records/posix_file.h"
#include "records/text_codec.h"

namespace levara {

namespace {

// Encodes a megabyte at a time, so a large text never exists twice in memory.
void writeEncoded(int fd, std::string_view utf8, const std::filesystem::path& file)
{
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    while (!utf8.empty()) {
        const std::size_t ascii = detail::asciiPrefixLength(utf8);
        if (ascii == utf8.size() || ascii >= kChunk) {
            detail::writeAll(fd, utf8.substr(0, ascii), file);
            utf8.remove_prefix(ascii);
            continue;
        }
        std::size_t end = std::min(utf8.size(), kChunk);
        // Never cut a character in two (one has at most three continuation bytes).
        for (int k = 0; k < 3 && end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80; ++k)
            --end;
        detail::writeAll(fd, encodeGb18030(utf8.substr(0, end)), file);
        utf8.remove_prefix(end);
    }
}

}  // namespace

void writeTextFile(const std::filesystem::path& file, std::initializer_list<std::string_view> pieces)
{
    detail::FileDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot create: its folder does not exist")));
        if (errno == EISDIR)
            throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot write: it is a folder, not a file")));
        throwFileError(file, Message(QT_TRANSLATE_NOOP("levara", "cannot create")), errno);
    }
    for (std::string_view piece : pieces)
        writeEncoded(fd.get(), piece, file);
    fd.close(file);
}

void writeTextFile(const std::filesystem::path& file, std::string_view utf8) { writeTextFile(file, {utf8}); }

}  // namespace levara
