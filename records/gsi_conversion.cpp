#include "records/gsi_conversion.h"

#include <bit>
#include <optional>
#include <string>
#include <vector>

#include "records/message.h"

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
constexpr int kPoint = 11;
constexpr int kFirstInformation = 42, kLastInformation = 49;
// 571-574: what the instrument computed for the station; they end it.
constexpr int kFirstResult = 571, kLastResult = 574;

// The line start blocks "41....+?......N" of the Leica DNA manual ("Special code
// blocks", quoted at helpdesk.microsurvey.com/article/1041): 1 BF, 2 BFFB, 3 aBF, 4 aBFFB.
struct Method {
    std::string_view name;
    unsigned readings;  // a station's
    bool alternating;   // stations start on the back or the fore staff in turn
};
constexpr Method kMethods[] = {{"BF", kSingleReadings, false},
                               {"BFFB", kDoubleReadings, false},
                               {"aBF", kSingleReadings, true},
                               {"aBFFB", kDoubleReadings, true}};

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

// The readings of a collimation check: the instrument's check takes 4 to 8 (Leica
// DNA03/DNA10 manual, "Check & Adjust": two staffs read from two set-ups, a target
// sometimes twice).
constexpr int kFewestCheckReadings = 4, kMostCheckReadings = 8;

class Converter {
public:
    Converter(const std::filesystem::path& file, std::size_t blocks) : place_{file, LineNumber()}
    {
        // Mostly one raw line of 121 bytes a block.
        result_.text.reserve(blocks * 121);
    }

    void convert(std::string_view line, LineNumber number)
    {
        place_.line = number;
        readGsiBlock(line, place_, block_);
        (block_.gsi16 ? result_.gsi16 : result_.gsi8) = true;
        const int first = block_.words.front().index;
        if (first == kCode)
            codeBlock();
        else if (first == kPoint)
            pointBlock();
        else
            closingBlock();
        if (run_.readings == 0)
            flushRun();
    }

    GsiConversion finish()
    {
        closeLine();
        flushRun();
        return std::move(result_);
    }

private:
    // An intermediate sight waiting for its height in the next block.
    struct Sight {
        RawLineHead head;
        std::string_view point;
        std::string_view word;
        MetreText reading, distance;
        LineNumber line;
    };

    // A raw line written since the last station closed; a station reading keeps what
    // a check line needs.
    struct RunLine {
        std::size_t begin = 0, end = 0;  // in Run::text
        LineNumber origin;
        bool reading = false;
        RawLineHead head;
        std::string_view point;
        MetreText value, distance;
    };
    struct Fault {
        LineNumber line;
        Message problem;
    };
    // The readings since the last height or result block (or the line's start), held
    // back until that is known to be stations or a collimation check.
    struct Run {
        std::string text;
        std::vector<RunLine> lines;
        int readings = 0;
        std::optional<Fault> fault;  // the first reading that fits no station
    };

    RawLineHead head(const GsiWord& first) const
    {
        const std::string_view address = first.header.substr(2);
        return {block_.gsi16 ? "GSI-16" : "GSI-8 ",
                address == "...." ? std::string_view{} : withoutZeroPadding(address), method_ ? lineNumber_ : 0};
    }

    // Records the raw line just appended to run_.text.
    RunLine& noteLine(std::size_t begin)
    {
        RunLine& line = run_.lines.emplace_back();
        line.begin = begin;
        line.end = run_.text.size();
        line.origin = place_.line;
        return line;
    }

    void flushRun()
    {
        result_.text += run_.text;
        for (const RunLine& line : run_.lines)
            result_.origins.push_back(line.origin);
        run_.text.clear();
        run_.lines.clear();
        run_.readings = 0;
        run_.fault.reset();
    }

    [[noreturn]] void failAt(const Fault& fault)
    {
        place_.line = fault.line;
        place_.fail(fault.problem);
    }

    // A line starts or the file ends: the readings held are stations, a check, or,
    // where a line starts again, a station the surveyor left unfinished.
    void endRun(bool lineStarts)
    {
        checkNoSight();
        if (run_.readings == 0)
            return;
        // Only a station whose readings are all the run holds is left unfinished.
        const bool unfinished =
            lineStarts && station_ != 0 && station_ != method_->readings && std::popcount(station_) == run_.readings;
        if (!run_.fault && !unfinished) {
            closeStation();
            flushRun();
            return;
        }
        const bool check = run_.fault.has_value();
        if (check && (run_.readings < kFewestCheckReadings || run_.readings > kMostCheckReadings))
            failAt(*run_.fault);
        std::string text;
        for (const RunLine& line : run_.lines) {
            if (!line.reading) {
                text.append(run_.text, line.begin, line.end - line.begin);
                continue;
            }
            appendTextLineWithValues(text, line.head, (check ? "Check " : "Unfinished ") + std::string(line.point),
                                     {"R ", line.value.view()}, {"HD", line.distance.view()});
        }
        (check ? result_.checkReadings : result_.unfinishedReadings) += run_.readings;
        run_.text = std::move(text);
        station_ = 0;
        flushRun();
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
        checkPrintableData(code, place_);
        std::string note = "Code " + std::string(text);
        // The information words are notes: one a raw line cannot hold ends them.
        for (const GsiWord& word : block_.words) {
            if (word.index < kFirstInformation || word.index > kLastInformation)
                continue;
            if (!isPrintableData(word))
                break;
            note.append(" ").append(withoutZeroPadding(word.data));
        }
        const std::size_t begin = run_.text.size();
        appendTextLine(run_.text, head(code), note);
        noteLine(begin);
    }

