#include "records/gsi_words.h"

#include <charconv>
#include <cstdint>

#include "records/error.h"

namespace levara {

namespace {

constexpr std::size_t kHeaderLength = 6;  // WI and information
constexpr std::size_t kSign = 6;          // character 7, from 0
constexpr std::size_t kGsi8Data = 8;
constexpr std::size_t kGsi16Data = 16;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view text)
{
    for (char c : text)
        if (!isDigit(c))
            return false;
    return !text.empty();
}

// JAG3D trims every line before cutting it into words.
std::string_view trimmed(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// Printable ASCII; the raw line's "|" would split a field.
bool isDataCharacter(char c) { return c > ' ' && c < 0x7F && c != '|'; }

[[noreturn]] void failMalformed(const GsiPlace& place, std::string_view word, Message reason)
{
    place.fail(Message(QT_TRANSLATE_NOOP("levara", "malformed GSI word \"%1\": %2"), word, std::move(reason)));
}

// Words that close a line (Leica DNA: 505-518 and 290, written after the line's last
// station); Levara passes their blocks over.
bool isLineClosingWord(int index) { return (index >= 505 && index <= 518) || index == 290; }

// A word's index: three digits (33x, 39x, 50x, 57x) when character 3 is no dot (JAG3D).
int wordIndex(std::string_view text)
{
    int index = 0;
    std::from_chars(text.data(), text.data() + (isDigit(text[2]) ? 3 : 2), index);
    return index;
}

GsiWord readWord(std::string_view text, bool first, const GsiPlace& place)
{
    GsiWord word;
    word.text = text;
    word.header = text.substr(0, kHeaderLength);
    word.data = text.substr(kSign + 1);
    if (!isDigit(text[0]) || !isDigit(text[1]))
        failMalformed(place, text,
                      Message(QT_TRANSLATE_NOOP("levara", "its word index (characters 1 and 2) is not a number")));
    // GeoComPy's word pattern: six characters of digits and dots, then the sign.
    for (std::size_t i = 2; i < kHeaderLength; ++i)
        if (!isDigit(text[i]) && text[i] != '.')
            failMalformed(place, text,
                          Message(QT_TRANSLATE_NOOP("levara", "characters 3 to 6 hold other than digits and dots")));
    if (text[kSign] != '+' && text[kSign] != '-')
        failMalformed(place, text, Message(QT_TRANSLATE_NOOP("levara", "character 7 is neither \"+\" nor \"-\"")));
    word.unit = text[5];
    word.negative = text[kSign] == '-';
    if (first) {
        // GeoComPy: a block starts with WI 11 (measurement) or 41 (code); characters
        // 3-6 are the block address.
        word.index = (text[0] - '0') * 10 + (text[1] - '0');
        const std::string_view address = text.substr(2, 4);
        if ((word.index == 11 || word.index == 41) && (allDigits(address) || address == "...."))
            return word;
        word.index = wordIndex(text);
        if (isLineClosingWord(word.index))
            return word;
        place.fail(Message(QT_TRANSLATE_NOOP("levara", "the block starts with \"%1\"; a GSI block starts with word 11 "
                                                       "(point) or 41 (code) and its 4-digit block address"),
                           text));
    }
    word.index = wordIndex(text);
    return word;
}

struct LengthUnit {
    int decimals;  // of a metre, in the last digit of the value in metres
    bool feet;     // the data counts feet: times 3048, it counts 10^-decimals metres
};

// Leica TPS1100 manual, units table ("Position 6"): 0 m (last digit 1 mm), 1 feet
// (1/1000 ft), 6 m (1/10 mm), 7 feet (1/10000 ft), 8 m (1/100 mm); 2-5 are angles.
LengthUnit lengthUnit(const GsiWord& word, const GsiPlace& place)
{
    switch (word.unit) {
    case '0': return {3, false};
    case '6': return {4, false};
    case '8': return {5, false};
    // An international foot is 0.3048 m (JAG3D "* 0.3048", GeoComPy "3.048e-4"),
    // so n/1000 ft is exactly n*3048 ten-millionths of a metre.
    case '1': return {7, true};
    case '7': return {8, true};
    case '2':
    case '3':
    case '4':
    case '5':
        place.fail(Message(QT_TRANSLATE_NOOP("levara", "the word \"%1\" carries an angle unit (character 6 is \"%2\"), "
                                                       "not a length unit (0, 1, 6, 7 or 8)"),
                           word.text, std::string(1, word.unit)));
    case '.':
        place.fail(Message(QT_TRANSLATE_NOOP("levara", "the word \"%1\" has no unit (character 6 is \".\"); a length "
                                                       "needs unit 0, 1, 6, 7 or 8"),
                           word.text));
    default:
        place.fail(Message(QT_TRANSLATE_NOOP("levara", "the word \"%1\" has the unknown unit digit \"%2\"; a length "
                                                       "needs unit 0, 1, 6, 7 or 8"),
                           word.text, std::string(1, word.unit)));
    }
}

constexpr std::uint64_t kFootTimes10000 = 3048;  // 0.3048 m
// The most significant digits taken: times 3048 they stay within 64 bits.
constexpr std::size_t kMostDigits = 15;

}  // namespace

void GsiPlace::fail(Message problem) const
{
    throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "line %1: %2"), line, std::move(problem)));
}

