// levara-cli: runs the menu's commands from the command line.
//
//   levara-cli [--filter leveling|intermediate|single] --save KIND [--overwrite] INPUT OUTPUT
//   levara-cli --help | --version
//
// INPUT is opened as "打开" opens it, the filter runs as its menu command does, and the
// save command of KIND writes OUTPUT (workbooks with the EXCEL type). Exit status: 0 done,
// 1 failed (one line on stderr, OUTPUT untouched), 2 usage error. Messages, help and
// version follow the system language, as the window's do.
#include <malloc.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.h"
#include "records/records.h"

namespace {

// UTF-8, whatever the locale.
std::string text(const levara::Message& message) { return levara::translated(message).toStdString(); }

// stderr carries levara-cli's own line only: Qt's remarks, such as its switch to a
// UTF-8 locale when the user has none, are left out.
void quietQt(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "levara-cli: " << message.toStdString() << '\n';
}

using Command = void (*)(levara::Commands&);
using levara::books::Output;

// A name on the command line, the menu item it stands for and the command it runs.
struct Choice {
    std::string_view name;
    std::string_view caption;
    Command command;
};

const std::vector<Choice> kSaveCommands = {
    {"text", "原始文本", [](levara::Commands& c) { c.saveText(); }},
    {"bffb", "线路手薄(BFFB)", [](levara::Commands& c) { c.saveWorkbook(Output::BffbBook); }},
    {"bbff", "线路手薄(BBFF)", [](levara::Commands& c) { c.saveWorkbook(Output::BbffBook); }},
    {"bfbf", "线路手薄(BFBF)", [](levara::Commands& c) { c.saveWorkbook(Output::BfbfBook); }},
    {"bf", "线路手薄(BF)", [](levara::Commands& c) { c.saveWorkbook(Output::BfBook); }},
    {"abffb", "线路手薄(aBFFB 单一线路)", [](levara::Commands& c) { c.saveWorkbook(Output::AbffbBook); }},
    {"abffb-2way", "线路手薄(aBFFB 双转往返)", [](levara::Commands& c) { c.saveWorkbook(Output::AbffbTwoWayBook); }},
    {"intermediate", "中间点测量表格", [](levara::Commands& c) { c.saveWorkbook(Output::IntermediateTable); }},
    {"single", "单点测量表格", [](levara::Commands& c) { c.saveWorkbook(Output::SinglePointTable); }},
};

const std::vector<Choice> kFilters = {
    {"leveling", "水准线路", [](levara::Commands& c) { c.reduceToLevelingLine(); }},
    {"intermediate", "测中间点", [](levara::Commands& c) { c.reduceToIntermediateSights(); }},
    {"single", "单点测量", [](levara::Commands& c) { c.reduceToSinglePoints(); }},
};

const Choice* find(const std::vector<Choice>& choices, std::string_view name)
{
    const auto found = std::find_if(choices.begin(), choices.end(), [&](const Choice& c) { return c.name == name; });
    return found == choices.end() ? nullptr : &*found;
}

levara::Message usage()
{
    return levara::Message(
        QT_TRANSLATE_NOOP("levara", "usage: levara-cli [--filter FILTER] --save KIND [--overwrite] INPUT OUTPUT\n"
                                    "       levara-cli --help | --version\n"));
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
                                    "  --help           show this help\n"
                                    "  --version        show the version\n"
                                    "\n"
                                    "Workbooks are made from the templates in the temp folder beside the program,\n"
                                    "which also holds the work files. When you may not write there (a system\n"
                                    "install), your own folder is used instead:\n"
                                    "    %7 (by default %8)\n"
                                    "Missing templates are copied into it; a template you edit there is kept.\n"
                                    "\n"
                                    "Exit status: 0 saved; 1 failed (one line on stderr, OUTPUT left as it was);\n"
                                    "2 usage error.\n"),
        usage(), "打开", "整理", "保存", table(kFilters), table(kSaveCommands), "$XDG_DATA_HOME/levara/temp",
        "~/.local/share/levara/temp");
}

levara::Message version()
{
    return levara::Message(QT_TRANSLATE_NOOP("levara", "levara-cli (Levara) version %1\n"), LEVARA_VERSION);
}

struct Options {
    Command filter = nullptr;
    Command save = nullptr;
    bool overwrite = false;
    std::filesystem::path input;
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
    // --filter says whether to reduce.
    levara::ReduceAnswer askReduceFirst(levara::RecordFilter) override { return levara::ReduceAnswer::SaveAsItIs; }
    void notify(const levara::Message& message) override { throw levara::Error(message); }
    void showStatus(const levara::Message&) override {}  // silent on success
    void clearStatus() override {}
    void setBusy(bool) override {}

private:
    const Options& options_;
    std::string text_;
};

std::optional<Options> parse(int argc, char** argv)
{
    Options options;
    std::vector<std::string_view> files;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if ((arg == "--filter" || arg == "--save") && i + 1 < argc) {
            const std::string_view value = argv[++i];
            const Choice* choice = find(arg == "--filter" ? kFilters : kSaveCommands, value);
            if (!choice)
                return std::nullopt;
            (arg == "--filter" ? options.filter : options.save) = choice->command;
        } else if (arg == "--overwrite") {
            options.overwrite = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return std::nullopt;
        } else {
            files.push_back(arg);
        }
    }
    if (!options.save || files.size() != 2 || files[0].empty() || files[1].empty())
        return std::nullopt;
    options.input = files[0];
    options.output = files[1];
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

void run(const Options& options)
{
    CliUi ui(options);
    levara::Commands commands(ui, levara::programDirectory());
    commands.open();
    if (options.filter)
        options.filter(commands);
    options.save(commands);
}

}  // namespace

int main(int argc, char** argv)
{
    // One command and out: memory it frees serves its next allocations instead of
    // going back to the system and being faulted in again, page by page.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    qInstallMessageHandler(quietQt);
    std::exception_ptr failure;
    const std::optional<Options> options = asksForText(argc, argv) ? std::nullopt : parse(argc, argv);
    if (options) {
        try {
            run(*options);
            return 0;
        } catch (...) {
            failure = std::current_exception();
        }
    }

    // Qt and the translations start only when there is something to say: a command
    // that succeeds says nothing, and starting them takes longer than copying its output.
    const QCoreApplication application(argc, argv);
    std::optional<levara::Translators> translators;
    try {
        translators.emplace(levara::systemLanguage());
        if (failure)
            std::rethrow_exception(failure);
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
                std::fputs(text(help()).c_str(), stdout);
                return 0;
            }
            if (std::strcmp(argv[i], "--version") == 0) {
                std::fputs(text(version()).c_str(), stdout);
                return 0;
            }
        }
        std::fputs(text(usage()).c_str(), stderr);
        std::fputs(
            text(levara::Message(QT_TRANSLATE_NOOP("levara", "Try \"%1\" for more.\n"), "levara-cli --help")).c_str(),
            stderr);
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "levara-cli: " << text(levara::failureMessage(error)) << '\n';
        return 1;
    }
}
