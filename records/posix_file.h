#pragma once
// Thin wrappers over file descriptors that turn failures into FileError.
#include <filesystem>
#include <string>
#include <string_view>

namespace levara::detail {

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    // Closes and reports a failure (a write that the kernel could not complete
    // may show up only here).
    void close(const std::filesystem::path& file);

private:
    int fd_ = -1;
};

// The largest file Levara reads: far above any raw file (a million stations take some
// 500 MB), low enough that a file growing without end cannot exhaust memory.
inline constexpr std::size_t kMaxInputSize = std::size_t{1} << 30;

// Opens an existing regular file for reading, following links; anything else (a
// folder, FIFO, device or socket) and a file over limit bytes are refused at once.
FileDescriptor openForReading(const std::filesystem::path& file, std::size_t limit = kMaxInputSize);

std::string readAll(int fd, const std::filesystem::path& file, std::size_t limit = kMaxInputSize);
void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file);

}  // namespace levara::detail
