#include "records/error.h"

#include <cstring>

namespace levara {

Error::Error(Message message)
    : std::runtime_error(message.english()), message_(std::make_shared<const Message>(std::move(message)))
{
}

FileError::FileError(std::filesystem::path file, Message reason)
    : Error(Message(QT_TRANSLATE_NOOP("levara", "%1: %2"), file, std::move(reason))), file_(std::move(file))
{
}

InputError::InputError(LineNumber line, Message problem)
    : Error(Message(QT_TRANSLATE_NOOP("levara", "line %1: %2"), line, problem)), line_(line),
      problem_(std::make_shared<const Message>(std::move(problem)))
{
}

InputError::InputError(const InputError& fault, const std::filesystem::path& file, LineNumber fileLine)
    : InputError(fault)
{
    located_ =
        std::make_shared<const Message>(Message(QT_TRANSLATE_NOOP("levara", "%1:%2: %3"), file, fileLine, *problem_));
}

InputError inputErrorIn(const std::filesystem::path* file, LineNumber line, Message problem)
{
    InputError fault(line, std::move(problem));
    if (!file)
        return fault;
    return {fault, *file, line};
}

std::string lineRange(LineNumber first, LineNumber last, const std::filesystem::path* file)
{
    std::string range = first.text() + "–" + last.text();
    return file ? file->string() + ":" + range : range;
}

void throwFileError(const std::filesystem::path& file, Message action, int errnum)
{
    throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "%1: %2"), std::move(action), std::strerror(errnum)));
}

}  // namespace levara
