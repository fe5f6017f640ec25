#include "commands/commands.h"

#include <algorithm>
#include <string_view>
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

// The workbook file chosen in the save dialog (which opens on EXCEL), replacing one only
// when the user agrees; none when cancelled or saved as another type (said).
std::optional<std::filesystem::path> chosenWorkbookFile(Ui& ui)
{
    const SaveChoice choice = ui.chooseFileToSave(kExcelFilter);
    if (choice.file.empty() || !mayWrite(ui, choice.file))
        return std::nullopt;
    if (choice.filterIndex != kExcelFilter) {
        ui.notify(notExcelNotice());
        return std::nullopt;
    }
    return choice.file;
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

// The runs of the lines filter keeps of lines, whose runs are given.
FileRuns keptRuns(RecordFilter filter, const TextLines& lines, const FileRuns& runs)
{
    FileRuns kept = runs;
    std::size_t line = 0;
    for (FileRun& run : kept) {
        std::size_t count = 0;
        for (std::size_t k = 0; k < run.lines && line < lines.size(); ++k, ++line)
            count += copiesKept(filter, MeasurementLine(lines[line]));
        run.lines = count;
    }
    return kept;
}

// The count of the text's lines as TextLines cuts them, counted without cutting them:
// an open keeps no more than the text in memory.
std::size_t lineCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++count;
    return count + (!text.empty() && text.back() != '\n' && text.back() != '\r' ? 1 : 0);
}

// text with more after it: a line end first unless it ends with one.
void endLastLine(std::string& text)
{
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += "\r\n";
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
    openedText_ = std::make_shared<const std::string>(std::move(opened.text));
    ui_.setSharedText(openedText_);
    openedHeading_.reset();
    headingDropped_ = false;
    source_ = file;
    openedOrigins_ = std::move(opened.origins);
    origins_ = openedOrigins_;
    runs_ = {{file, lineCount(*openedText_)}};
    openedRuns_ = runs_;
    tell(opened);
}

std::filesystem::path Commands::append()
{
    const std::filesystem::path file = ui_.chooseFileToOpen();
    if (!file.empty())
        append(file);
    return file;
}

void Commands::append(const std::filesystem::path& file)
{
    if (source_.empty() || !openedText_)
        return open(file);
    std::string bytes = readFile(file);
    if (isWorkbook(bytes))
        throw FileError(file, Message(QT_TRANSLATE_NOOP("levara", "this is an Excel workbook, not a raw file of a "
                                                                  "digital level")));
    OpenedText opened = openedText(std::move(bytes), file);
    const std::size_t count = lineCount(opened.text);
    // An edited text has lost where its lines came from: the appended ones are then
    // numbered as the text shows them too.
    const bool traced = !ui_.textEdited();
    std::string text = ui_.text();
    endLastLine(text);
    text += opened.text;
    ui_.replaceText(std::move(text));
    if (traced) {
        origins_.insert(origins_.end(), opened.origins.begin(), opened.origins.end());
        runs_.push_back({file, count});
    } else {
        origins_.clear();
        runs_.clear();
    }
    if (opened.warning || opened.passedOver)
        tell(opened);
    else if (opened.status)
        ui_.showStatus(Message(QT_TRANSLATE_NOOP("levara", "Appended %1: %2"), file, *opened.status));
    else
        ui_.showStatus(Message(QT_TRANSLATE_NOOP("levara", "Appended %1"), file));
    // 恢复原文 gives back every file opened, as they gave it: a text joined anew, the
    // one opened alone stays shared.
    std::string joined = *openedText_;
    endLastLine(joined);
    joined += opened.text;
    openedText_ = std::make_shared<const std::string>(std::move(joined));
    openedOrigins_.insert(openedOrigins_.end(), opened.origins.begin(), opened.origins.end());
    openedRuns_.push_back({file, count});
}

void Commands::tell(const OpenedText& opened)
{
    // Warnings outrank the status; what was passed over is said after the decoding.
    if (opened.warning)
        ui_.warn(*opened.warning);
    if (opened.passedOver)
        ui_.warn(*opened.passedOver);
    if (!opened.warning && !opened.passedOver) {
        if (opened.status)
            ui_.showStatus(*opened.status);
        else
            ui_.clearStatus();
    }
}

void Commands::restoreOpened()
{
    if (source_.empty() || !openedText_)
        return;
    ui_.replaceBySharedText(openedText_);
    origins_ = openedOrigins_;
    runs_ = openedRuns_;
    headingDropped_ = false;
}

