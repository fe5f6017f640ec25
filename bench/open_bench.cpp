// Opening a 1,000,000-line raw file into the window's text area (offscreen):
// the time, and the peak memory as a multiple of the file's size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <Qsci/qsciscintilla.h>
#include <cstdio>

#include "bench/raw_line_generator.h"
#include "records/records.h"
#include "window/window.h"

namespace {

class OpenDialogs : public levara::Dialogs {
public:
    std::filesystem::path file;
    std::filesystem::path showOpen() override { return file; }
    std::filesystem::path showOpenLimits() override { return {}; }
    std::filesystem::path showOpenKnownPoints() override { return {}; }
    levara::SaveChoice showSave(int, const std::filesystem::path&) override { return {}; }
    bool askOverwrite(const std::filesystem::path&, bool) override { return false; }
    levara::UnsavedTextAnswer askUnsavedText(const std::string&) override { return levara::UnsavedTextAnswer::Discard; }
    levara::FilterAnswer askFilterFirst(const std::string&) override { return levara::FilterAnswer::Cancel; }
    std::optional<levara::leveling::ObservationOrder> askOrder(int) override { return std::nullopt; }
    std::optional<levara::books::WorkbookKind> askFittingBook(const levara::Message&,
                                                              const std::vector<levara::books::WorkbookKind>&) override
    {
        return std::nullopt;
    }
    std::string askFindText(const std::string&) override { return {}; }
    int askLine(int, int) override { return 0; }
    void showHelp(const QString&) override {}
    void showAbout(const QString&) override {}
    void showNotice(const levara::Message&) override {}
    void showWarning(const levara::Message&) override {}
    void showError(const levara::Message& message) override
    {
        std::fprintf(stderr, "error: %s\n", message.english().c_str());
    }
};

double peakRssBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024;
}

// A leveling line of some `lines` lines, in GB18030 as the instrument writes it.
std::filesystem::path writeRawFile(int lines)
{
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "levara-open-bench.dat";
    levara::writeTextFile(file, levara::bench::rawLevelingLine(lines / 5, levara::bench::ObservationOrder::BFFB, 1));
    return file;
}

void BM_OpenRawFile(benchmark::State& state)
{
    OpenDialogs dialogs;
    dialogs.file = writeRawFile(int(state.range(0)));
    const double fileSize = double(std::filesystem::file_size(dialogs.file));
    const double before = peakRssBytes();
    for (auto _ : state) {
        levara::MainWindow form(dialogs, std::filesystem::temp_directory_path());
        form.findChild<QAction*>("open")->trigger();
        benchmark::DoNotOptimize(form.textArea()->lines());
    }
    state.counters["lines"] = double(state.range(0));
    state.counters["file_MB"] = fileSize / 1e6;
    state.counters["peak_over_file_size"] = (peakRssBytes() - before) / fileSize;
    std::filesystem::remove(dialogs.file);
}
BENCHMARK(BM_OpenRawFile)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
