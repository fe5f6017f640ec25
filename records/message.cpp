#include "records/message.h"

namespace levara {

namespace {

SourceTranslation sourceTranslation = nullptr;

// The message's text through translation (none: the English source), its nested
// messages too.
std::string filled(const Message& message, SourceTranslation translation)
{
    std::vector<std::string> values;
    values.reserve(message.arguments().size());
    for (const Message::Argument& argument : message.arguments()) {
        if (const auto* nested = std::get_if<Message>(&argument))
            values.push_back(filled(*nested, translation));
        else
            values.push_back(std::get<std::string>(argument));
    }
    return fillPlaceholders(translation ? translation(message.source()) : message.source(), values);
}

}  // namespace

std::string Message::english() const { return filled(*this, nullptr); }

void setSourceTranslation(SourceTranslation translation) { sourceTranslation = translation; }

std::string translated(const Message& message) { return filled(message, sourceTranslation); }

std::string excerpt(std::string_view text, std::size_t characters)
{
    std::size_t end = 0;
    for (std::size_t count = 0; end < text.size(); ++count) {
        if (count == characters)
            return std::string(text.substr(0, end)) + "…";
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
    }
    return std::string(text);
}

std::string escapeControls(std::string_view text)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    const auto isControl = [&](std::size_t i) {
        const auto c = static_cast<unsigned char>(text[i]);
        return c < 0x20 || c == 0x7F ||
               (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                static_cast<unsigned char>(text[i + 1]) <= 0x9F);
    };
    std::size_t i = 0;
    while (i < text.size() && !isControl(i))
        ++i;
    if (i == text.size())
        return std::string(text);
    std::string out(text.substr(0, i));
    for (; i < text.size(); ++i) {
        if (!isControl(i)) {
            out += text[i];
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '\0': out += "\\0"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case 0xC2: {
            const auto next = static_cast<unsigned char>(text[++i]);
            out += "\\u00";
            out += kDigits[next >> 4];
            out += kDigits[next & 15];
            break;
        }
        default:
            out += "\\x";
            out += kDigits[c >> 4];
            out += kDigits[c & 15];
        }
    }
    return out;
}

std::string fillPlaceholders(std::string_view pattern, const std::vector<std::string>& values)
{
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t index = std::size_t(pattern[i + 1] - '1');
            if (index < values.size()) {
                text += values[index];
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

}  // namespace levara
