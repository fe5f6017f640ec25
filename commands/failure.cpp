#include "commands/failure.h"

#include <new>

namespace levara {

Message failureMessage(const std::exception& error, FaultLines lines)
{
    if (const auto* fault = dynamic_cast<const InputError*>(&error);
        fault && (lines == FaultLines::OfFile || fault->located()))
        return fault->locatedMessage();
    if (const auto* levaraError = dynamic_cast<const Error*>(&error))
        return levaraError->message();
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return Message(QT_TRANSLATE_NOOP("levara", "there is not enough memory"));
    return Message(QT_TRANSLATE_NOOP("levara", "Levara failed unexpectedly: %1"), error.what());
}

}  // namespace levara