    void closingBlock()
    {
        ++result_.closingBlocks;
        const std::size_t begin = run_.text.size();
        // Its first word holds no block address.
        RawLineHead closing = head(block_.words.front());
        closing.address = {};
        appendTextLine(run_.text, closing, "Line result " + std::string(block_.words.front().header.substr(0, 3)));
        noteLine(begin);
    }

    void startLine(const GsiWord& code, std::string_view text)
    {
        const std::size_t digits = text.find_first_not_of('.', 1);
        if (digits == std::string_view::npos || text.size() - digits != 1 || text[digits] < '1' || text[digits] > '4')
            place_.fail(
                Message(QT_TRANSLATE_NOOP("levara", "unknown leveling method \"%1\" in \"%2\"; Levara reads 1 BF, "
                                                    "2 BFFB, 3 aBF and 4 aBFFB"),
                        text, code.text));
        const LineNumber line = place_.line;
        closeLine(true);
        place_.line = line;
        method_ = &kMethods[text[digits] - '1'];
        lineFormat_ = block_.gsi16 ? "GSI-16" : "GSI-8 ";
        ++lineNumber_;
        const std::size_t begin = run_.text.size();
        appendStartLine(run_.text, head(code), method_->name);
        noteLine(begin);
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

        checkPrintableData(id, place_);
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
            ++result_.readings;
            if (kind->index == kIntermediateSight && !height) {
                sight_ = taken;
                return;
            }
            if (kind->index == kIntermediateSight) {
                writeSight(taken, *height);
                return;
            }
            const std::size_t begin = run_.text.size();
            appendMeasurementLine(run_.text, taken.head, point, {kind->tag, taken.reading.view()},
                                  {"HD", taken.distance.view()}, {});
            RunLine& line = noteLine(begin);
            if (kind->reading) {
                line.reading = true;
                line.head = taken.head;
                line.point = point;
                line.value = taken.reading;
                line.distance = taken.distance;
                addToStation(*reading, *kind);
            }
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
        const std::size_t begin = run_.text.size();
        appendMeasurementLine(run_.text, head(id), point, {}, {},
                              {"Z", metres(height, kReadingDecimals, kHeightWidth, place_).view()});
        noteLine(begin);
    }

    void writeSight(const Sight& sight, const GsiWord& height)
    {
        const std::size_t begin = run_.text.size();
        appendMeasurementLine(run_.text, sight.head, sight.point, {"Rz", sight.reading.view()},
                              {"HD", sight.distance.view()},
                              {"Z", metres(height, kReadingDecimals, kHeightWidth, place_).view()});
        noteLine(begin);
    }

    // A reading that fits no station is held as the run's fault: the run may be a
    // collimation check.
    void addToStation(const GsiWord& word, const ReadingWord& kind)
    {
        ++run_.readings;
        if (run_.fault)
            return;
        if (!method_) {
            run_.fault =
                Fault{place_.line, Message(QT_TRANSLATE_NOOP("levara", "the reading \"%1\" comes before the start of a "
                                                                       "line (a 41 block with \"?......N\")"),
                                           word.text)};
            return;
        }
        if (!(method_->readings & kind.reading)) {
            run_.fault = Fault{place_.line,
                               Message(QT_TRANSLATE_NOOP("levara", "the reading \"%1\" (%2) has no place in a %3 line"),
                                       word.text, kind.name, method_->name)};
            return;
        }
        if (station_ == method_->readings)
            station_ = 0;
        if (station_ == 0 && !method_->alternating && kind.reading != kB1) {
            run_.fault = Fault{place_.line,
                               Message(QT_TRANSLATE_NOOP("levara", "the reading \"%1\" (%2) cannot start a %3 station; "
                                                                   "it starts with B1 (word 331)"),
                                       word.text, kind.name, method_->name)};
            return;
        }
        if (station_ & kind.reading) {
            run_.fault = Fault{place_.line, missingReading()};
            return;
        }
        if (station_ == 0)
            stationLine_ = place_.line;
        station_ |= kind.reading;
    }

    // A height or the instrument's results end a station: it must be whole.
    void closeStation()
    {
        if (run_.fault)
            failAt(*run_.fault);
        if (station_ != 0 && station_ != method_->readings)
            place_.fail(missingReading());
        station_ = 0;
        flushRun();
    }

    Message missingReading() const
    {
        unsigned missing = kB1;
        while (station_ & missing)
            missing <<= 1;
        return Message(QT_TRANSLATE_NOOP("levara", "the %1 station from line %2 ends without its %3 reading (word %4)"),
                       method_->name, stationLine_, readingName(missing), readingIndex(missing));
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

    void closeLine(bool lineStarts = false)
    {
        endRun(lineStarts);
        if (!method_)
            return;
        const std::size_t begin = run_.text.size();
        appendEndLine(run_.text, {lineFormat_, {}, lineNumber_});
        noteLine(begin);
    }

    GsiPlace place_;
    GsiBlock block_;
    GsiConversion result_;
    const Method* method_ = nullptr;  // of the line being read
    std::string_view lineFormat_;
    int lineNumber_ = 0;
    unsigned station_ = 0;  // the readings the current station has
    LineNumber stationLine_;
    std::optional<Sight> sight_;
    Run run_;
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
            converter.convert(lines[i], lines.number(i));
    return converter.finish();
}

}  // namespace levara
