#include "leveling/limits.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "leveling/builtin_profiles.h"
#include "records/records.h"

namespace levara::leveling {

namespace {

using nlohmann::json;

// The format's version, in "levara_limits".
constexpr int kFormatVersion = 1;
// The longest text the file may hold (the built-in profiles' longest is some 220).
constexpr std::size_t kLongestText = 1000;

// Builds the document as nlohmann's own parser does, and keeps the place and kind of
// a fault instead of throwing: the library throws a number out of range (1e400, or
// an integer of 400 digits) without its place.
class LocatingParser : public nlohmann::detail::json_sax_dom_parser<json> {
public:
    explicit LocatingParser(json& root) : json_sax_dom_parser(root, false) {}

    template <class Exception>
    bool parse_error(std::size_t byte, const std::string& token, const Exception& error)
    {
        byte_ = byte;
        token_ = token;
        detail_ = error.what();
        outOfRange_ = error.id == 406;
        return false;
    }

    std::size_t byte_ = 0;
    std::string token_, detail_;
    bool outOfRange_ = false;
};

// How an item's limit is written.
enum class Form { Range, Minimum, Magnitude, Root, Even };

struct Item {
    std::string_view key;
    Form form;
    std::optional<Limit> Limits::*limit;
};

constexpr Item kItems[] = {
    {"sight_length_m", Form::Range, &Limits::sightLength},
    {"line_of_sight_height_m", Form::Range, &Limits::lineOfSightHeight},
    {"distance_difference_m", Form::Magnitude, &Limits::distanceDifference},
    {"accumulated_distance_difference_m", Form::Magnitude, &Limits::distanceDifferenceSum},
    {"height_differences_mm", Form::Magnitude, &Limits::heightDifferences},
    {"forward_return_mm_per_sqrt_km", Form::Root, &Limits::forwardReturn},
    {"loop_misclosure_mm_per_sqrt_km", Form::Root, &Limits::loopMisclosure},
    {"even_stations", Form::Even, &Limits::evenStations},
    {"repeat_count", Form::Minimum, &Limits::repeatCount},
    {"remeasured_mm_per_sqrt_km", Form::Root, &Limits::remeasured},
    {"random_error_mm_per_km", Form::Magnitude, &Limits::randomError},
    {"total_error_mm_per_km", Form::Magnitude, &Limits::totalError},
};

// Reads one file, naming it and the JSON path of whatever does not fit.
class Reader {
public:
    explicit Reader(const std::filesystem::path& file) : file_(file) {}

    [[noreturn]] void fail(const std::string& path, Message problem) const
    {
        throw FileError(file_, Message(QT_TRANSLATE_NOOP("levara", "at %1: %2"), path.empty() ? "/" : path,
                                       std::move(problem)));
    }

    const json& object(const json& value, const std::string& path) const
    {
        if (!value.is_object())
            fail(path, Message(QT_TRANSLATE_NOOP("levara", "expected an object { … }")));
        return value;
    }

    // Every key of the object must be one of known.
    void onlyKeys(const json& value, const std::string& path, const std::vector<std::string_view>& known) const
    {
        for (const auto& [key, member] : value.items())
            if (std::find(known.begin(), known.end(), key) == known.end())
                fail(path + "/" + excerpt(key),
                     Message(QT_TRANSLATE_NOOP("levara", "unknown key; the keys here are %1"), joined(known)));
    }

    std::string text(const json& value, const std::string& path) const
    {
        if (!value.is_string())
            fail(path, Message(QT_TRANSLATE_NOOP("levara", "expected a text \"…\"")));
        const std::string& text = value.get_ref<const std::string&>();
        // Names and sources go into workbook cells and messages; a real one is a line.
        if (std::size_t(std::count_if(text.begin(), text.end(), [](char c) {
                return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            })) > kLongestText)
            fail(path, Message(QT_TRANSLATE_NOOP("levara", "a text longer than %1 characters"), kLongestText));
        return text;
    }

