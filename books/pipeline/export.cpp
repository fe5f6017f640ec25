#include "books/pipeline/export.h"

#include <stdexcept>

#include "books/adjustment/adjustment_table.h"
#include "books/adjustment/precision_table.h"
#include "books/checks/checks.h"
#include "books/checks/sections.h"
#include "books/clear_rows.h"
#include "books/fieldbook/fieldbook.h"
#include "books/heading.h"
#include "books/tables/tables.h"
#include "records/records.h"

namespace levara::books {

namespace {

std::size_t worksheetsNeeded(Output output)
{
    return output == Output::AbffbTwoWayBook || output == Output::AdjustmentTable ? 2 : 1;
}

// The marks of a field book held to the standard, its stations read as the book reads them.
std::optional<BookMarks> marksFor(Output output, const TextLines& lines, const Standard* standard)
{
    if (!standard)
        return std::nullopt;
    std::vector<Section> sections;
    switch (output) {
    case Output::BffbBook: sections = readSections(lines, ObservationMethod::Bffb); break;
    case Output::BbffBook: sections = readSections(lines, ObservationMethod::Bbff); break;
    case Output::BfbfBook: sections = readSections(lines, ObservationMethod::Bfbf); break;
    case Output::BfBook: sections = readSections(lines, ObservationMethod::Bf); break;
    case Output::AbffbBook: sections = readSections(lines, ObservationMethod::Abffb); break;
    case Output::AbffbTwoWayBook: sections = readTwoWaySections(lines); break;
    default: return std::nullopt;
    }
    return bookMarks(checkSections(sections, *standard).findings);
}

void fillSheets(Output output, xls::Workbook& book, const TextLines& lines, const BookMarks* marks,
                const Adjustment* adjustment)
{
    xls::Worksheet& first = book.sheet(0);
    switch (output) {
    case Output::BffbBook: return writeLineBook(first, lines, StationOrder::BFFB, marks);
    case Output::BbffBook: return writeLineBook(first, lines, StationOrder::BBFF, marks);
    case Output::BfbfBook: return writeLineBook(first, lines, StationOrder::BFBF, marks);
    case Output::BfBook: return writeBfBook(first, lines, marks);
    case Output::AbffbBook: return writeAlternatingBook(first, lines, marks);
    case Output::AbffbTwoWayBook: return writeTwoWayBook(first, book.sheet(1), lines, marks);
    case Output::IntermediateTable: return writeIntermediateTable(first, lines);
    case Output::SinglePointTable: return writeSinglePointTable(first, lines);
    case Output::AdjustmentTable:
        writeAdjustmentTable(first, *adjustment);
        return writePrecisionTable(book.sheet(1), *adjustment);
    }
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

void fill(Output output, xls::Workbook& book, const TextLines& lines, const BookMarks* marks,
          const Adjustment* adjustment)
{
    fillSheets(output, book, lines, marks, adjustment);
    for (std::size_t sheet = 0; sheet < worksheetsNeeded(output); ++sheet)
        writeHeading(book.sheet(sheet), lines);
}

xls::Workbook openTemplateCopy(Output output, const std::filesystem::path& templateFile, std::string_view bytes)
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

std::string filledBytes(Output output, xls::Workbook book, const TextLines& lines,
                        const std::filesystem::path& destination, const Standard* standard,
                        const Adjustment* adjustment)
{
    const std::optional<BookMarks> marks = marksFor(output, lines, standard);
    try {
        fill(output, book, lines, marks ? &*marks : nullptr, adjustment);
        return std::move(book).toBytes();
    } catch (const xls::Error& error) {
        throw FileError(destination, outputProblem(error));
    }
}

}  // namespace

std::string_view templateName(Output output)
{
    switch (output) {
    case Output::BffbBook:
    case Output::BbffBook:
    case Output::BfbfBook:
    case Output::AbffbBook: return "exc.xls";
    case Output::BfBook: return "exc2.xls";
    case Output::AbffbTwoWayBook: return "exc3.xls";
    case Output::IntermediateTable: return "exc1.xls";
    case Output::SinglePointTable: return "exc0.xls";
    case Output::AdjustmentTable: return "exc4.xls";
    }
    return {};
}

std::string workbookBytes(Output output, std::string_view templateBytes, const TextLines& lines,
                          const std::filesystem::path& templateFile, const std::filesystem::path& destination,
                          const Standard* standard, const Adjustment* adjustment)
{
    xls::Workbook book = openTemplateCopy(output, templateFile, templateBytes);
    return filledBytes(output, std::move(book), lines, destination, standard, adjustment);
}

void renewWorkingWorkbook(Output output, const TempFolder& temp)
{
    copyFileReplacing(temp.templateFile(templateName(output)), temp.workingWorkbook(), Flush::No, Links::Refuse);
}

void exportWorkbook(Output output, const TempFolder& temp, std::string_view text,
                    const std::filesystem::path& destination, const Standard* standard, const LineOrigins& origins,
                    const Adjustment* adjustment)
{
    if (output == Output::AdjustmentTable && !adjustment)
        throw std::logic_error("the adjustment table needs its adjustment");
    // Filled from the template itself: the working workbook, renewed before the save
    // dialog, may have been used by another Levara since.
    const std::string templateBytes = readFile(temp.templateFile(templateName(output)));
    const std::filesystem::path working = temp.workingWorkbook();
    std::string filled;
    try {
        TextLines lines = writeWorkFile(temp.workFile(), text);
        if (!origins.empty())
            lines.numberBy(origins);
        if (output == Output::AbffbTwoWayBook)
            writeTextFile(temp.reversedWorkFile(), reversedWorkText(lines));
        filled = workbookBytes(output, templateBytes, lines, temp.templateFile(templateName(output)), destination,
                               standard, adjustment);
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
