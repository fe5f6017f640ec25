// levara-cli: runs the menu's commands from the command line. Its usage is usage()
// below, which --help prints and README.md shows (a test holds them equal).
//
// INPUT is opened as "打开" opens it (the INPUTs after the first, which the saves that
// read sections take, appended as "追加文件" appends them), the filter runs as its menu
// command does, and the save command of KIND writes OUTPUT (workbooks with the EXCEL
// type), its field books marked against the standard given. check holds INPUT's
// leveling lines to the standard (if any) and to the level's own results as
// "检核当前文本" does and prints
// what exceeds or differs. Exit status: 0 done (check: all within the limits and
// agreeing with the level), 1 failed (one line on stderr, OUTPUT untouched), 2 usage
// error, 3 (check) values over the limits or differing from the level, (adjustment) a
// table saved whose misclosure or forward/return discrepancy is over its limit, or
// (network) a table saved whose global test fails or that flags possible blunders, said
// on stderr. Messages, help and version follow the
// system language, as the window's do.
#include <malloc.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/user_language.h"
#include "commands/commands.h"
#include "records/records.h"

namespace {

// UTF-8, whatever the locale.
std::string text(const levara::Message& message) { return levara::translated(message); }

using Command = std::function<void(levara::Commands&)>;
using levara::books::WorkbookKind;

// A name on the command line, the menu item it stands for and the command it runs.
struct Choice {
    std::string_view name;
    std::string_view caption;
    Command command;
    bool knownHeights = false;   // --known applies
    bool adjustment = false;     // the adjustment table: --by applies, and its own exit status
    bool network = false;        // the network table: --by and --pairs apply, and its own exit status
    bool readsSections = false;  // reads the text's sections: --order applies
};

// The text, every workbook (books::kWorkbookKinds), and the files for adjustment software
// (kExchangeFormats).
std::vector<Choice> saveCommands()
{
    std::vector<Choice> commands = {{"text", "原始文本", [](levara::Commands& c) { c.saveText(); }}};
    for (const levara::books::WorkbookKindInfo& kind : levara::books::kWorkbookKinds) {
        const bool adjustment = kind.kind == WorkbookKind::AdjustmentTable;
        const bool network = kind.kind == WorkbookKind::NetworkTable;
        commands.push_back({kind.cliName, kind.caption,
                            adjustment ? Command([](levara::Commands& c) { c.saveAdjustmentTable(); })
                            : network  ? Command([](levara::Commands& c) { c.saveNetworkTable(); })
                                       : Command([k = kind.kind](levara::Commands& c) { c.saveWorkbook(k); }),
                            kind.knownHeights, adjustment, network, kind.knownHeights});
    }
    for (const levara::ExchangeFormatInfo& file : levara::kExchangeFormats)
        commands.push_back({file.cliName, file.caption,
                            [format = file.format](levara::Commands& c) { c.saveSectionsFile(format); },
                            file.knownHeights, false, false, true});
    return commands;
}

const std::vector<Choice> kSaveCommands = saveCommands();

const std::vector<Choice> kFilters = {
    {"leveling", "水准线路", [](levara::Commands& c) { c.filterToLevelingLine(); }},
    {"intermediate", "测中间点", [](levara::Commands& c) { c.filterToIntermediateSights(); }},
    {"single", "单点测量", [](levara::Commands& c) { c.filterToSinglePoints(); }},
};

const Choice* find(const std::vector<Choice>& choices, std::string_view name)
{
    const auto found = std::find_if(choices.begin(), choices.end(), [&](const Choice& c) { return c.name == name; });
    return found == choices.end() ? nullptr : &*found;
}

const std::vector<Choice> kOrders = {
    {"bffb", "BFFB", nullptr}, {"bbff", "BBFF", nullptr},   {"bfbf", "BFBF", nullptr},
    {"bf", "BF", nullptr},     {"abffb", "aBFFB", nullptr},
};

levara::Message usage()
{
    return levara::Message(
        QT_TRANSLATE_NOOP("levara",
                          "usage: levara-cli [--filter FILTER] --save KIND [--overwrite] [STANDARD]\n"
                          "                  [--known FILE] [--by distance|stations] [--pairs mean|both]\n"
                          "                  [--order ORDER] INPUT... OUTPUT\n"
                          "       levara-cli check [--filter FILTER] [STANDARD] [--order ORDER] [--csv] INPUT\n"
                          "       levara-cli --help | --version\n"
                          "STANDARD: --standard 1|2|3|4 [--mountain] | --limits FILE\n"));
}

// Each name beside its menu caption, one a line.
std::string table(const std::vector<Choice>& choices)
{
    std::string lines;
    for (const Choice& choice : choices)
        lines += "      " + std::string(choice.name) + std::string(14 - choice.name.size(), ' ') +
                 std::string(choice.caption) + "\n";
    return lines;
}

levara::Message help()
{
    return levara::Message(
        QT_TRANSLATE_NOOP("levara", "%1\n"
                                    "Runs the menu's commands without the window: opens the raw file INPUT (%2),\n"
                                    "reduces its text with FILTER (%3) and saves it as KIND to OUTPUT (%4).\n"
                                    "\n"
                                    "  --filter FILTER  the reduction, as %3 offers it:\n"
                                    "%5"
                                    "  --save KIND      what to save, as %4 offers it; workbooks are .xls files:\n"
                                    "%6"
                                    "  --overwrite      replace OUTPUT when it exists\n"
                                    "  --standard N     hold the leveling lines to the limits of order N (1 to 4,\n"
                                    "                   digital levels), as %9 offers them: a saved field book\n"
                                    "                   shows each value over its limit in red and names it in\n"
                                    "                   its remarks\n"
                                    "  --mountain       with --standard 3 or 4: the mountain limits\n"
                                    "  --limits FILE    the same with the limits of a limits file (JSON)\n"
                                    "  --known FILE     adjustment, network, gama, starnet: the known heights, a\n"
                                    "                   file of point names and heights in metres; without it\n"
                                    "                   the start's height recorded in INPUT is the only one\n"
                                    "  --by distance|stations\n"
                                    "                   adjustment: the misclosure shared by section length (the\n"
                                    "                   default) or by station count; network: the sections\n"
                                    "                   weighted by 1/length (the default) or 1/stations\n"
                                    "  --pairs mean|both\n"
                                    "                   network: a forward/return pair adjusted as its mean (the\n"
                                    "                   default, as the leveling standards do) or as two runs\n"
                                    "  --help           show this help\n"
                                    "  --version        show the version\n"
                                    "\n"
                                    "check prints one line per value over its limit, one per station whose height\n"
                                    "difference differs from the level's own heights, and a summary; without\n"
                                    "STANDARD, only the level's. With --csv, a CSV header and one row per value\n"
                                    "instead. The stations are read from the lines --filter leveling keeps,\n"
                                    "reduced or not, in the order a line's Start-Line record names; a line that\n"
                                    "names none is read in the order its readings' tags show, or give it, to check\n"
                                    "and to every save that reads sections (adjustment, network, sections-csv,\n"
                                    "gama, starnet):\n"
                                    "  --order ORDER    bffb, bbff, bfbf, bf or abffb\n"
                                    "\n"
                                    "Those saves take several INPUTs, one after the other: each file's leveling\n"
                                    "lines are read on their own and their sections joined into one network; a\n"
                                    "fault names the file and its own line. Every other save takes one INPUT.\n"
                                    "\n"
                                    "Workbooks are made from the templates in the temp folder beside the program,\n"
                                    "which also holds the work files. When you may not write there (a system\n"
                                    "install), your own folder is used instead:\n"
                                    "    %7 (by default %8)\n"
                                    "Missing templates are copied into it; a template you edit there is kept.\n"
                                    "\n"
                                    "Exit status: 0 saved, or checked and all within the limits and agreeing\n"
                                    "with the level; 1 failed (one line on stderr, OUTPUT left as it was); 2\n"
                                    "usage error; 3 checked, and values over the limits or stations differing\n"
                                    "from the level, an adjustment table saved whose misclosure is over its\n"
                                    "limit, or a network table saved whose global test fails or that flags\n"
                                    "possible blunders (said on stderr; the table marks it).\n"),
        usage(), "打开", "整理", "保存", levara::Verbatim{table(kFilters)}, levara::Verbatim{table(kSaveCommands)},
        "$XDG_DATA_HOME/levara/temp", "~/.local/share/levara/temp", "检核");
}

levara::Message version()
{
    return levara::Message(QT_TRANSLATE_NOOP("levara", "levara-cli (Levara) version %1\n"), LEVARA_VERSION);
}

struct Options {
    bool check = false;
    const Choice* filter = nullptr;
    const Choice* save = nullptr;
    bool overwrite = false;
    int standard = 0;  // 1 to 4; 0 none
    bool mountain = false;
    std::filesystem::path limits;
    std::optional<levara::leveling::ObservationOrder> order;
    bool csv = false;
    std::filesystem::path known;
    std::optional<levara::leveling::Distribution> distribution;
    std::optional<levara::leveling::PairUse> pairs;
    std::filesystem::path input;
    std::vector<std::filesystem::path> appended;  // the INPUTs after the first
    std::filesystem::path output;
};

// Dialogs answered from the command line.
class CliUi : public levara::Ui {
public:
    explicit CliUi(const Options& options) : options_(options) {}

