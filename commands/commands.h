#pragma once
// commands: what the menu does, whoever runs it. The window, levara-cli, the tests
// and the benchmarks open, filter and save the text through Commands, answering its
// dialogs through Ui. A command that fails throws levara::Error with a message for
// the user, which the front ends show in the user's language (language.h); the
// user's files are then left as they were.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "books/books.h"
#include "commands/adjustment_report.h"
#include "commands/check_report.h"
#include "commands/exchange_formats.h"
#include "commands/failure.h"
#include "commands/joined_lines.h"
#include "commands/language.h"
#include "commands/program_dir.h"
#include "commands/ui.h"
#include "commands/work_folder.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace levara {

class Commands {
public:
    // programDir: the program's own directory, which holds the temp folder and the
    // templates (work_folder.h says where each user's work files go).
    Commands(Ui& ui, std::filesystem::path programDir);

    // "打开": the file chosen in the open dialog; returns it, empty when cancelled.
    std::filesystem::path open();
    // The file opened as "打开" opens it, without asking (a dropped or a recent file).
    void open(const std::filesystem::path& file);
    // "追加文件": the file chosen in the open dialog, read as "打开" reads it, its lines
    // after the text's; returns it, empty when cancelled. The adjustments, the exchange
    // files and the check read each file's leveling lines on their own and join their
    // sections into one network; a fault names the file and its line there. Nothing
    // opened yet: as "打开".
    std::filesystem::path append();
    void append(const std::filesystem::path& file);

    // "整理": the text replaced by the lines one kind of survey needs.
    void filterToLevelingLine();        // "水准线路"
    void filterToIntermediateSights();  // "测中间点"
    void filterToSinglePoints();        // "单点测量"
    // "恢复原文": the text as the files opened gave it (the file "打开" opened and those
    // appended to it since); nothing when none was opened.
    void restoreOpened();

    // "保存": the text itself, or one of the workbooks. The save dialog opens on the
    // type the text save chose last (DAT at first), or on EXCEL for a workbook. A text
    // its workbook's filter would still change is offered to be filtered first; it is
    // filtered once the file is chosen, so a cancelled save leaves it as it was.
    // saveText: false when nothing was saved.
    bool saveText();  // "原始文本"
    // A field book is marked against the standard chosen (setStandard).
    void saveWorkbook(books::WorkbookKind output);

    // Faults and findings in the text name the lines of the file it was opened from
    // (levara-cli), rather than the lines the window's text area shows; a fault also
    // names the file (InputError::locatedMessage). Not once the text is edited.
    void numberLinesOfFile(bool ofFile) { linesOfFile_ = ofFile; }

    // "检核": the standard the field books saved from now on are marked against; none
    // leaves them unmarked.
    void setStandard(std::optional<leveling::Standard> standard) { standard_ = std::move(standard); }
    const std::optional<leveling::Standard>& standard() const { return standard_; }
    // "检核当前文本": the text's leveling lines held to the chosen standard and to the
    // level's own results, each line's stations read in the order its Start-Line
    // record names, or in order when given. Without a standard, to the level's results
    // only (CheckReport::standard empty). Throws Error when no standard is chosen and
    // the text holds no results of the level, InputError as readSections does.
    leveling::CheckReport checkText(std::optional<leveling::ObservationOrder> order = {});
    // The leveling lines the last check read, by a finding's section index: the name
    // its Start-Line record gives, or its number from 1 when it gives none; and its
    // stations.
    struct CheckedLine {
        std::string name;
        int stations = 0;
    };
    const std::vector<CheckedLine>& checkedLines() const { return checkedLines_; }
    // The report's findings as CSV (as levara-cli check --csv writes them), to the file
    // chosen in the save dialog.
    void saveFindings(const leveling::CheckReport& report);

    // The order every command that reads sections reads all stations in (the check,
    // the adjustment tables, the exchange files), whatever each line's Start-Line
    // record names; none: each line's own.
    void setOrder(std::optional<leveling::ObservationOrder> order) { order_ = order; }

