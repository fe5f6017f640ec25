#include "records/message.h"

namespace levara {

std::string Message::english() const
{
    std::vector<std::string> values;
    values.reserve(arguments_.size());
    for (const Argument& argument : arguments_) {
        if (const auto* nested = std::get_if<Message>(&argument))
            values.push_back(nested->english());
        else
            values.push_back(std::get<std::string>(argument));
    }
    return fillPlaceholders(source_, values);
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
