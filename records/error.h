#pragma once
// The errors Levara reports to the user. Every message is complete on its own:
// it names the file and, where there is one, the line.
#include <filesystem>
#include <stdexcept>
#include <string>

namespace levara {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read, written, copied or replaced.
// what() is "<file>: <reason>".
class FileError : public Error {
public:
    FileError(std::filesystem::path file, const std::string& reason);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

// The text cannot be turned into the requested output.
// line counts the lines of the text from 1; what() is "line <line>: <message>".
class InputError : public Error {
public:
    InputError(int line, const std::string& message);
    int line() const { return line_; }

private:
    int line_;
};

// "<file>: <strerror(errnum)>", for failed system calls.
[[noreturn]] void throwFileError(const std::filesystem::path& file, const std::string& action, int errnum);

}  // namespace levara