    // The known heights of the route, from a known-points file (empty: none, the start's
    // height is the one the text records), and how its misclosure is distributed.
    void setKnownPointsFile(std::filesystem::path file) { knownPointsFile_ = std::move(file); }
    const std::filesystem::path& knownPointsFile() const { return knownPointsFile_; }
    void setDistribution(leveling::Distribution distribution) { distribution_ = distribution; }
    leveling::Distribution distribution() const { return distribution_; }
    // "高差配赋表": the text's sections as one route, its misclosure distributed and held
    // to the chosen standard. The table is saved even when something is over its limit,
    // marked "超限"; the adjustment saved is returned for the front end to say so. None
    // when the user cancelled. Throws as adjustRoute and readKnownPoints do.
    std::optional<leveling::Adjustment> saveAdjustmentTable();
    // How the network adjustment takes a forward/return pair: their mean (the default)
    // or both runs.
    void setPairUse(leveling::PairUse pairs) { pairs_ = pairs; }
    // "平差成果表": the text's sections as a leveling network, adjusted by least squares
    // with the known points fixed (the known-points file, or the start's height the
    // text records), weighted as distribution says. The table is saved whatever the
    // global test finds; the report saved is returned for the front end to say what it
    // marks. None when the user cancelled. Throws as networkOf and adjustNetwork do.
    std::optional<books::NetworkReport> saveNetworkTable();
    // "测段数据(CSV)", "GNU Gama (XML)", "STAR*NET": the sections for adjustment software.
    void saveSectionsFile(leveling::ExchangeFormat format);

private:
    void filter(RecordFilter filter);
    // The filtered lines in place of the text, the text kept in the work file; says how
    // many lines were kept and dropped.
    void replaceByFiltered(RecordFilter filter, FilteredLines filtered);
    // The origins of the text's lines; none once the user has edited it.
    const LineOrigins& origins();
    // The files the text's lines came from; none once the user has edited it.
    const FileRuns& runs();
    // The text's lines, or the filtered ones, cut at the files they came from. A text
    // of several files is numbered by their lines for a save, whoever saves: the text
    // area's numbers name no file, and a workbook outlives the window.
    enum class Use { Check, Save };
    JoinedLines joinedLines(const std::optional<FilteredLines>& filtered, Use use = Use::Save);
    // What opening a file says: its warnings, or else its status.
    void tell(const OpenedText& opened);
    // The heading of the file opened, which a filtered text still fills from; none once
    // the user has edited the text, until "恢复原文".
    const books::Heading* openedHeading();
    // The origins the text's lines are numbered by: none unless numberLinesOfFile.
    const LineOrigins& numbering();
    // Runs a command that reads the text's lines numbered by numbering(); its
    // InputError is then located in the file the text came from.
    template <typename Run>
    auto locatingFaults(Run run);
    // false: the user cancelled the save. filtered: the text after filter, when the
    // user chose so; not yet shown.
    bool offerToFilter(RecordFilter filter, std::optional<FilteredLines>& filtered);
    // The origins lines are numbered by, of the text or of the filtered lines.
    const LineOrigins& numberingOf(const std::optional<FilteredLines>& filtered);
    // What a save that adjusts the text does before it writes: renews the working
    // workbook, offers to filter, runs adjust on the lines with the known points (before
    // the save dialog, so that a text that cannot be adjusted is said at once), asks for
    // the file and shows the filtered text. None when the user cancelled.
    using Adjust = std::function<void(const JoinedLines& lines, const leveling::KnownPoints* known)>;
    std::optional<std::filesystem::path> adjustThenChooseFile(books::WorkbookKind kind, const Adjust& adjust);

    Ui& ui_;
    std::filesystem::path programDir_;
    int textFilterIndex_ = kDatFilter;
    std::filesystem::path source_;  // the file opened
    LineOrigins origins_;
    FileRuns runs_;  // the files of the text's lines
    // The text and origins as the files opened gave them; the text of a file opened
    // alone shared with the text area, not copied (one appended to joins them anew).
    std::shared_ptr<const std::string> openedText_;
    LineOrigins openedOrigins_;
    FileRuns openedRuns_;    // their files
    FileRuns filteredRuns_;  // the files of the filtered lines a save reads
    // Read from openedText_ when first asked for, a reading the open need not wait for.
    std::optional<books::Heading> openedHeading_;
    bool headingDropped_ = false;  // the user edited the text
    bool linesOfFile_ = false;
    std::optional<leveling::Standard> standard_;
    std::vector<CheckedLine> checkedLines_;
    std::filesystem::path knownPointsFile_;
    leveling::Distribution distribution_ = leveling::Distribution::ByDistance;
    std::optional<leveling::ObservationOrder> order_;
    leveling::PairUse pairs_ = leveling::PairUse::Mean;
};

// The notice shown when a workbook output is saved with another type than EXCEL.
Message notExcelNotice();

}  // namespace levara