const LineOrigins& Commands::origins()
{
    if (ui_.textEdited())
        origins_.clear();
    return origins_;
}

const FileRuns& Commands::runs()
{
    if (ui_.textEdited())
        runs_.clear();
    return runs_;
}

JoinedLines Commands::joinedLines(const std::optional<FilteredLines>& filtered, Use use)
{
    const bool byFile = use == Use::Save && runs().size() > 1;
    if (!filtered)
        return JoinedLines(ui_.text(), byFile ? origins() : numbering(), runs());
    filteredRuns_ = keptRuns(RecordFilter::Leveling, TextLines::viewOf(ui_.text()), runs());
    return JoinedLines(filtered->text, byFile ? filtered->origins : numberingOf(filtered), filteredRuns_);
}

const books::Heading* Commands::openedHeading()
{
    if (ui_.textEdited())
        headingDropped_ = true;
    if (headingDropped_ || !openedText_)
        return nullptr;
    if (!openedHeading_)
        openedHeading_ = books::readHeading(TextLines::viewOf(*openedText_));
    return &*openedHeading_;
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
    } catch (const leveling::OrderContradicted& fault) {
        // Kept whole: a front end offers the books that fit.
        if (fault.located() || numbering().empty())
            throw;
        throw leveling::OrderContradicted(fault, source_, fault.line());
    } catch (const InputError& fault) {
        if (fault.located())
            throw;  // in one of the files the text joins
        if (numbering().empty()) {
            // An empty file numbers no line, yet its fault is still the file's.
            if (linesOfFile_ && !source_.empty() && !ui_.textEdited() && ui_.text().empty())
                throw InputError(fault, source_, fault.line());
            throw;
        }
        throw InputError(fault, source_, fault.line());
    }
}

bool Commands::saveText()
{
    BusyPointer busy(ui_);
    const SaveChoice choice = ui_.chooseFileToSave(textFilterIndex_);
    if (choice.file.empty())
        return false;
    textFilterIndex_ = choice.filterIndex;
    if (!mayWrite(ui_, choice.file))
        return false;
    const LockedWorkFolder work(programDir_);
    const std::string& text = ui_.text();
    writeTextFile(work.paths().workFile(), {text, "\r\n"});
    // A copy of the work file: the same bytes, made again rather than read back.
    replaceTextFile(choice.file, {text, "\r\n"});
    ui_.textSaved();
    ui_.showStatus(savedStatus(choice.file));
    return true;
}

void Commands::filter(RecordFilter filter)
{
    BusyPointer busy(ui_);
    FilteredLines kept = filterLines(filter, TextLines::viewOf(ui_.text()), origins());
    replaceByFiltered(filter, std::move(kept));
}

void Commands::replaceByFiltered(RecordFilter filter, FilteredLines filtered)
{
    const LockedWorkFolder work(programDir_);
    const TextLines lines = writeWorkFile(work.paths().workFile(), ui_.text());
    runs_ = keptRuns(filter, TextLines::viewOf(ui_.text()), runs());
    // The empty line after the last line end is none the user sees.
    std::size_t dropped = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool afterLastEnd = i == lines.size() - 1 && lines[i].empty();
        if (!afterLastEnd && copiesKept(filter, MeasurementLine(lines[i])) == 0)
            ++dropped;
    }
    const auto kept = std::size_t(std::count(filtered.text.begin(), filtered.text.end(), '\n'));
    ui_.replaceText(std::move(filtered.text));
    origins_ = std::move(filtered.origins);
    ui_.showStatus(Message(QT_TRANSLATE_NOOP("levara", "Kept %1 lines, dropped %2"), kept, dropped));
}

void Commands::saveWorkbook(books::WorkbookKind output)
{
    BusyPointer busy(ui_);
    {
        // Renewed before anything is asked, so even a cancelled save leaves a fresh copy.
        const LockedWorkFolder work(programDir_);
        books::renewWorkingWorkbook(output, work.paths());
    }
    std::optional<FilteredLines> filtered;
    if (!offerToFilter(books::workbookKind(output).filter, filtered))
        return;
    // A book the observations contradict is said before the save dialog, so another can
    // be chosen at once.
    TextLines lines = TextLines::viewOf(filtered ? filtered->text : ui_.text());
    lines.numberBy(numberingOf(filtered));
    locatingFaults([&] { books::checkBookFits(output, lines); });
    // Every workbook save opens on EXCEL: the type a text save chose is no trap.
    const std::optional<std::filesystem::path> file = chosenWorkbookFile(ui_);
    if (!file)
        return;
    if (filtered)
        replaceByFiltered(books::workbookKind(output).filter, std::move(*filtered));
    const LockedWorkFolder work(programDir_);
    locatingFaults([&] {
        books::exportWorkbook(output, work.paths(), ui_.text(), *file, standard_ ? &*standard_ : nullptr, numbering(),
                              nullptr, nullptr, openedHeading());
    });
    ui_.showStatus(savedStatus(*file));
    // An empty book is what such a text asks for, but rarely what the user meant.
    if (books::workbookKind(output).filter == RecordFilter::Leveling && holdsNoStation(ui_.text()))
        ui_.notify(
            Message(QT_TRANSLATE_NOOP("levara", "Saved %1, but the text holds no station: the book is empty."), *file));
}