    const std::string& text() override { return text_; }
    void setText(std::string text) override { text_ = std::move(text); }
    std::filesystem::path chooseFileToOpen() override { return options_.input; }
    levara::SaveChoice chooseFileToSave(int filterIndex) override { return {options_.output, filterIndex}; }
    bool confirmOverwrite(const std::filesystem::path& file) override
    {
        if (!options_.overwrite)
            throw levara::FileError(file, levara::Message(QT_TRANSLATE_NOOP("levara",
                                                                            "already exists; pass %1 to replace it"),
                                                          "--overwrite"));
        return true;
    }
    // --filter says whether to filter first.
    levara::FilterAnswer askFilterFirst(levara::RecordFilter) override { return levara::FilterAnswer::SaveAsItIs; }
    void notify(const levara::Message& message) override { throw levara::Error(message); }
    void showStatus(const levara::Message&) override {}  // silent on success
    void warn(const levara::Message& warning) override { warnings_.push_back(warning); }
    void clearStatus() override {}
    void setBusy(bool) override {}

private:
    const Options& options_;
    std::string text_;

public:
    // Told on stderr once Qt speaks the user's language.
    std::vector<levara::Message> warnings_;
};

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    std::vector<std::string_view> files;
    int first = 1;
    if (argc > 1 && std::string_view(argv[1]) == "check") {
        options.check = true;
        first = 2;
    }
    for (int i = first; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool valued = i + 1 < argc;
        if ((arg == "--filter" || (arg == "--save" && !options.check)) && valued) {
            const std::string_view value = argv[++i];
            const Choice* choice = find(arg == "--filter" ? kFilters : kSaveCommands, value);
            if (!choice)
                return std::nullopt;
            (arg == "--filter" ? options.filter : options.save) = choice;
        } else if (arg == "--overwrite" && !options.check) {
            options.overwrite = true;
        } else if (arg == "--standard" && valued) {
            const std::string_view value = argv[++i];
            if (value.size() != 1 || value[0] < '0' + levara::leveling::kFirstOrder ||
                value[0] > '0' + levara::leveling::kLastOrder)
                return std::nullopt;
            options.standard = value[0] - '0';
        } else if (arg == "--mountain") {
            options.mountain = true;
        } else if (arg == "--limits" && valued) {
            options.limits = argv[++i];
            if (options.limits.empty())
                return std::nullopt;
        } else if (arg == "--order" && valued) {
            const Choice* choice = find(kOrders, argv[++i]);
            if (!choice)
                return std::nullopt;
            options.order = levara::leveling::orderNamed(choice->caption);
        } else if (arg == "--known" && valued && !options.check) {
            options.known = argv[++i];
            if (options.known.empty())
                return std::nullopt;
        } else if (arg == "--by" && valued && !options.check) {
            const std::string_view value = argv[++i];
            if (value != "distance" && value != "stations")
                return std::nullopt;
            options.distribution = value == "distance" ? levara::leveling::Distribution::ByDistance
                                                       : levara::leveling::Distribution::ByStations;
        } else if (arg == "--pairs" && valued && !options.check) {
            const std::string_view value = argv[++i];
            if (value != "mean" && value != "both")
                return std::nullopt;
            options.pairs = value == "mean" ? levara::leveling::PairUse::Mean : levara::leveling::PairUse::BothRuns;
        } else if (arg == "--csv" && options.check) {
            options.csv = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return std::nullopt;
        } else {
            files.push_back(arg);
        }
    }
    if ((options.standard != 0 && !options.limits.empty()) || (options.mountain && options.standard == 0))
        return std::nullopt;
    if (!options.check && !options.save)
        return std::nullopt;
    const Choice* save = options.save;
    // Several INPUTs, joined as "追加文件" joins them, for the saves that read sections.
    const std::size_t fileCount = options.check ? 1 : 2;
    const bool joins = !options.check && save->readsSections && files.size() > fileCount;
    if ((files.size() != fileCount && !joins) ||
        std::any_of(files.begin(), files.end(), [](auto f) { return f.empty(); }))
        return std::nullopt;
    if ((!options.known.empty() && !(save && save->knownHeights)) ||
        (options.distribution && !(save && (save->adjustment || save->network))) ||
        (options.pairs && !(save && save->network)) || (options.order && !options.check && !save->readsSections))
        return std::nullopt;
    options.input = files[0];
    if (!options.check) {
        options.appended.assign(files.begin() + 1, files.end() - 1);
        options.output = files.back();
    }
    return options;
}

