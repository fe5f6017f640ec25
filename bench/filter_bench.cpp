// The three filter commands over a million-line raw file, as the window runs them:
// the text to the work file and its lines, filtered.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

#include "bench/raw_line_generator.h"
#include "records/records.h"

namespace {

// A day's raw file: a long leveling line (with rejected readings and their
// re-measurements), an intermediate-sight survey and single readings, some
// 1,000,000 lines in all.
std::string rawFile(std::string_view pointPrefix)
{
    std::string text = levara::bench::rawLevelingLine(150'000, levara::bench::ObservationOrder::BFFB, 1, pointPrefix);
    text += levara::bench::rawIntermediateSurvey(100'000, 2);
    text += levara::bench::rawSinglePoints(100'000, 3);
    return text;
}

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
    const levara::WorkFolderPaths temp(program.path());
    std::size_t kept = 0;
    for (auto _ : state) {
        const auto lock = temp.lock();
        const levara::TextLines lines = levara::writeWorkFile(temp.workFile(), text);
        const std::string result = levara::filterLines(filter, lines);
        kept = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(std::count(text.begin(), text.end(), '\n')),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    state.counters["kept MB"] = static_cast<double>(kept) / 1e6;
}

const std::string& asciiFile()
{
    static const std::string text = rawFile("TP");
    return text;
}

// Point names in Chinese take the GB18030 paths of the work file.
const std::string& chineseFile()
{
    static const std::string text = rawFile("点");
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