bool Commands::offerToFilter(RecordFilter filter, std::optional<FilteredLines>& filtered)
{
    // A book made from lines its filter drops (headers, rejected or foreign readings)
    // holds wrong sums without a word; a filtered text is not asked about again.
    const TextLines lines = TextLines::viewOf(ui_.text());
    if (!dropsALine(filter, lines))
        return true;
    switch (ui_.askFilterFirst(filter)) {
    case FilterAnswer::Filter: filtered = filterLines(filter, lines, origins()); return true;
    case FilterAnswer::SaveAsItIs: return true;
    case FilterAnswer::Cancel: return false;
    }
    return false;
}

const LineOrigins& Commands::numberingOf(const std::optional<FilteredLines>& filtered)
{
    static const LineOrigins none;
    if (!filtered)
        return numbering();
    return linesOfFile_ ? filtered->origins : none;
}

leveling::CheckReport Commands::checkText(std::optional<leveling::ObservationOrder> order)
{
    // Without a standard, the level's own results are all there is to check against.
    if (!standard_ && !leveling::holdsLevelHeights(TextLines::viewOf(ui_.text())))
        throw Error(
            Message(QT_TRANSLATE_NOOP("levara", "No standard is chosen: choose one in the %1 menu first."), "检核"));
    BusyPointer busy(ui_);
    const JoinedLines lines = joinedLines(std::nullopt, Use::Check);
    return locatingFaults([&] {
        // Each file's sections with the stations the level's heights there contradict.
        std::vector<leveling::Section> sections;
        std::vector<leveling::InstrumentDisagreement> instrument;
        for (std::size_t part = 0; part < lines.size(); ++part) {
            std::vector<leveling::Section> read = lines.sections(part, order ? order : order_);
            for (leveling::InstrumentDisagreement& found : leveling::instrumentDisagreements(read, lines[part])) {
                found.section += int(sections.size());
                instrument.push_back(std::move(found));
            }
            sections.insert(sections.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
        }
        checkedLines_.clear();
        for (const leveling::Section& section : sections)
            checkedLines_.push_back(
                {section.lineName.empty() ? std::to_string(checkedLines_.size() + 1) : std::string(section.lineName),
                 section.stationCount()});
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
        report.instrument = std::move(instrument);
        return report;
    });
}

void Commands::saveFindings(const leveling::CheckReport& report)
{
    BusyPointer busy(ui_);
    const SaveChoice choice = ui_.chooseFileToSave(kCsvFilter);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    replaceFile(choice.file, findingsCsv(report));
    ui_.showStatus(savedStatus(choice.file));
}

namespace {

std::optional<leveling::KnownPoints> knownPoints(const std::filesystem::path& file)
{
    if (file.empty())
        return std::nullopt;
    return leveling::readKnownPoints(file);
}

}  // namespace

std::optional<std::filesystem::path> Commands::adjustThenChooseFile(books::WorkbookKind kind, const Adjust& adjust)
{
    {
        const LockedWorkFolder work(programDir_);
        books::renewWorkingWorkbook(kind, work.paths());
    }
    std::optional<FilteredLines> filtered;
    if (!offerToFilter(RecordFilter::Leveling, filtered))
        return std::nullopt;
    const std::optional<leveling::KnownPoints> known = knownPoints(knownPointsFile_);
    const JoinedLines lines = joinedLines(filtered);
    locatingFaults([&] { adjust(lines, known ? &*known : nullptr); });
    std::optional<std::filesystem::path> file = chosenWorkbookFile(ui_);
    if (file && filtered)
        replaceByFiltered(RecordFilter::Leveling, std::move(*filtered));
    return file;
}

std::optional<leveling::Adjustment> Commands::saveAdjustmentTable()
{
    BusyPointer busy(ui_);
    const leveling::Standard* standard = standard_ ? &*standard_ : nullptr;
    std::optional<leveling::Adjustment> adjustment;
    const std::optional<std::filesystem::path> file =
        adjustThenChooseFile(books::WorkbookKind::AdjustmentTable, [&](const JoinedLines& lines,
                                                                       const leveling::KnownPoints* known) {
            adjustment = leveling::adjustRoute(lines.sections(order_), lines.first(), known, distribution_, standard);
        });
    if (!file)
        return std::nullopt;
    const LockedWorkFolder work(programDir_);
    locatingFaults([&] {
        books::exportWorkbook(books::WorkbookKind::AdjustmentTable, work.paths(), ui_.text(), *file, standard,
                              numbering(), &*adjustment, nullptr, openedHeading());
    });
    if (const std::optional<Message> over = overLimitMessage(*adjustment))
        ui_.showStatus(Message(QT_TRANSLATE_NOOP("levara", "Saved %1, marked \"%2\": %3"), *file, "超限", *over));
    else
        ui_.showStatus(savedStatus(*file));
    return adjustment;
}

std::optional<books::NetworkReport> Commands::saveNetworkTable()
{
    BusyPointer busy(ui_);
    const leveling::Standard* standard = standard_ ? &*standard_ : nullptr;
    books::NetworkReport report;
    const std::optional<std::filesystem::path> file =
        adjustThenChooseFile(books::WorkbookKind::NetworkTable, [&](const JoinedLines& lines,
                                                                    const leveling::KnownPoints* known) {
            const std::vector<leveling::Section> sections = lines.sections(order_);
            const leveling::NetworkInput input =
                leveling::networkOf(sections, lines.first(), known, distribution_, standard, pairs_);
            report.adjustment = leveling::adjustNetwork(input);
            if (standard) {
                leveling::CheckReport check = leveling::checkSections(sections, *standard);
                report.precision = std::move(check.precision);
                report.randomErrorLimit = check.randomErrorLimit;
                report.totalErrorLimit = check.totalErrorLimit;
                report.standard = standard->limits.name + (standard->mountain ? "(山区)" : "");
            } else {
                report.precision = leveling::precisionOf(sections);
            }
            report.pairs = pairs_;
            if (known) {
                report.knownFile = known->file;
            } else {
                const leveling::RecordedHeight recorded =
                    leveling::recordedStartHeight(lines.first(), input.observations.front().from);
                report.startHeightLine = recorded.line;
                if (recorded.file)
                    report.startHeightFile = *recorded.file;
            }
        });
    if (!file)
        return std::nullopt;
    const LockedWorkFolder work(programDir_);
    locatingFaults([&] {
        books::exportWorkbook(books::WorkbookKind::NetworkTable, work.paths(), ui_.text(), *file, standard, numbering(),
                              nullptr, &report);
    });
    if (const std::optional<Message> findings = networkFindingsMessage(report))
        ui_.showStatus(Message(QT_TRANSLATE_NOOP("levara", "Saved %1: %2"), *file, *findings));
    else
        ui_.showStatus(savedStatus(*file));
    return report;
}

void Commands::saveSectionsFile(leveling::ExchangeFormat format)
{
    BusyPointer busy(ui_);
    std::optional<FilteredLines> filtered;
    if (!offerToFilter(RecordFilter::Leveling, filtered))
        return;
    const ExchangeFormatInfo& info = exchangeFormat(format);
    const std::optional<leveling::KnownPoints> known = info.knownHeights ? knownPoints(knownPointsFile_) : std::nullopt;
    const JoinedLines lines = joinedLines(filtered);
    const std::string text = locatingFaults([&] {
        return leveling::exchangeText(format, lines.sections(order_), lines.first(), known ? &*known : nullptr,
                                      standard_ ? &*standard_ : nullptr);
    });
    const SaveChoice choice = ui_.chooseFileToSave(info.fileType);
    if (choice.file.empty() || !mayWrite(ui_, choice.file))
        return;
    if (filtered)
        replaceByFiltered(RecordFilter::Leveling, std::move(*filtered));
    replaceFile(choice.file, info.gb18030 ? encodeGb18030(text) : text);
    ui_.showStatus(savedStatus(choice.file));
}

void Commands::filterToLevelingLine() { filter(RecordFilter::Leveling); }
void Commands::filterToIntermediateSights() { filter(RecordFilter::IntermediateSights); }
void Commands::filterToSinglePoints() { filter(RecordFilter::SinglePoints); }

}  // namespace levara