bool asksForText(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 ||
            std::strcmp(argv[i], "--version") == 0)
            return true;
    return false;
}

std::optional<levara::leveling::Standard> standardOf(const Options& options)
{
    if (options.standard != 0)
        return levara::leveling::chooseStandard(levara::leveling::builtinLimits(options.standard), options.mountain);
    if (!options.limits.empty())
        return levara::leveling::chooseStandard(levara::leveling::readLimitsFile(options.limits), false);
    return std::nullopt;
}

// What an adjustment or network table saved marks, none otherwise.
std::optional<levara::Message> save(const Options& options, std::vector<levara::Message>& warnings)
{
    CliUi ui(options);
    struct Keep {
        CliUi& ui;
        std::vector<levara::Message>& warnings;
        ~Keep() { warnings = std::move(ui.warnings_); }
    } keep{ui, warnings};
    levara::Commands commands(ui, levara::programDirectory());
    commands.numberLinesOfFile(true);
    commands.setStandard(standardOf(options));
    commands.setKnownPointsFile(options.known);
    if (options.distribution)
        commands.setDistribution(*options.distribution);
    if (options.pairs)
        commands.setPairUse(*options.pairs);
    commands.setOrder(options.order);
    commands.open();
    for (const std::filesystem::path& input : options.appended)
        commands.append(input);
    if (options.filter)
        options.filter->command(commands);
    if (options.save->network) {
        const std::optional<levara::books::NetworkReport> report = commands.saveNetworkTable();
        const std::optional<levara::Message> findings = report ? levara::networkFindingsMessage(*report) : std::nullopt;
        if (!findings)
            return std::nullopt;
        return levara::Message(QT_TRANSLATE_NOOP("levara", "%1: saved: %2"), options.output, *findings);
    }
    if (!options.save->adjustment) {
        options.save->command(commands);
        return std::nullopt;
    }
    const std::optional<levara::leveling::Adjustment> adjustment = commands.saveAdjustmentTable();
    const std::optional<levara::Message> over = adjustment ? levara::overLimitMessage(*adjustment) : std::nullopt;
    if (!over)
        return std::nullopt;
    return levara::Message(QT_TRANSLATE_NOOP("levara", "%1: saved, marked \"%2\": %3"), options.output, "超限", *over);
}

