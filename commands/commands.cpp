#include "commands/commands.h"

#include <system_error>

#include "records/records.h"

namespace levara {

const char* const kNotExcelMessage = "Workbooks are saved only with the type \"EXCEL(*.xls)\". Nothing was written; "
                                     "choose that type in the save dialog.";

namespace {

// Asked only for an existing file; a directory is refused later by the copy itself.
bool mayWrite(Ui& ui, const std::filesystem::path& file)
{
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status))
        return true;
    return ui.confirmOverwrite(file);
}

}  // namespace

Commands::Commands(Ui& ui, std::filesystem::path programDir) : ui_(ui), temp_(std::move(programDir)) {}

std::string readRawText(const std::filesystem::path& file)
{
    // A file of CR LF lines, none empty, is already the text shown.
    std::string raw = readTextFile(file);
    if (areNonEmptyCrLfLines(raw))
        return raw;
    const TextLines lines = TextLines::fromText(std::move(raw));
    std::size_t size = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        size += lines[i].size() + 2;
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        text += lines[i];
        text += "\r\n";
    }
    return text;
}

void Commands::open()
{
    const std::filesystem::path file = ui_.chooseFileToOpen();
    if (file.empty())
        return;
    // Read first: a file that cannot be read leaves the text as it was.
    ui_.setText(readRawText(file));
}

void Commands::saveText()
{
    BusyPointer busy(ui_);
    const SaveChoice choice = ui_.chooseFileToSave(kDatFilter);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    const TempFolder::Lock lock = temp_.lock();
    const std::string& text = ui_.text();
    writeTextFile(temp_.workFile(), {text, "\r\n"});
    // A copy of the work file: the same bytes, made again rather than read back.
    replaceTextFile(choice.file, {text, "\r\n"});
}

void Commands::reduce(RecordFilter filter)
{
    BusyPointer busy(ui_);
    const TempFolder::Lock lock = temp_.lock();
    const TextLines lines = writeWorkFile(temp_.workFile(), ui_.text());
    ui_.setText(filterLines(filter, lines));
}

void Commands::saveWorkbook(books::Output output)
{
    BusyPointer busy(ui_);
    {
        // Renewed before anything is asked, so even a cancelled save leaves a fresh copy.
        const TempFolder::Lock lock = temp_.lock();
        books::renewWorkingWorkbook(output, temp_);
    }
    const SaveChoice choice = ui_.chooseFileToSave(std::nullopt);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    if (choice.filterIndex != kExcelFilter) {
        ui_.notify(kNotExcelMessage);
        return;
    }
    const TempFolder::Lock lock = temp_.lock();
    books::exportWorkbook(output, temp_, ui_.text(), choice.file);
}

void Commands::reduceToLevelingLine() { reduce(RecordFilter::Leveling); }
void Commands::reduceToIntermediateSights() { reduce(RecordFilter::IntermediateSights); }
void Commands::reduceToSinglePoints() { reduce(RecordFilter::SinglePoints); }

}  // namespace levara
