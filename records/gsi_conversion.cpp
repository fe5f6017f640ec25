#include "records/gsi_conversion.h"

#include <optional>

#include "records/gsi_raw_lines.h"
#include "records/gsi_words.h"

namespace levara {

namespace {

// A station's readings, one bit each.
enum : unsigned { kB1 = 1, kF1 = 2, kF2 = 4, kB2 = 8 };
constexpr unsigned kSingleReadings = kB1 | kF1;
constexpr unsigned kDoubleReadings = kB1 | kF1 | kF2 | kB2;

// The staff readings of a leveling file (GeoComPy's DNA word map, JAG3D): each is
// told by its WI, whatever its place in the file.
struct ReadingWord {
    int index;
    std::string_view tag;  // of the raw line
    unsigned reading;      // in a station; 0 for readings outside stations
    std::string_view name;
};
constexpr int kIntermediateSight = 333;
constexpr ReadingWord kReadingWords[] = {
    {330, "R ", 0, "single reading"}, {331, "Rb", kB1, "B1"},
    {332, "Rf", kF1, "F1"},           {kIntermediateSight, "Rz", 0, "intermediate sight"},
    {335, "Rb", kB2, "B2"},           {336, "Rf", kF2, "F2"},
};
constexpr int kStakeOutReading = 334;
// The number of readings the level averaged into the block's reading (Leica DNA
// manual, GSI word 390; JAG3D's DNA word map names it too).
constexpr int kRepetitions = 390;
constexpr int kDistance = 32;
constexpr int kHeight = 83;
constexpr int kCode = 41;
constexpr int kFirstInformation = 42, kLastInformation = 49;
// 571-574: what the instrument computed for the station; they end it.
constexpr int kFirstResult = 571, kLastResult = 574;

// The line start blocks "41....+?......N" of the Leica DNA manual ("Special code
// blocks", quoted at helpdesk.microsurvey.com/article/1041): 1 BF, 2 BFFB, 3 aBF, 4 aBFFB.
struct Method {
    std::string_view name;
    unsigned readings;  // a station's
};
constexpr Method kMethods[] = {{"BF", kSingleReadings},
                               {"BFFB", kDoubleReadings},
                               {"aBF", kSingleReadings},
                               {"aBFFB", kDoubleReadings}};

constexpr int kReadingDecimals = 5, kDistanceDecimals = 3;

// A count word's value, or 0 when it is none that fits a digit.
int countOf(const GsiWord& word)
{
    const std::string_view digits = withoutZeroPadding(word.data);
    if (word.negative || digits.size() != 1 || digits[0] < '0' || digits[0] > '9')
        return 0;
    return digits[0] - '0';
}

// GeoEasy skips lines that start with "!", JAG3D those that start with "#".
bool isSkipped(std::string_view line)
{
    const std::size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '!' || line[first] == '#';
}

std::string_view readingName(unsigned reading)
{
    for (const ReadingWord& word : kReadingWords)
        if (word.reading == reading)
            return word.name;
    return {};
}

int readingIndex(unsigned reading)
{
    for (const ReadingWord& word : kReadingWords)
        if (word.reading == reading)
            return word.index;
    return 0;
}

class Converter {
public:
    Converter(const std::filesystem::path& file, std::size_t blocks) : place_{file, 0}
    {
        // Mostly one raw line of 121 bytes a block.
        result_.text.reserve(blocks * 121);
    }

    void convert(std::string_view line, int number)
    {
        noteOrigins();
        place_.line = number;
        readGsiBlock(line, place_, block_);
        (block_.gsi16 ? result_.gsi16 : result_.gsi8) = true;
        if (block_.words.front().index == kCode)
            codeBlock();
        else
            pointBlock();
    }

    GsiConversion finish()
    {
        closeLine();
        noteOrigins();
        return std::move(result_);
    }

    // The raw lines written since last asked come from the block read last.
    void noteOrigins()
    {
        const std::string_view added = std::string_view(result_.text).substr(noted_);
        for (char c : added)
            if (c == '\n')
                result_.origins.push_back(place_.line);
        noted_ = result_.text.size();
    }

private:
    // An intermediate sight waiting for its height in the next block.
    struct Sight {
        RawLineHead head;
        std::string_view point;
        std::string_view word;
        MetreText reading, distance;
        int line = 0;
    };