void printWarnings(const std::vector<levara::Message>& warnings)
{
    for (const levara::Message& warning : warnings)
        std::cerr << "levara-cli: " << text(levara::Message(QT_TRANSLATE_NOOP("levara", "warning: %1"), warning))
                  << '\n';
}

// What was printed reached the standard output, or the command fails: a report cut
// by a full disk or a closed file must not pass for a whole one.
int printed(int status)
{
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw levara::Error(levara::Message(QT_TRANSLATE_NOOP("levara", "cannot write to the standard output: %1"),
                                            std::strerror(errno != 0 ? errno : EIO)));
    return status;
}

// What a command that failed says: its message, and for a book the observations
// contradict, the --save kinds that fit them.
levara::Message failureText(const std::exception& error)
{
    const levara::Message message = levara::failureMessage(error, levara::FaultLines::OfFile);
    const auto* contradicted = dynamic_cast<const levara::leveling::OrderContradicted*>(&error);
    if (!contradicted || !contradicted->fitting())
        return message;
    std::string kinds;
    for (const WorkbookKind kind : levara::books::fieldBooksOf(*contradicted->fitting()))
        kinds += (kinds.empty() ? "--save " : ", --save ") + std::string(levara::books::workbookKind(kind).cliName);
    if (kinds.empty())
        return levara::Message(QT_TRANSLATE_NOOP("levara", "%1 (no field book fits every station)"), message);
    return levara::Message(QT_TRANSLATE_NOOP("levara", "%1 (the books that fit: %2)"), message, kinds);
}

