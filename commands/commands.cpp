#include "commands/commands.h"

#include <system_error>

#include "records/records.h"

namespace levara {

Message notExcelNotice()
{
    return Message(QT_TRANSLATE_NOOP("levara", "Workbooks are saved only with the type \"%1\". Nothing was written; "
                                               "choose that type in the save dialog."),
                   "EXCEL(*.xls)");
}

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

Commands::Commands(Ui& ui, std::filesystem::path programDir) : ui_(ui), programDir_(std::move(programDir)) {}

std::string readRawText(const std::filesystem::path& file)
{
    const TextLines lines = TextLines::read(file);
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
    const WorkFolder work(programDir_);
    writeTextFile(work.temp().workFile(), {ui_.text(), "\r\n"});
    copyFileReplacing(work.temp().workFile(), choice.file);
}

void Commands::reduce(RecordFilter filter)
{
    BusyPointer busy(ui_);
    const WorkFolder work(programDir_);
    writeTextFile(work.temp().workFile(), {ui_.text(), "\r\n"});
    const TextLines lines = TextLines::read(work.temp().workFile());
    ui_.setText(filterLines(filter, lines));
}

void Commands::saveWorkbook(books::Output output)
{
    BusyPointer busy(ui_);
    {
        // Renewed before anything is asked, so even a cancelled save leaves a fresh copy.
        const WorkFolder work(programDir_);
        books::renewWorkingWorkbook(output, work.temp());
    }
    const SaveChoice choice = ui_.chooseFileToSave(std::nullopt);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    if (choice.filterIndex != kExcelFilter) {
        ui_.notify(notExcelNotice());
        return;
    }
    const WorkFolder work(programDir_);
    books::exportWorkbook(output, work.temp(), ui_.text(), choice.file);
}

void Commands::reduceToLevelingLine() { reduce(RecordFilter::Leveling); }
void Commands::reduceToIntermediateSights() { reduce(RecordFilter::IntermediateSights); }
void Commands::reduceToSinglePoints() { reduce(RecordFilter::SinglePoints); }

}  // namespace levara
