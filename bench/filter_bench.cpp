// The three filter commands over a million-line raw file, as the window runs them:
// the text to the work file, read back, filtered.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "records/records.h"

namespace {

constexpr std::size_t kLines = 1'000'000;

std::string padLeft(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string padRight(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string fixed(double value, int decimals)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return buffer;
}

// A raw file of the digital level: 119 characters a line, "|" at columns 7, 17,
// 49, 72, 95 and 118, CR LF after each line.
class RawFile {
public:
    explicit RawFile(std::string pointPrefix) : prefix_(std::move(pointPrefix)) {}

    std::string make(std::size_t lines)
    {
        text_.reserve(lines * 121);
        while (count_ < lines)
            levelingLine(lines);
        return std::move(text_);
    }

private:
    void line(const std::string& block, const std::string& value1 = {}, const std::string& value2 = {},
              const std::string& value3 = {})
    {
        ++count_;
        text_ += "For M5|Adr" + padLeft(std::to_string(count_ % 1000000), 6) + "|" + padRight(block, 31) + "|" +
                 padRight(value1, 22) + "|" + padRight(value2, 22) + "|" + padRight(value3, 22) + "| \r\n";
    }

    std::string point(int n) const { return prefix_ + std::to_string(n); }

    std::string reading(const std::string& type, const std::string& pointNo, bool rejected)
    {
        return type + padLeft(pointNo, 9) + (rejected ? "#####" : "     ") + " 01:33:402" + "   1";
    }

    void levelingLine(std::size_t limit)
    {
        line("TO  Start-Line       BFFB     1");
        line("KD1" + padLeft("BM1", 9) + "                   1", {}, {}, "Z" + padLeft("0.00000", 16) + " m");
        for (int station = 1; station <= 50 && count_ < limit; ++station) {
            const std::string back = point(station), fore = point(station + 1);
            const char* tags[] = {"Rb", "Rf", "Rf", "Rb"};
            for (int k = 0; k < 4; ++k) {
                const std::string& p = k == 0 || k == 3 ? back : fore;
                if ((station + k) % 7 == 0)  // a rejected reading, then its re-measurement
                    readingLine(tags[k], p, true);
                readingLine(tags[k], p, false);
            }
            if (station % 5 == 0) {  // an intermediate sight and a single reading
                line(reading("KD1", point(900 + station), false), "Rz" + padLeft("1.04744", 15) + " m",
                     "HD" + padLeft("9.964", 15) + " m", "Z" + padLeft("1.21187", 16) + " m");
                readingLine("R ", point(800 + station), false);
            }
            line("KD1" + padLeft(fore, 9) + "      01:35:46    1", {}, {},
                 "Z" + padLeft(fixed(0.38971 * station, 5), 16) + " m");
        }
        line("KD1" + padLeft("BM1", 9) + "                   1", "Sh" + padLeft("0.00019", 15) + " m",
             "dz" + padLeft("-0.00019", 15) + " m", "Z" + padLeft("0.00000", 16) + " m");
        line("KD2" + padLeft("BM1", 9) + "        6         1", "Db" + padLeft("240.26", 15) + " m",
             "Df" + padLeft("236.36", 15) + " m", "Z" + padLeft("0.00019", 16) + " m");
        line("TO  End-Line                  1");
    }

    void readingLine(const std::string& tag, const std::string& pointNo, bool rejected)
    {
        line(reading("KD1", pointNo, rejected), tag + padLeft(fixed(1.2 + (count_ % 1000) / 1000.0, 5), 15) + " m",
             "HD" + padLeft(fixed(20 + (count_ % 300) / 10.0, 3), 15) + " m");
    }

    std::string prefix_;
    std::string text_;
    std::size_t count_ = 0;
};

class ScratchProgramDir {
public:
    ScratchProgramDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "levara-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        std::filesystem::create_directory(dir_ / "temp");
    }
    ~ScratchProgramDir() { std::filesystem::remove_all(dir_); }
    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path dir_;
};

void runFilter(benchmark::State& state, levara::RecordFilter filter, const std::string& text)
{
    ScratchProgramDir program;
    const levara::TempFolder temp(program.path());
    std::size_t kept = 0;
    for (auto _ : state) {
        const auto lock = temp.lock();
        levara::writeTextFile(temp.workFile(), {text, "\r\n"});
        const levara::TextLines lines = levara::TextLines::read(temp.workFile());
        const std::string result = levara::filterLines(filter, lines);
        kept = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(kLines), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["kept MB"] = static_cast<double>(kept) / 1e6;
}

const std::string& asciiFile()
{
    static const std::string text = RawFile("P").make(kLines);
    return text;
}

// Point names in Chinese take the GB18030 paths of the work file.
const std::string& chineseFile()
{
    static const std::string text = RawFile("点").make(kLines);
    return text;
}

void BM_Leveling(benchmark::State& state) { runFilter(state, levara::RecordFilter::Leveling, asciiFile()); }
void BM_IntermediateSights(benchmark::State& state)
{
    runFilter(state, levara::RecordFilter::IntermediateSights, asciiFile());
}
void BM_SinglePoints(benchmark::State& state) { runFilter(state, levara::RecordFilter::SinglePoints, asciiFile()); }
void BM_LevelingChinesePointNames(benchmark::State& state)
{
    runFilter(state, levara::RecordFilter::Leveling, chineseFile());
}

}  // namespace

// Two seconds a case: the trial run that sizes the measurement also takes the
// first-touch cost of a quarter gigabyte of fresh memory and page cache, which a
// single run would report as the filter's speed.
BENCHMARK(BM_Leveling)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_IntermediateSights)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_SinglePoints)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(BM_LevelingChinesePointNames)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

BENCHMARK_MAIN();
