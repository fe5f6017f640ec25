#include "books/pipeline/export.h"

#include <stdexcept>

#include "books/clear_rows.h"
#include "books/fieldbook/fieldbook.h"
#include "books/heading.h"
#include "books/tables/adjustment_table.h"
#include "books/tables/network_table.h"
#include "books/tables/precision_table.h"
#include "books/tables/tables.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace levara::books {

namespace {

std::size_t worksheetsNeeded(WorkbookKind output) { return workbookKind(output).sheets; }

// A field book's sections, read from every line as the book reads them (the two-way
// book: its forward and return runs), each station held to the staffs the level
// recorded: read once for that check, the marks and the book. None for a table, or
// where a station cannot be read whole (the book itself then says where).
std::optional<Sections> sectionsBooked(WorkbookKind output, const TextLines& lines)
{
    const WorkbookKindInfo& kind = workbookKind(output);
    if (!kind.order)
        return std::nullopt;
    try {
        if (kind.twoWay)
            return leveling::readTwoWaySections(lines, leveling::LinesRead::BookAsRecorded);
        return leveling::readSections(lines, *kind.order, leveling::LinesRead::BookAsRecorded);
    } catch (const leveling::OrderContradicted& fault) {
        throw leveling::OrderContradicted(fault,
                                          Message(QT_TRANSLATE_NOOP("levara",
                                                                    "the book %1 does not fit the observations: %2"),
                                                  kind.caption, fault.problem()),
                                          leveling::ordersFitting(lines, leveling::LinesRead::BookAsRecorded));
    } catch (const InputError&) {
        return std::nullopt;
    }
}

// The marks of a field book held to the standard and to the level's own heights, its
// stations read as the book reads them (booked, where sectionsBooked read them).
std::optional<BookMarks> marksFor(WorkbookKind output, const TextLines& lines, const leveling::Standard* standard,
                                  const std::optional<Sections>& booked)
{
    const WorkbookKindInfo& kind = workbookKind(output);
    if (!standard || !kind.order)
        return std::nullopt;
    if (booked)
        return bookMarks(*booked, *standard, leveling::instrumentDisagreements(*booked, lines));
    const Sections sections = kind.twoWay ? leveling::readTwoWaySections(lines)
                                          : leveling::readSections(lines, *kind.order, leveling::LinesRead::AsBook);
    return bookMarks(sections, *standard, leveling::instrumentDisagreements(sections, lines));
}

// Neither the template nor the output is at fault: the program lacks a library.
Message libgsfMissing(const xls::Error& error)
{
    return Message(QT_TRANSLATE_NOOP("levara", "workbooks cannot be read or written: libgsf cannot be loaded (%1)"),
                   error.detail());
}

// What the engine finds wrong with the working copy is the template's fault: the
// user is told which template and asked for nothing they cannot do.
Message templateProblem(const xls::Error& error)
{
    using Kind = xls::Error::Kind;
    switch (error.kind()) {
    case Kind::NotOle2:
    case Kind::NoWorkbookStream:
        return Message(QT_TRANSLATE_NOOP("levara", "the template is not an Excel 97-2003 workbook"));
    case Kind::Biff5:
        return Message(QT_TRANSLATE_NOOP("levara", "the template is an Excel 5.0/95 workbook; it must be saved as an "
                                                   "Excel 97-2003 workbook"));
    case Kind::Encrypted:
        return Message(QT_TRANSLATE_NOOP("levara", "the template is protected by a password; it must be saved "
                                                   "without one"));
    case Kind::Damaged: return Message(QT_TRANSLATE_NOOP("levara", "the template is damaged (%1)"), error.detail());
    case Kind::Unavailable: return libgsfMissing(error);
    default: return Message(QT_TRANSLATE_NOOP("levara", "the template cannot be used (%1)"), error.detail());
    }
}

// A limit of the format passed while filling belongs to the output the user chose.
Message outputProblem(const xls::Error& error)
{
    using Kind = xls::Error::Kind;
    switch (error.kind()) {
    case Kind::RowLimit:
        return Message(QT_TRANSLATE_NOOP("levara", "the workbook would need row %1; a .xls worksheet ends at row %2"),
                       error.detail(), xls::kMaxRows);
    case Kind::ColumnLimit:
        return Message(QT_TRANSLATE_NOOP("levara",
                                         "the workbook would need column %1; a .xls worksheet ends at column %2"),
                       error.detail(), xls::kMaxColumns);
    case Kind::TextLimit:
        return Message(QT_TRANSLATE_NOOP("levara", "a text of %1 characters is longer than the %2 a .xls cell holds"),
                       error.detail(), xls::kMaxTextLength);
    case Kind::FormatLimit:
        return Message(QT_TRANSLATE_NOOP("levara", "the workbook would need more than %1 cell formats"),
                       error.detail());
    case Kind::Unavailable: return libgsfMissing(error);
    default: return Message(QT_TRANSLATE_NOOP("levara", "the workbook cannot be written (%1)"), error.detail());
    }
}

// Fills the book from its sections as read already (booked), or from its lines.
void fill(WorkbookKind output, xls::Workbook& book, const TextLines& lines, const std::optional<Sections>& booked,
          const leveling::Standard* standard, const leveling::Adjustment* adjustment, const NetworkReport* network,
          const Heading* opened)
{
    const std::optional<BookMarks> marks = marksFor(output, lines, standard, booked);
    workbookKind(output).fill(book, lines, booked ? &*booked : nullptr, marks ? &*marks : nullptr, adjustment, network);
    Heading heading = readHeading(lines);
    if (opened)
        heading = completedBy(std::move(heading), *opened);
    for (std::size_t sheet = 0; sheet < worksheetsNeeded(output); ++sheet)
        writeHeading(book.sheet(sheet), heading, standard);
}

xls::Workbook openTemplateCopy(WorkbookKind output, const std::filesystem::path& templateFile, std::string_view bytes)
{
    try {
        xls::Workbook book = xls::Workbook::fromBytes(bytes);
        if (book.sheetCount() < worksheetsNeeded(output))
            throw FileError(templateFile, Message(QT_TRANSLATE_NOOP("levara", "the template needs %1 worksheets"),
                                                  worksheetsNeeded(output)));
        for (std::size_t sheet = 0; sheet < worksheetsNeeded(output); ++sheet)
            clearOldRows(book.sheet(sheet));
        return book;
    } catch (const xls::Error& error) {
        throw FileError(templateFile, templateProblem(error));
    }
}

std::string filledBytes(WorkbookKind output, xls::Workbook book, const TextLines& lines,
                        const std::filesystem::path& destination, const leveling::Standard* standard,
                        const leveling::Adjustment* adjustment, const NetworkReport* network, const Heading* opened)
{
    const std::optional<Sections> booked = sectionsBooked(output, lines);
    try {
        fill(output, book, lines, booked, standard, adjustment, network, opened);
        return std::move(book).toBytes();
    } catch (const xls::Error& error) {
        throw FileError(destination, outputProblem(error));
    }
}

}  // namespace