    double number(const json& value, const std::string& path) const
    {
        if (!value.is_number())
            fail(path, Message(QT_TRANSLATE_NOOP("levara", "expected a number")));
        const double number = value.get<double>();
        if (!std::isfinite(number) || number < 0)
            fail(path, Message(QT_TRANSLATE_NOOP("levara", "expected a number not below 0")));
        return number;
    }

    LimitStatus status(const json& value, const std::string& path) const
    {
        const std::string name = text(value, path);
        for (LimitStatus status : {LimitStatus::Confirmed, LimitStatus::Damaged, LimitStatus::Unconfirmed})
            if (name == statusName(status))
                return status;
        fail(path, Message(QT_TRANSLATE_NOOP("levara", "expected \"v\", \"v*\" or \"u\"")));
    }

    LimitSource source(const json& value, const std::string& path) const
    {
        object(value, path);
        onlyKeys(value, path, {"standard", "clause", "address", "title", "quote"});
        LimitSource source;
        const auto take = [&](const char* key, std::string& into) {
            if (value.contains(key))
                into = text(value[key], path + "/" + key);
        };
        take("standard", source.standard);
        take("clause", source.clause);
        take("address", source.address);
        take("title", source.title);
        if (value.contains("quote"))
            text(value["quote"], path + "/quote");
        return source;
    }

    Limit limit(const json& value, const std::string& path, Form form) const
    {
        object(value, path);
        std::vector<std::string_view> keys = {"status", "source", "note", "differs"};
        switch (form) {
        case Form::Range: keys.insert(keys.end(), {"min", "max", "min_status", "max_status"}); break;
        case Form::Minimum: keys.insert(keys.end(), {"min", "min_status"}); break;
        case Form::Magnitude: keys.insert(keys.end(), {"max", "max_status"}); break;
        case Form::Root: keys.insert(keys.end(), {"factor", "mountain_factor", "mountain_status"}); break;
        case Form::Even: keys.push_back("required"); break;
        }
        onlyKeys(value, path, keys);
        if (!value.contains("status"))
            fail(path + "/status", missing());
        Limit limit;
        limit.status = status(value["status"], path + "/status");
        if (value.contains("source"))
            limit.source = source(value["source"], path + "/source");
        if (value.contains("note"))
            text(value["note"], path + "/note");
        if (value.contains("differs") && !value["differs"].is_array())
            fail(path + "/differs", Message(QT_TRANSLATE_NOOP("levara", "expected a list [ … ]")));
        const auto bound = [&](const char* key, const char* statusKey) -> std::optional<Bound> {
            if (!value.contains(key))
                return std::nullopt;
            Bound bound{number(value[key], path + "/" + key), limit.status};
            if (statusKey && value.contains(statusKey))
                bound.status = status(value[statusKey], path + "/" + statusKey);
            return bound;
        };
        switch (form) {
        case Form::Range:
            limit.min = bound("min", "min_status");
            limit.max = bound("max", "max_status");
            if (!limit.min && !limit.max)
                fail(path + "/max", missing());
            if (limit.min && limit.max && limit.min->value > limit.max->value)
                fail(path + "/min", Message(QT_TRANSLATE_NOOP("levara", "min is above max")));
            break;
        case Form::Minimum:
            limit.min = bound("min", "min_status");
            if (!limit.min)
                fail(path + "/min", missing());
            break;
        case Form::Magnitude:
            limit.max = bound("max", "max_status");
            if (!limit.max)
                fail(path + "/max", missing());
            break;
        case Form::Root:
            limit.factor = bound("factor", nullptr);
            limit.mountainFactor = bound("mountain_factor", "mountain_status");
            if (!limit.factor)
                fail(path + "/factor", missing());
            break;
        case Form::Even:
            if (!value.contains("required"))
                fail(path + "/required", missing());
            if (!value["required"].is_boolean())
                fail(path + "/required", Message(QT_TRANSLATE_NOOP("levara", "expected true or false")));
            limit.required = value["required"].get<bool>();
            break;
        }
        return limit;
    }

