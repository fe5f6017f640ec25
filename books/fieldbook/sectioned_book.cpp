#include "books/fieldbook/sectioned_book.h"

#include <algorithm>

#include "books/page_breaks.h"
#include "records/records.h"

namespace levara::books {

namespace {

// The rows a book's stations leave to its heading and summaries.
constexpr int kHeadingRows = kFirstBlockRow - 1;

LineSummary lineSummaryOf(const BookSection& part, const BookMarks* marks)
{
    LineSummary summary;
    summary.totals = totalsOf(*part.section);
    summary.stations = part.section->stationCount();
    summary.startHeight = part.startHeight;
    if (marks) {
        summary.evenRequired = marks->evenStations;
        summary.pair = marks->pairReturnedBy(part.index);
        summary.findings = marks->sectionFindings(part.index);
    }
    return summary;
}

// The whole book's totals: from the first line's start to the last one's end, Σd
// the sum of the lines' own.
SummaryTotals bookTotals(std::span<const BookSection> sections)
{
    if (sections.size() == 1)
        return totalsOf(*sections.front().section);
    SummaryTotals totals;
    for (const BookSection& part : sections) {
        const leveling::Section& section = *part.section;
        if (section.stations.empty())
            continue;
        if (totals.startPoint.empty())
            totals.startPoint = section.startPoint;
        totals.endPoint = section.endPoint;
        const SummaryTotals own = totalsOf(section);
        totals.sums.backDistance += own.sums.backDistance;
        totals.sums.foreDistance += own.sums.foreDistance;
        totals.sums.heightDifference += own.sums.heightDifference;
        totals.sums.heightDifference1 += own.sums.heightDifference1;
        totals.sums.heightDifference2 += own.sums.heightDifference2;
        totals.sums.sightLength += own.sums.sightLength;
        totals.sums.backReadings += own.sums.backReadings;
        totals.sums.foreReadings += own.sums.foreReadings;
        totals.distanceDifferenceSum += own.distanceDifferenceSum;
    }
    return totals;
}

std::vector<std::string> bookFindings(std::span<const BookSection> sections, const BookMarks* marks)
{
    if (!marks || sections.size() != 1)
        return {};
    return marks->sectionFindings(sections.front().index);
}

// Counted with the check rows of books that read each staff twice, the most there are.
int summaryRows(std::span<const BookSection> sections, const BookMarks* marks)
{
    int rows = bookSummaryRows(bookFindings(sections, marks).size(), true);
    if (sections.size() > 1)
        for (const BookSection& part : sections)
            rows += lineSummaryRows(lineSummaryOf(part, marks), true);
    return rows;
}

int firstPosition(const leveling::StationReadings& s)
{
    int first = s.back1.position;
    for (const leveling::StaffReading* reading : {&s.back2, &s.fore1, &s.fore2})
        if (reading->position > 0)
            first = std::min(first, reading->position);
    return first;
}

int lastPosition(const leveling::StationReadings& s)
{
    return std::max({s.back1.position, s.back2.position, s.fore1.position, s.fore2.position});
}

}  // namespace

std::vector<BookSection> bookSections(const std::vector<leveling::Section>& sections)
{
    std::vector<BookSection> parts;
    parts.reserve(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i)
        parts.push_back({&sections[i], int(i), std::nullopt});
    return parts;
}

void fillStartHeights(std::vector<BookSection>& sections, const TextLines& text)
{
    std::size_t from = 0;  // the index after the line before's last reading
    for (BookSection& part : sections) {
        const std::vector<leveling::Station>& stations = part.section->stations;
        if (stations.empty())
            continue;
        // Positions count from 1: the first reading's index is its position less one.
        const std::size_t firstReading = std::size_t(firstPosition(stations.front().readings) - 1);
        if (const std::optional<std::size_t> index = leveling::startHeightIndex(text, from);
            index && *index < firstReading)
            // Within the bound of every height, so that the sums in micrometres stay exact.
            if (const std::optional<double> height = typedNumber(MeasurementLine(text[*index]).height());
                height && leveling::heightInRange(*height))
                part.startHeight = height;
        from = std::size_t(lastPosition(stations.back().readings));
    }
}

void checkSectionsFit(std::span<const BookSection> sections, const BookMarks* marks, const char* book)
{
    int stationCount = 0;
    for (const BookSection& part : sections)
        stationCount += part.section->stationCount();
    const int maxStations = (xls::kMaxRows - kHeadingRows - summaryRows(sections, marks)) / 3;
    if (stationCount <= maxStations)
        return;
    int skipped = 0;
    for (const BookSection& part : sections) {
        const int count = part.section->stationCount();
        if (skipped + count <= maxStations) {
            skipped += count;
            continue;
        }
        const leveling::StationReadings& first = part.section->stations[std::size_t(maxStations - skipped)].readings;
        LineNumber opening = first.firstLine();
        if (book == leveling::kReturnBook)
            for (const leveling::StaffReading* reading : {&first.back1, &first.back2, &first.fore1, &first.fore2})
                opening = std::max(opening, reading->line);
        const leveling::StationName name{book, maxStations + 1, opening, nullptr};
        throw leveling::stationError(
            opening, name,
            Message(QT_TRANSLATE_NOOP("levara", "too many stations for one worksheet: a book holds at most "
                                                "%1 stations, so that its summary ends by row %2"),
                    maxStations, xls::kMaxRows));
    }
}

void writeSectionedBook(xls::Worksheet& sheet, std::span<const BookSection> sections, const BookMarks* marks,
                        const BookFrame& frame, const BlockWriter& writeBlock)
{
    const bool several = sections.size() > 1;
    // Each block starts a unit of rows kept on one page; a summary stays with the
    // block before it.
    std::vector<int> unitStarts;
    int row = kFirstBlockRow;
    for (const BookSection& part : sections) {
        for (const leveling::Station& station : part.section->stations) {
            unitStarts.push_back(row);
            writeBlock(sheet, row - kHeadingRows, station, part);
            row += 3;
        }
        if (several) {
            if (unitStarts.empty())
                unitStarts.push_back(row);
            row = writeLineSummary(sheet, row, lineSummaryOf(part, marks), frame.layout);
        }
    }
    if (unitStarts.empty())
        unitStarts.push_back(row);
    const int signOff = writeBookSummary(sheet, row, several ? "合计" : "测段计算", bookTotals(sections),
                                         bookFindings(sections, marks), frame.layout);
    keepUnitsOnPages(sheet, unitStarts, signOff, frame.lastColumn);
}

}  // namespace levara::books