bool looksLikeGsiBlock(std::string_view line)
{
    line = trimmed(line);
    const bool gsi16 = !line.empty() && line[0] == '*';
    if (gsi16)
        line.remove_prefix(1);
    const std::size_t length = kSign + 1 + (gsi16 ? kGsi16Data : kGsi8Data);
    if (line.empty())
        return false;
    for (std::size_t at = 0; at < line.size(); at += length + 1) {
        if (line.size() - at < length || (line[at + kSign] != '+' && line[at + kSign] != '-'))
            return false;
        if (at + length < line.size() && line[at + length] != ' ')
            return false;
    }
    return gsi16 || ((line.starts_with("11") || line.starts_with("41")) && allDigits(line.substr(2, 4)));
}

void readGsiBlock(std::string_view line, const GsiPlace& place, GsiBlock& block)
{
    line = trimmed(line);
    block.words.clear();
    block.gsi16 = !line.empty() && line[0] == '*';
    if (block.gsi16)
        line.remove_prefix(1);
    const std::size_t length = kSign + 1 + (block.gsi16 ? kGsi16Data : kGsi8Data);
    // Words are cut by position, each followed by one blank: data may hold blanks (the
    // DNA's word 508 holds a text). The blank after the last may be missing (GeoComPy:
    // "Sometimes the last space before the linebreak is missing").
    for (std::size_t at = 0; at < line.size(); at += length + 1) {
        if (line[at] == ' ' && block.words.empty())
            place.fail(
                Message(QT_TRANSLATE_NOOP("levara", "a blank follows \"*\"; a GSI-16 block starts right after it")));
        if (line[at] == ' ')
            failMalformed(place, block.words.back().text,
                          Message(QT_TRANSLATE_NOOP("levara", "more than one blank follows it")));
        if (line.size() - at < length || (line.size() - at > length && line[at + length] != ' ')) {
            const std::string_view text = line.substr(at, line.find(' ', at) - at);
            failMalformed(place, text,
                          Message(QT_TRANSLATE_NOOP("levara", "it has %1 characters; a %2 word has %3"), text.size(),
                                  block.gsi16 ? "GSI-16" : "GSI-8", length));
        }
        const GsiWord word = readWord(line.substr(at, length), block.words.empty(), place);
        block.words.push_back(word);
        // A line-closing block is passed over whole: its texts are not read.
        if (block.words.size() == 1 && word.index != 11 && word.index != 41)
            return;
    }
    if (block.words.empty())
        place.fail(Message(QT_TRANSLATE_NOOP("levara", "the line holds no GSI word after \"*\"")));
}

bool isPrintableData(const GsiWord& word)
{
    for (char c : word.data)
        if (!isDataCharacter(c))
            return false;
    return true;
}

void checkPrintableData(const GsiWord& word, const GsiPlace& place)
{
    if (!isPrintableData(word))
        failMalformed(place, word.text,
                      Message(
                          QT_TRANSLATE_NOOP("levara", "its data holds a character that is no letter, digit or sign")));
}

std::string_view withoutZeroPadding(std::string_view data)
{
    std::size_t first = 0;
    while (first + 1 < data.size() && data[first] == '0' && data[first + 1] != '.')
        ++first;
    return data.substr(first);
}

MetreText metres(const GsiWord& word, int minDecimals, std::size_t width, const GsiPlace& place)
{
    if (!allDigits(word.data))
        failMalformed(place, word.text, Message(QT_TRANSLATE_NOOP("levara", "its data is not a number")));
    const LengthUnit unit = lengthUnit(word, place);
    const std::string_view digits = withoutZeroPadding(word.data);
    auto tooLong = [&] {
        place.fail(
            Message(QT_TRANSLATE_NOOP("levara", "the value of \"%1\" is too long for its raw line field"), word.text));
    };
    if (digits.size() > kMostDigits)
        tooLong();
    std::uint64_t count = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (unit.feet)
        count *= kFootTimes10000;

    char number[24];
    const std::size_t length = std::size_t(std::to_chars(number, number + sizeof number, count).ptr - number);
    const std::size_t decimals = std::size_t(unit.decimals);
    MetreText text;
    auto put = [&](char c) { text.chars[text.size++] = c; };
    if (word.negative && count != 0)
        put('-');
    if (length <= decimals)
        put('0');
    else
        for (std::size_t i = 0; i < length - decimals; ++i)
            put(number[i]);
    put('.');
    for (std::size_t i = length; i < decimals; ++i)
        put('0');
    for (std::size_t i = length > decimals ? length - decimals : 0; i < length; ++i)
        put(number[i]);
    for (int i = unit.decimals; i < minDecimals; ++i)
        put('0');
    if (text.size > width)
        tooLong();
    return text;
}

}  // namespace levara