// Exit status of a check with findings.
constexpr int kExceeded = 3;

int check(const Options& options)
{
    CliUi ui(options);
    levara::Commands commands(ui, levara::programDirectory());
    commands.numberLinesOfFile(true);
    commands.setStandard(standardOf(options));
    commands.open();
    printWarnings(ui.warnings_);
    if (options.filter)
        options.filter->command(commands);
    const levara::leveling::CheckReport report = commands.checkText(options.order);
    if (options.csv) {
        std::fputs(levara::findingsCsv(report).c_str(), stdout);
    } else {
        for (const levara::leveling::Finding& finding : report.findings)
            std::cout << text(levara::findingLine(finding)) << '\n';
        for (const levara::Message& line : levara::precisionText(report))
            std::cout << text(line) << '\n';
        for (const levara::leveling::InstrumentDisagreement& disagreement : report.instrument)
            std::cout << text(levara::instrumentLine(disagreement)) << '\n';
        std::cout << text(levara::checkSummary(report)) << '\n';
    }
    return report.findings.empty() && report.instrument.empty() ? 0 : kExceeded;
}

}  // namespace

int main(int argc, char** argv)
{
    // One command and out: memory it frees serves its next allocations instead of
    // going back to the system and being faulted in again, page by page.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // An export interrupted by SIGINT or SIGTERM leaves no temporary behind.
    levara::removeTemporariesOnSignals();
    std::exception_ptr failure;
    std::optional<levara::Message> overLimit;
    std::vector<levara::Message> warnings;
    const std::optional<Options> options = asksForText(argc, argv) ? std::nullopt : parse(argc, argv);
    if (options && !options->check) {
        try {
            overLimit = save(*options, warnings);
            if (!overLimit && warnings.empty())
                return 0;
        } catch (...) {
            failure = std::current_exception();
        }
    }

    // Qt and the translations start only when there is something to say: a save that
    // succeeds says nothing, and starting them takes longer than copying its output.
    // Without its translation levara-cli still says everything, in English.
    if (const std::optional<levara::Message> problem = levara::speakUsersLanguage(argc, argv))
        warnings.insert(warnings.begin(), *problem);
    try {
        printWarnings(warnings);
        if (failure)
            std::rethrow_exception(failure);
        if (overLimit) {
            std::cerr << "levara-cli: " << text(*overLimit) << '\n';
            return kExceeded;
        }
        if (options && !options->check)  // saved, with a warning
            return 0;
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
                std::fputs(text(help()).c_str(), stdout);
                return printed(0);
            }
            if (std::strcmp(argv[i], "--version") == 0) {
                std::fputs(text(version()).c_str(), stdout);
                return printed(0);
            }
        }
        if (options)  // a check, which says what it found
            return printed(check(*options));
        std::fputs(text(usage()).c_str(), stderr);
        std::fputs(
            text(levara::Message(QT_TRANSLATE_NOOP("levara", "Try \"%1\" for more.\n"), "levara-cli --help")).c_str(),
            stderr);
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "levara-cli: " << text(failureText(error)) << '\n';
        return 1;
    }
}