    RawLineHead head(const GsiWord& first) const
    {
        const std::string_view address = first.header.substr(2);
        return {block_.gsi16 ? "GSI-16" : "GSI-8 ",
                address == "...." ? std::string_view{} : withoutZeroPadding(address), method_ ? lineNumber_ : 0};
    }

    void codeBlock()
    {
        checkNoSight();
        const GsiWord& code = block_.words.front();
        const std::string_view text = withoutZeroPadding(code.data);
        if (text.starts_with('?')) {
            startLine(code, text);
            return;
        }
        std::string note = "Code " + std::string(text);
        for (const GsiWord& word : block_.words)
            if (word.index >= kFirstInformation && word.index <= kLastInformation)
                note.append(" ").append(withoutZeroPadding(word.data));
        appendTextLine(result_.text, head(code), note);
    }

    void startLine(const GsiWord& code, std::string_view text)
    {
        const std::size_t digits = text.find_first_not_of('.', 1);
        if (digits == std::string_view::npos || text.size() - digits != 1 || text[digits] < '1' || text[digits] > '4')
            place_.fail(
                Message(QT_TRANSLATE_NOOP("levara", "unknown leveling method \"%1\" in \"%2\"; Levara reads 1 BF, "
                                                    "2 BFFB, 3 aBF and 4 aBFFB"),
                        text, code.text));
        closeLine();
        method_ = &kMethods[text[digits] - '1'];
        lineFormat_ = block_.gsi16 ? "GSI-16" : "GSI-8 ";
        ++lineNumber_;
        appendStartLine(result_.text, head(code), method_->name);
    }

    void pointBlock()
    {
        const GsiWord& id = block_.words.front();
        const GsiWord* reading = nullptr;
        const ReadingWord* kind = nullptr;
        const GsiWord* distance = nullptr;
        const GsiWord* height = nullptr;
        const GsiWord* repetitions = nullptr;
        bool results = false;
        // secondWord: the message for a second word of the kind, quoting it and the first.
        auto take = [&](const GsiWord*& slot, const GsiWord& word, const char* secondWord) {
            if (slot)
                place_.fail(Message(secondWord, word.text, slot->text));
            slot = &word;
        };
        for (const GsiWord& word : block_.words) {
            if (word.index == kDistance)
                take(distance, word,
                     QT_TRANSLATE_NOOP("levara", "the block holds a second distance word \"%1\" after \"%2\""));
            else if (word.index == kHeight)
                take(height, word,
                     QT_TRANSLATE_NOOP("levara", "the block holds a second height word \"%1\" after \"%2\""));
            else if (word.index >= kFirstResult && word.index <= kLastResult)
                results = true;
            else if (word.index == kRepetitions)
                repetitions = &word;
            else if (word.index == kStakeOutReading)
                place_.fail(Message(QT_TRANSLATE_NOOP("levara", "the stake-out reading \"%1\" is no leveling reading"),
                                    word.text));
            for (const ReadingWord& candidate : kReadingWords)
                if (word.index == candidate.index) {
                    take(reading, word,
                         QT_TRANSLATE_NOOP("levara", "the block holds a second reading word \"%1\" after \"%2\""));
                    kind = &candidate;
                }
        }

        const std::string_view point = withoutZeroPadding(id.data);
        if (reading) {
            checkNoSight();
            if (!distance)
                place_.fail(
                    Message(QT_TRANSLATE_NOOP("levara", "the reading \"%1\" has no distance (word 32) in its block"),
                            reading->text));
            Sight taken{head(id),
                        point,
                        reading->text,
                        metres(*reading, kReadingDecimals, kValueWidth, place_),
                        metres(*distance, kDistanceDecimals, kValueWidth, place_),
                        place_.line};
            if (repetitions)
                taken.head.repetitions = countOf(*repetitions);
            if (kind->reading)
                addToStation(*reading, *kind);
            ++result_.readings;
            if (kind->index == kIntermediateSight && !height) {
                sight_ = taken;
                return;
            }
            if (kind->index == kIntermediateSight) {
                writeSight(taken, *height);
                return;
            }
            appendMeasurementLine(result_.text, taken.head, point, {kind->tag, taken.reading.view()},
                                  {"HD", taken.distance.view()}, {});
            if (height) {
                closeStation();
                appendHeightLine(id, point, *height);
            }
            return;
        }
        if (sight_ && height && point == sight_->point) {
            writeSight(*sight_, *height);
            sight_.reset();
            return;
        }
        checkNoSight();
        if (height || results)
            closeStation();
        if (height)
            appendHeightLine(id, point, *height);
    }

