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

Message savedStatus(const std::filesystem::path& file)
{
    return Message(QT_TRANSLATE_NOOP("levara", "Saved %1"), file);
}

bool dropsALine(RecordFilter filter, const TextLines& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (copiesKept(filter, MeasurementLine(lines[i])) == 0)
            return true;
    return false;
}

}  // namespace

Commands::Commands(Ui& ui, std::filesystem::path programDir) : ui_(ui), programDir_(std::move(programDir)) {}

std::filesystem::path Commands::open()
{
    const std::filesystem::path file = ui_.chooseFileToOpen();
    if (!file.empty())
        open(file);
    return file;
}

void Commands::open(const std::filesystem::path& file)
{
    // Read and converted first: a file that cannot be read leaves the text as it was.
    OpenedText opened = readOpenedText(file);
    ui_.setText(std::move(opened.text));
    source_ = file;
    origins_ = std::move(opened.origins);
    // Warnings outrank the status; what was passed over is said after the decoding.
    if (opened.warning)
        ui_.warn(*opened.warning);
    if (opened.passedOver)
        ui_.warn(*opened.passedOver);
    if (opened.warning || opened.passedOver)
        return;
    if (opened.status)
        ui_.showStatus(*opened.status);
    else
        ui_.clearStatus();
}

const LineOrigins& Commands::origins()
{
    if (ui_.textEdited())
        origins_.clear();
    return origins_;
}

const LineOrigins& Commands::numbering()
{
    static const LineOrigins none;
    return linesOfFile_ ? origins() : none;
}

template <typename Run>
auto Commands::locatingFaults(Run run)
{
    try {
        return run();
    } catch (const InputError& fault) {
        if (numbering().empty())
            throw;
        throw InputError(fault, source_, fault.line());
    }
}

void Commands::saveText()
{
    BusyPointer busy(ui_);
    const SaveChoice choice = ui_.chooseFileToSave(textFilterIndex_);
    if (choice.file.empty())
        return;
    textFilterIndex_ = choice.filterIndex;
    if (!mayWrite(ui_, choice.file))
        return;
    const WorkFolder work(programDir_);
    const std::string& text = ui_.text();
    writeTextFile(work.temp().workFile(), {text, "\r\n"});
    // A copy of the work file: the same bytes, made again rather than read back.
    replaceTextFile(choice.file, {text, "\r\n"});
    ui_.showStatus(savedStatus(choice.file));
}

void Commands::reduce(RecordFilter filter)
{
    BusyPointer busy(ui_);
    const WorkFolder work(programDir_);
    const TextLines lines = writeWorkFile(work.temp().workFile(), ui_.text());
    FilteredLines kept = filterLines(filter, lines, origins());
    ui_.setText(std::move(kept.text));
    origins_ = std::move(kept.origins);
}

void Commands::saveWorkbook(books::WorkbookKind output)
{
    BusyPointer busy(ui_);
    {
        // Renewed before anything is asked, so even a cancelled save leaves a fresh copy.
        const WorkFolder work(programDir_);
        books::renewWorkingWorkbook(output, work.temp());
    }
    if (!offerToReduce(books::workbookKind(output).filter))
        return;
    // Every workbook save opens on EXCEL: the type a text save chose is no trap.
    const SaveChoice choice = ui_.chooseFileToSave(kExcelFilter);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    if (choice.filterIndex != kExcelFilter) {
        ui_.notify(notExcelNotice());
        return;
    }
    const WorkFolder work(programDir_);
    locatingFaults([&] {
        books::exportWorkbook(output, work.temp(), ui_.text(), choice.file, standard_ ? &*standard_ : nullptr,
                              numbering());
    });
    ui_.showStatus(savedStatus(choice.file));
}

bool Commands::offerToReduce(RecordFilter filter)
{
    // A book made from lines its filter drops (headers, rejected or foreign readings)
    // holds wrong sums without a word; a reduced text is not asked about again.
    if (!dropsALine(filter, TextLines::viewOf(ui_.text())))
        return true;
    switch (ui_.askReduceFirst(filter)) {
    case ReduceAnswer::Reduce: reduce(filter); return true;
    case ReduceAnswer::SaveAsItIs: return true;
    case ReduceAnswer::Cancel: return false;
    }
    return false;
}