    Limits limits(const json& root) const
    {
        object(root, "");
        onlyKeys(root, "", {"levara_limits", "name", "standard", "instrument", "note", "limits"});
        if (!root.contains("levara_limits"))
            fail("/levara_limits", missing());
        if (root["levara_limits"] != kFormatVersion)
            fail("/levara_limits",
                 Message(QT_TRANSLATE_NOOP("levara", "must be %1, the version of the format Levara reads"),
                         kFormatVersion));
        for (const char* key : {"name", "limits"})
            if (!root.contains(key))
                fail(std::string("/") + key, missing());
        Limits limits;
        limits.name = text(root["name"], "/name");
        if (root.contains("standard"))
            limits.standard = text(root["standard"], "/standard");
        for (const char* key : {"instrument", "note"})
            if (root.contains(key))
                text(root[key], std::string("/") + key);
        const json& items = object(root["limits"], "/limits");
        std::vector<std::string_view> keys;
        for (const Item& item : kItems)
            keys.push_back(item.key);
        onlyKeys(items, "/limits", keys);
        for (const Item& item : kItems)
            if (items.contains(item.key))
                limits.*item.limit = limit(items[std::string(item.key)], "/limits/" + std::string(item.key), item.form);
        return limits;
    }

private:
    static Message missing() { return Message(QT_TRANSLATE_NOOP("levara", "missing")); }

    static std::string joined(const std::vector<std::string_view>& keys)
    {
        std::string list;
        for (std::string_view key : keys)
            list.append(list.empty() ? "" : ", ").append(key);
        return list;
    }

    const std::filesystem::path& file_;
};

}  // namespace

std::string_view statusName(LimitStatus status)
{
    switch (status) {
    case LimitStatus::Confirmed: return "v";
    case LimitStatus::Damaged: return "v*";
    case LimitStatus::Unconfirmed: break;
    }
    return "u";
}

Limits parseLimits(std::string_view text, const std::filesystem::path& file)
{
    json root;
    LocatingParser parser(root);
    if (!json::sax_parse(text.begin(), text.end(), &parser)) {
        // The line and column of the byte where parsing stopped.
        const std::size_t at = std::min<std::size_t>(parser.byte_ > 0 ? parser.byte_ - 1 : 0, text.size());
        const std::string_view before = text.substr(0, at);
        const std::size_t line = std::size_t(std::count(before.begin(), before.end(), '\n')) + 1;
        const std::size_t lineStart = before.rfind('\n');
        const std::size_t column = at - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
        if (parser.outOfRange_)
            throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "line %1, column %2: the number \"%3\" is "
                                                                      "beyond what a number may be (about 1.8e308)"),
                                          line, column, excerpt(parser.token_)));
        // The parser's own words are English: of them only the position is kept, with
        // the character that stands there (whole, when it takes more than one byte).
        std::size_t end = at;
        if (end < text.size())
            do
                ++end;
            while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80);
        const Message found = end > at ? Message(QT_TRANSLATE_NOOP("levara", "\"%1\" cannot stand there"),
                                                 std::string(text.substr(at, end - at)))
                                       : Message(QT_TRANSLATE_NOOP("levara", "the file ends before the JSON does"));
        throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "line %1, column %2: not valid JSON: %3"), line,
                                      column, found));
    }
    return Reader(file).limits(root);
}

Limits readLimitsFile(const std::filesystem::path& file)
{
    return parseLimits(readSmallFile(file, kMaxLimitsFileSize), file);
}

Limits builtinLimits(int order)
{
    const BuiltinProfile& profile = builtinProfile(order);
    return parseLimits(profile.json, std::filesystem::path("levara") / profile.file);
}

Standard chooseStandard(Limits limits, bool mountain)
{
    if (mountain) {
        bool hasMountainForm = false;
        for (const Item& item : kItems)
            if (const auto& limit = limits.*item.limit; limit && limit->mountainFactor)
                hasMountainForm = true;
        if (!hasMountainForm)
            throw Error(Message(QT_TRANSLATE_NOOP("levara", "the limits \"%1\" have no mountain form"), limits.name));
    }
    return {std::move(limits), mountain};
}

}  // namespace levara::leveling
