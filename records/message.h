#pragma once
// A text for the user, kept in English until a front end shows it in the user's
// language (translated, through the front end's source translation). The source text holds %1 ... %9 for its arguments;
// an argument is data shown as it is (a file name, a LineNumber, a quoted input, a
// formatted number) or another Message, translated in its turn.
//
// Every source text is a literal marked for Qt's lupdate, in the "levara" context:
//     Message(QT_TRANSLATE_NOOP("levara", "line %1: %2"), line, problem)
// lupdate finds it there and i18n/levara_zh_CN.ts holds its translation.
#include <concepts>
#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "records/line_number.h"

// Qt's own definition, so that code which also includes Qt sees the same macro.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace levara {

// Text Levara lays out itself, in lines, given as an argument: shown as it is. Every
// other text argument has its control characters shown escaped (escapeControls).
struct Verbatim {
    std::string text;
};

// The text with each control character as a C escape ("\x1b", "\t", "\0", "\u009b"
// for the C1 controls): input quoted in a message must not reach a terminal as a
// command to it. Backslashes stay as they are.
std::string escapeControls(std::string_view text);

// At most `characters` characters of text, with "…" where it is cut: a message quotes
// bad input, and a token of megabytes must not become a line of megabytes.
std::string excerpt(std::string_view text, std::size_t characters = 40);

// The translation context of every Levara message.
inline constexpr const char* kMessageContext = "levara";

class Message {
public:
    using Argument = std::variant<std::string, Message>;

    // source: a QT_TRANSLATE_NOOP("levara", ...) literal, kept by pointer.
    template <typename... Arguments>
    explicit Message(const char* source, Arguments&&... arguments) : source_(source)
    {
        static_assert(sizeof...(Arguments) <= 9, "placeholders run from %1 to %9");
        arguments_.reserve(sizeof...(arguments));
        (arguments_.push_back(argument(std::forward<Arguments>(arguments))), ...);
    }

    const char* source() const { return source_; }
    const std::vector<Argument>& arguments() const { return arguments_; }

    // The source text with its arguments in place, nested messages in English.
    std::string english() const;

private:
    template <typename T>
    static Argument argument(T&& value)
    {
        using Plain = std::remove_cvref_t<T>;
        if constexpr (std::is_same_v<Plain, Message>)
            return Argument(std::in_place_index<1>, std::forward<T>(value));
        else if constexpr (std::is_same_v<Plain, Verbatim>)
            return std::forward<T>(value).text;
        else if constexpr (std::is_same_v<Plain, std::filesystem::path>)
            return escapeControls(value.string());
        else if constexpr (std::is_same_v<Plain, LineNumber>)
            return std::to_string(value.value());
        else if constexpr (std::integral<Plain> && !std::is_same_v<Plain, bool> && !std::is_same_v<Plain, char>)
            return std::to_string(value);
        else
            return escapeControls(std::string_view(value));
    }

    const char* source_;
    std::vector<Argument> arguments_;
};

// The front end's translation of a source text into the user's language (Qt's
// translators: language/language.h). Until one is set, messages read in English.
using SourceTranslation = std::string (*)(const char* source);
void setSourceTranslation(SourceTranslation translation);

// The message in the user's language, its nested messages translated too and each
// placeholder filled once.
std::string translated(const Message& message);

// pattern with each %1 ... %9 replaced by values[0] ... values[8] in one pass: a
// value holding "%2" stays as it is. A placeholder without a value stays too.
std::string fillPlaceholders(std::string_view pattern, const std::vector<std::string>& values);

}  // namespace levara
