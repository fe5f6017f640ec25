#pragma once
// The errors Levara reports to the user. Every message is complete on its own: it
// names the file and, where there is one, the line. message() is what the front
// ends translate and show; what() is its English text, for logs and tests.
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "records/line_number.h"
#include "records/message.h"

namespace levara {

class Error : public std::runtime_error {
public:
    explicit Error(Message message);
    const Message& message() const { return *message_; }

private:
    // Shared, so that copying the exception cannot throw.
    std::shared_ptr<const Message> message_;
};

// A file could not be opened, read, written, copied or replaced.
// The message is "<file>: <reason>".
class FileError : public Error {
public:
    FileError(std::filesystem::path file, Message reason);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

// The text cannot be turned into the requested output.
// line counts the lines of the text from 1; the message is "line <line>: <problem>".
// Located in the user's file as well (the text's lines keep their origin there), it
// also has "<file>:<line in the file>: <problem>", the form levara-cli reports.
class InputError : public Error {
public:
    InputError(LineNumber line, Message problem);
    // The same fault, found at fileLine of the file the text came from.
    InputError(const InputError& fault, const std::filesystem::path& file, LineNumber fileLine);
    LineNumber line() const { return line_; }
    // The message naming the file and its line; message() when not located.
    const Message& locatedMessage() const { return located_ ? *located_ : message(); }
    bool located() const { return located_ != nullptr; }

private:
    LineNumber line_;
    std::shared_ptr<const Message> problem_;
    std::shared_ptr<const Message> located_;
};

// The fault at line, located in file when it is given (the line is one of a text joined
// from several files: TextLines::file).
InputError inputErrorIn(const std::filesystem::path* file, LineNumber line, Message problem);
// Lines first to last as a message names them, "12–30", with their file when given:
// "b.dat:12–30".
std::string lineRange(LineNumber first, LineNumber last, const std::filesystem::path* file);

// For failed system calls: "<file>: <action>: <strerror(errnum)>".
[[noreturn]] void throwFileError(const std::filesystem::path& file, Message action, int errnum);

}  // namespace levara