    void appendHeightLine(const GsiWord& id, std::string_view point, const GsiWord& height)
    {
        appendMeasurementLine(result_.text, head(id), point, {}, {},
                              {"Z", metres(height, kReadingDecimals, kHeightWidth, place_).view()});
    }

    void writeSight(const Sight& sight, const GsiWord& height)
    {
        appendMeasurementLine(result_.text, sight.head, sight.point, {"Rz", sight.reading.view()},
                              {"HD", sight.distance.view()},
                              {"Z", metres(height, kReadingDecimals, kHeightWidth, place_).view()});
    }

    void addToStation(const GsiWord& word, const ReadingWord& kind)
    {
        if (!method_)
            place_.fail(Message(QT_TRANSLATE_NOOP("levara", "the reading \"%1\" comes before the start of a line (a 41 "
                                                            "block with \"?......N\")"),
                                word.text));
        if (!(method_->readings & kind.reading))
            place_.fail(Message(QT_TRANSLATE_NOOP("levara", "the reading \"%1\" (%2) has no place in a %3 line"),
                                word.text, kind.name, method_->name));
        if (station_ == method_->readings)
            station_ = 0;
        if (station_ & kind.reading)
            failMissingReading();
        if (station_ == 0)
            stationLine_ = place_.line;
        station_ |= kind.reading;
    }

    // A height or the instrument's results end a station: it must be whole.
    void closeStation()
    {
        if (station_ != 0 && station_ != method_->readings)
            failMissingReading();
        station_ = 0;
    }

    [[noreturn]] void failMissingReading()
    {
        unsigned missing = kB1;
        while (station_ & missing)
            missing <<= 1;
        place_.fail(
            Message(QT_TRANSLATE_NOOP("levara", "the %1 station from line %2 ends without its %3 reading (word %4)"),
                    method_->name, stationLine_, readingName(missing), readingIndex(missing)));
    }

    void checkNoSight()
    {
        if (!sight_)
            return;
        place_.line = sight_->line;
        place_.fail(Message(QT_TRANSLATE_NOOP("levara", "the intermediate sight \"%1\" has no height (word 83) in its "
                                                        "block or the next one"),
                            sight_->word));
    }

    void closeLine()
    {
        checkNoSight();
        if (!method_)
            return;
        closeStation();
        appendEndLine(result_.text, {lineFormat_, {}, lineNumber_});
    }

    GsiPlace place_;
    GsiBlock block_;
    GsiConversion result_;
    const Method* method_ = nullptr;  // of the line being read
    std::string_view lineFormat_;
    int lineNumber_ = 0;
    unsigned station_ = 0;  // the readings the current station has
    int stationLine_ = 0;
    std::optional<Sight> sight_;
    std::size_t noted_ = 0;  // of the text, the bytes whose lines have their origins
};

}  // namespace

bool isGsiText(const TextLines& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!isSkipped(lines[i]))
            return looksLikeGsiBlock(lines[i]);
    return false;
}

bool isGsiText(std::string_view text)
{
    for (;;) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (!isSkipped(line))
            return looksLikeGsiBlock(line);
        if (end == std::string_view::npos)
            return false;
        text.remove_prefix(end + 1);
    }
}

GsiConversion convertGsi(const TextLines& lines, const std::filesystem::path& file)
{
    Converter converter(file, lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!isSkipped(lines[i]))
            converter.convert(lines[i], int(i + 1));
    return converter.finish();
}

}  // namespace levara
