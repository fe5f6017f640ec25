#include "commands/commands.h"

#include <algorithm>
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

// The filter whose lines the workbook is made from.
RecordFilter filterFor(books::WorkbookKind output)
{
    switch (output) {
    case books::WorkbookKind::IntermediateTable: return RecordFilter::IntermediateSights;
    case books::WorkbookKind::SinglePointTable: return RecordFilter::SinglePoints;
    default: return RecordFilter::Leveling;
    }
}

// Asked only for an existing ordinary file; a folder, FIFO, device or socket is refused
// later by the replacement itself, which says what it is.
bool mayWrite(Ui& ui, const std::filesystem::path& file)
{
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (!std::filesystem::is_regular_file(status))
        return true;
    return ui.confirmOverwrite(file);
}

Message savedStatus(const std::filesystem::path& file)
{
    return Message(QT_TRANSLATE_NOOP("levara", "Saved %1"), file);
}

// An .xls (a compound file, whose signature is D0 CF 11 E0 A1 B1 1A E1: [MS-CFB] 2.2)
// or an .xlsx (a ZIP archive, "PK\3\4": APPNOTE.TXT 4.3.7).
bool isWorkbook(std::string_view bytes)
{
    return bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") || bytes.starts_with("PK\x03\x04");
}

// Whether the text's leveling lines hold no station; a text whose lines cannot be
// read as stations holds some, for this.
bool holdsNoStation(const std::string& text)
{
    try {
        for (const leveling::Section& section : leveling::readSections(TextLines::viewOf(text)))
            if (section.stationCount() > 0)
                return false;
        return true;
    } catch (const Error&) {
        return false;
    }
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
    std::string bytes = readFile(file);
    // A workbook would show as a screen of garbage: said for what it is.
    if (isWorkbook(bytes))
        throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "this is an Excel workbook, not a raw file of a "
                                                                  "digital level")));
    OpenedText opened = openedText(std::move(bytes), file);
    ui_.setText(opened.text);
    source_ = file;
    origins_ = std::move(opened.origins);
    // Warnings outrank the status; what was passed over is said after the decoding.
}

namespace {

std::optional<leveling::KnownPoints> knownPoints(const std::filesystem::path& file)
{
    if (file.empty())
        return std::nullopt;
    return leveling::readKnownPoints(file);
}

// The save dialog's type for each file: CSV, XML (Gama's input), DAT (STAR*NET's data files).
int filterIndexOf(leveling::ExchangeFormat format)
{
    switch (format) {
    case leveling::ExchangeFormat::SectionsCsv: return kCsvFilter;
    case leveling::ExchangeFormat::Gama: return kXmlFilter;
    case leveling::ExchangeFormat::Starnet: return kDatFilter;
    }
    return kAllFilesFilter;
}

}  // namespace

std::optional<leveling::Adjustment> Commands::saveAdjustmentTable()
{
    BusyPointer busy(ui_);
    {
        const WorkFolder work(programDir_);
        books::renewWorkingWorkbook(books::WorkbookKind::AdjustmentTable, work.temp());
    }
    std::optional<FilteredLines> reduced;
    if (!offerToReduce(RecordFilter::Leveling, reduced))
        return std::nullopt;
    // Computed before the save dialog: a text that makes no route is said at once.
    const std::optional<leveling::KnownPoints> known = knownPoints(knownPointsFile_);
    TextLines lines = TextLines::viewOf(reduced ? reduced->text : ui_.text());
    lines.numberBy(numberingOf(reduced));
    const leveling::Standard* standard = standard_ ? &*standard_ : nullptr;
    leveling::Adjustment adjustment = locatingFaults([&] {
        return leveling::adjustRoute(leveling::readSections(lines, order_), lines, known ? &*known : nullptr,
                                     distribution_, standard);
    });
    const SaveChoice choice = ui_.chooseFileToSave(kExcelFilter);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return std::nullopt;
    if (choice.filterIndex != kExcelFilter) {
        ui_.notify(notExcelNotice());
        return std::nullopt;
    }
    if (reduced)
        replaceByReduced(RecordFilter::Leveling, std::move(*reduced));
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

std::optional<books::NetworkReport> Commands::saveNetworkTable()
{
    BusyPointer busy(ui_);
    {
        const WorkFolder work(programDir_);
        books::renewWorkingWorkbook(books::WorkbookKind::NetworkTable, work.temp());
    }
    if (!offerToReduce(RecordFilter::Leveling))
        return std::nullopt;
    // Computed before the save dialog: a network that cannot be adjusted is said at once.
    const std::optional<leveling::KnownPoints> known = knownPoints(knownPointsFile_);
    TextLines lines = TextLines::viewOf(ui_.text());
    lines.numberBy(numbering());
    const leveling::Standard* standard = standard_ ? &*standard_ : nullptr;
    books::NetworkReport report = locatingFaults([&] {
        books::NetworkReport made;
        const leveling::NetworkInput input =
            leveling::networkOf(leveling::readSections(lines, order_), lines, known ? &*known : nullptr, distribution_,
                                standard, pairs_);
        made.adjustment = leveling::adjustNetwork(input);
        made.pairs = pairs_;
        if (standard)
            made.standard = standard->limits.name + (standard->mountain ? "(山区)" : "");
        if (known)
            made.knownFile = known->file;
        else
            made.startHeightLine = leveling::recordedStartHeight(lines, input.observations.front().from).line;
        return made;
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
        books::exportWorkbook(books::WorkbookKind::NetworkTable, work.temp(), ui_.text(), choice.file, standard,
                              numbering(), nullptr, &report);
    });
    if (const std::optional<Message> findings = networkFindingsMessage(report))
        ui_.showStatus(Message(QT_TRANSLATE_NOOP("levara", "Saved %1: %2"), choice.file, *findings));
    else
        ui_.showStatus(savedStatus(choice.file));
    return report;
}

void Commands::saveSectionsFile(leveling::ExchangeFormat format)
{
    BusyPointer busy(ui_);
    std::optional<FilteredLines> reduced;
    if (!offerToReduce(RecordFilter::Leveling, reduced))
        return;
    const std::optional<leveling::KnownPoints> known =
        format == leveling::ExchangeFormat::SectionsCsv ? std::nullopt : knownPoints(knownPointsFile_);
    TextLines lines = TextLines::viewOf(reduced ? reduced->text : ui_.text());
    lines.numberBy(numberingOf(reduced));
    const std::string text = locatingFaults([&] {
        return leveling::exchangeText(format, leveling::readSections(lines, order_), lines, known ? &*known : nullptr,
                                      standard_ ? &*standard_ : nullptr);
    });
    const SaveChoice choice = ui_.chooseFileToSave(filterIndexOf(format));
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    if (reduced)
        replaceByReduced(RecordFilter::Leveling, std::move(*reduced));
    // STAR*NET reads the system's code page, GB18030's subset on a Chinese Windows;
    // CSV and XML are UTF-8.
    replaceFile(choice.file, format == leveling::ExchangeFormat::Starnet ? encodeGb18030(text) : text);
    ui_.showStatus(savedStatus(choice.file));
}

void Commands::reduceToLevelingLine() { reduce(RecordFilter::Leveling); }
void Commands::reduceToIntermediateSights() { reduce(RecordFilter::IntermediateSights); }
void Commands::reduceToSinglePoints() { reduce(RecordFilter::SinglePoints); }

}  // namespace levara
