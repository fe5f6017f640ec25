// levara-cli: runs the menu's commands from the command line.
//
//   levara-cli [--filter leveling|intermediate|single] --save KIND [--overwrite] INPUT OUTPUT
//
// INPUT is opened as "打开" opens it, the filter runs as its menu command does, and the
// save command of KIND writes OUTPUT (workbooks with the EXCEL type). Exit status: 0 done,
// 1 failed (one line on stderr, OUTPUT untouched), 2 usage error.
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "commands/commands.h"
#include "records/records.h"

namespace {

constexpr const char* kUsage =
    "usage: levara-cli [--filter leveling|intermediate|single] --save KIND [--overwrite] INPUT OUTPUT\n"
    "  KIND: text bffb bbff bfbf bf abffb abffb-2way intermediate single\n";

using Command = void (*)(levara::Commands&);
using levara::books::Output;

const std::map<std::string_view, Command> kSaveCommands = {
    {"text", [](levara::Commands& c) { c.saveText(); }},
    {"bffb", [](levara::Commands& c) { c.saveWorkbook(Output::BffbBook); }},
    {"bbff", [](levara::Commands& c) { c.saveWorkbook(Output::BbffBook); }},
    {"bfbf", [](levara::Commands& c) { c.saveWorkbook(Output::BfbfBook); }},
    {"bf", [](levara::Commands& c) { c.saveWorkbook(Output::BfBook); }},
    {"abffb", [](levara::Commands& c) { c.saveWorkbook(Output::AbffbBook); }},
    {"abffb-2way", [](levara::Commands& c) { c.saveWorkbook(Output::AbffbTwoWayBook); }},
    {"intermediate", [](levara::Commands& c) { c.saveWorkbook(Output::IntermediateTable); }},
    {"single", [](levara::Commands& c) { c.saveWorkbook(Output::SinglePointTable); }},
};

const std::map<std::string_view, Command> kFilters = {
    {"leveling", [](levara::Commands& c) { c.reduceToLevelingLine(); }},
    {"intermediate", [](levara::Commands& c) { c.reduceToIntermediateSights(); }},
    {"single", [](levara::Commands& c) { c.reduceToSinglePoints(); }},
};

struct Options {
    Command filter = nullptr;
    std::string_view kind;
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
    levara::SaveChoice chooseFileToSave(std::optional<int> presetFilterIndex) override
    {
        return {options_.output, presetFilterIndex.value_or(levara::kExcelFilter)};
    }
    bool confirmOverwrite(const std::filesystem::path& file) override
    {
        if (!options_.overwrite)
            throw levara::FileError(file, "already exists; pass --overwrite to replace it");
        return true;
    }
    void notify(const std::string& message) override { throw levara::Error(message); }
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
            if (arg == "--filter") {
                auto found = kFilters.find(value);
                if (found == kFilters.end())
                    return std::nullopt;
                options.filter = found->second;
            } else {
                if (!kSaveCommands.count(value))
                    return std::nullopt;
                options.kind = value;
            }
        } else if (arg == "--overwrite") {
            options.overwrite = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return std::nullopt;
        } else {
            files.push_back(arg);
        }
    }
    if (options.kind.empty() || files.size() != 2 || files[0].empty() || files[1].empty())
        return std::nullopt;
    options.input = files[0];
    options.output = files[1];
    return options;
}

}  // namespace

int main(int argc, char** argv)
{
    // One command and out: memory it frees serves its next allocations instead of
    // going back to the system and being faulted in again, page by page.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        CliUi ui(*options);
        levara::Commands commands(ui, levara::programDirectory());
        commands.open();
        if (options->filter)
            options->filter(commands);
        kSaveCommands.at(options->kind)(commands);
        return 0;
    } catch (const levara::Error& error) {
        std::cerr << "levara-cli: " << error.what() << '\n';
        return 1;
    } catch (const std::exception& error) {
        // Out of memory, or a fault of Levara's own: still one line.
        std::cerr << "levara-cli: " << error.what() << '\n';
        return 1;
    }
}