leveling::CheckReport Commands::checkText(std::optional<leveling::ObservationOrder> order)
{
    TextLines lines = TextLines::viewOf(ui_.text());
    // Without a standard, the level's own results are all there is to check against.
    if (!standard_ && !leveling::holdsLevelHeights(lines))
        throw Error(
            Message(QT_TRANSLATE_NOOP("levara", "No standard is chosen: choose one in the %1 menu first."), "检核"));
    BusyPointer busy(ui_);
    lines.numberBy(numbering());
    return locatingFaults([&] {
        const std::vector<leveling::Section> sections = leveling::readSections(lines, order);
        leveling::CheckReport report;
        if (standard_) {
            report = leveling::checkSections(sections, *standard_);
        } else {
            for (const leveling::Section& section : sections)
                if (!section.stations.empty()) {
                    ++report.sections;
                    report.stations += section.stationCount();
                }
        }
        report.instrument = leveling::instrumentDisagreements(sections, lines);
        return report;
    });
}

namespace {

std::optional<leveling::KnownPoints> knownPoints(const std::filesystem::path& file)
{
    if (file.empty())
        return std::nullopt;
    return leveling::readKnownPoints(file);
}

// The save dialog's type for each file: CSV, DAT (STAR*NET's data files), all files.
int filterIndexOf(leveling::ExchangeFormat format)
{
    switch (format) {
    case leveling::ExchangeFormat::SectionsCsv: return 2;
    case leveling::ExchangeFormat::Starnet: return kDatFilter;
    default: return 4;
    }
}

}  // namespace

std::optional<leveling::Adjustment> Commands::saveAdjustmentTable()
{
    BusyPointer busy(ui_);
    {
        const WorkFolder work(programDir_);
        books::renewWorkingWorkbook(books::WorkbookKind::AdjustmentTable, work.temp());
    }
    if (!offerToReduce(RecordFilter::Leveling))
        return std::nullopt;
    // Computed before the save dialog: a text that makes no route is said at once.
    const std::optional<leveling::KnownPoints> known = knownPoints(knownPointsFile_);
    TextLines lines = TextLines::viewOf(ui_.text());
    lines.numberBy(numbering());
    const leveling::Standard* standard = standard_ ? &*standard_ : nullptr;
    leveling::Adjustment adjustment = locatingFaults([&] {
        return leveling::adjustRoute(leveling::readSections(lines), lines, known ? &*known : nullptr, distribution_,
                                     standard);
    });
    const SaveChoice choice = ui_.chooseFileToSave(kExcelFilter);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return std::nullopt;
    if (choice.filterIndex != kExcelFilter) {
        ui_.notify(notExcelNotice());
        return std::nullopt;
    }
    const WorkFolder work(programDir_);
    locatingFaults([&] {
        books::exportWorkbook(books::WorkbookKind::AdjustmentTable, work.temp(), ui_.text(), choice.file, standard,
                              numbering(), &adjustment);
    });
    if (const std::optional<Message> over = overLimitMessage(adjustment))
        ui_.showStatus(Message(QT_TRANSLATE_NOOP("levara", "Saved %1, marked \"%2\": %3"), choice.file, "超限", *over));
    else
        ui_.showStatus(savedStatus(choice.file));
    return adjustment;
}

void Commands::saveSectionsFile(leveling::ExchangeFormat format)
{
    BusyPointer busy(ui_);
    if (!offerToReduce(RecordFilter::Leveling))
        return;
    const std::optional<leveling::KnownPoints> known =
        format == leveling::ExchangeFormat::SectionsCsv ? std::nullopt : knownPoints(knownPointsFile_);
    TextLines lines = TextLines::viewOf(ui_.text());
    lines.numberBy(numbering());
    const std::string text = locatingFaults([&] {
        return leveling::exchangeText(format, leveling::readSections(lines), lines, known ? &*known : nullptr);
    });
    const SaveChoice choice = ui_.chooseFileToSave(filterIndexOf(format));
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    // STAR*NET reads the system's code page, GB18030's subset on a Chinese Windows;
    // CSV and XML are UTF-8.
    replaceFile(choice.file, format == leveling::ExchangeFormat::Starnet ? encodeGb18030(text) : text);
    ui_.showStatus(savedStatus(choice.file));
}

void Commands::reduceToLevelingLine() { reduce(RecordFilter::Leveling); }
void Commands::reduceToIntermediateSights() { reduce(RecordFilter::IntermediateSights); }
void Commands::reduceToSinglePoints() { reduce(RecordFilter::SinglePoints); }

}  // namespace levara