void checkBookFits(WorkbookKind output, const TextLines& lines) { sectionsBooked(output, lines); }

std::string workbookBytes(WorkbookKind output, std::string_view templateBytes, const TextLines& lines,
                          const std::filesystem::path& templateFile, const std::filesystem::path& destination,
                          const leveling::Standard* standard, const leveling::Adjustment* adjustment,
                          const NetworkReport* network, const Heading* opened)
{
    xls::Workbook book = openTemplateCopy(output, templateFile, templateBytes);
    return filledBytes(output, std::move(book), lines, destination, standard, adjustment, network, opened);
}

std::string filledWorkbookStream(WorkbookKind output, xls::Workbook book, const TextLines& lines,
                                 const leveling::Standard* standard, const leveling::Adjustment* adjustment,
                                 const NetworkReport* network)
{
    if (output == WorkbookKind::AdjustmentTable && !adjustment)
        throw std::logic_error("the adjustment table needs its adjustment");
    if (output == WorkbookKind::NetworkTable && !network)
        throw std::logic_error("the network table needs its adjustment");
    const std::filesystem::path templateFile(templateName(output));
    try {
        if (book.sheetCount() < worksheetsNeeded(output))
            throw FileError(templateFile, Message(QT_TRANSLATE_NOOP("levara", "the template needs %1 worksheets"),
                                                  worksheetsNeeded(output)));
        for (std::size_t sheet = 0; sheet < worksheetsNeeded(output); ++sheet)
            clearOldRows(book.sheet(sheet));
    } catch (const xls::Error& error) {
        throw FileError(templateFile, templateProblem(error));
    }
    const std::optional<Sections> booked = sectionsBooked(output, lines);
    try {
        fill(output, book, lines, booked, standard, adjustment, network, nullptr);
        return book.workbookStream();
    } catch (const xls::Error& error) {
        throw FileError("out.xls", outputProblem(error));
    }
}

void renewWorkingWorkbook(WorkbookKind output, const WorkFolderPaths& temp)
{
    copyFileReplacing(temp.templateFile(templateName(output)), temp.workingWorkbook(), Flush::No, Links::Refuse);
}

void exportWorkbook(WorkbookKind output, const WorkFolderPaths& temp, std::string_view text,
                    const std::filesystem::path& destination, const leveling::Standard* standard,
                    const LineOrigins& origins, const leveling::Adjustment* adjustment, const NetworkReport* network,
                    const Heading* opened)
{
    if (output == WorkbookKind::AdjustmentTable && !adjustment)
        throw std::logic_error("the adjustment table needs its adjustment");
    if (output == WorkbookKind::NetworkTable && !network)
        throw std::logic_error("the network table needs its adjustment");
    // Filled from the template itself: the working workbook, renewed before the save
    // dialog, may have been used by another Levara since.
    const std::string templateBytes = readFile(temp.templateFile(templateName(output)));
    const std::filesystem::path working = temp.workingWorkbook();
    std::string filled;
    try {
        TextLines lines = writeWorkFile(temp.workFile(), text);
        if (!origins.empty())
            lines.numberBy(origins);
        if (workbookKind(output).twoWay)
            writeTextFile(temp.reversedWorkFile(), reversedWorkText(lines));
        filled = workbookBytes(output, templateBytes, lines, temp.templateFile(templateName(output)), destination,
                               standard, adjustment, network, opened);
        replaceFile(working, filled, Flush::No, Links::Refuse);
    } catch (...) {
        // A failed export leaves a fresh copy of the template as the working workbook.
        replaceFile(working, templateBytes, Flush::No, Links::Refuse);
        throw;
    }
    // The user's file is a copy of the working workbook: the same bytes.
    replaceFile(destination, filled);
}

}  // namespace levara::books
