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
        addSums(totals.sums, own.sums);
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

namespace {

// A station block and the summaries that follow it, printed on one page; the first
// unit of a book whose first lines have no stations holds their summaries only.
struct BookUnit {
    const leveling::Station* station = nullptr;
    const BookSection* part = nullptr;
    std::vector<const BookSection*> lines;  // whose summaries follow
    bool bookSummary = false;
    int summaryRows = 0;

    int rows() const { return (station ? 3 : 0) + summaryRows; }
};

std::vector<BookUnit> bookUnits(std::span<const BookSection> sections, const BookMarks* marks, bool twice)
{
    std::vector<BookUnit> units;
    for (const BookSection& part : sections) {
        for (const leveling::Station& station : part.section->stations)
            units.push_back({&station, &part, {}, false, 0});
        if (sections.size() > 1) {
            if (units.empty())
                units.emplace_back();
            units.back().lines.push_back(&part);
            units.back().summaryRows += lineSummaryRows(lineSummaryOf(part, marks), twice);
        }
    }
    if (units.empty())
        units.emplace_back();
    units.back().bookSummary = true;
    units.back().summaryRows += bookSummaryRows(bookFindings(sections, marks).size(), twice);
    return units;
}

// Whether the units from first to last hold the stations of one summary among them:
// one line's, or the whole book's.
bool oneSummarysStations(std::span<const BookUnit> units, std::size_t first, std::size_t last)
{
    const BookUnit &opening = units[first], &closing = units[last];
    if (closing.bookSummary && (first == 0 || (first == 1 && !units[0].station)))
        return true;
    if (!opening.station || !closing.station || opening.part != closing.part)
        return false;
    const std::vector<leveling::Station>& stations = opening.part->section->stations;
    return opening.station == &stations.front() && closing.station == &stations.back();
}

}  // namespace

void writeSectionedBook(xls::Worksheet& sheet, std::span<const BookSection> sections, const BookMarks* marks,
                        const BookFrame& frame, const BlockWriter& writer)
{
    const bool twice = frame.layout.twice;
    const std::vector<BookUnit> units = bookUnits(sections, marks, twice);

    // Each unit's height where it goes, page check rows left out.
    std::vector<double> heights;
    heights.reserve(units.size());
    int totalRows = 0;
    double plainestBlock = 0;
    for (const BookUnit& unit : units) {
        const int row = kFirstBlockRow + totalRows;
        double height = 0;
        if (unit.station) {
            height = writer.height(sheet, row - kHeadingRows, *unit.station);
            plainestBlock = plainestBlock > 0 ? std::min(plainestBlock, height) : height;
        }
        height += rowsHeight(sheet, row + unit.rows() - unit.summaryRows, row + unit.rows() - 1);
        heights.push_back(height);
        totalRows += unit.rows();
    }
    const PageRooms rooms =
        pageRooms(sheet, kHeadingRows, *std::min_element(heights.begin(), heights.end()), frame.lastColumn);
    // A page's check rows where a page holds them with a block above (GB/T 12898-2009's
    // record form checks each page, as quoted at https://www.xiaomilidoc.com/p-11869615.html).
    const int checkRows = checkRowCount(twice);
    const double checkHeight = rowsHeight(sheet, kFirstBlockRow, kFirstBlockRow + checkRows - 1);
    // Fitted to so many pages tall, the spreadsheet sets its own pages: none.
    const bool pageChecks = plainestBlock > 0 && sheet.pageSetup().fitPagesTall == 0 &&
                            std::min(rooms.first, rooms.later) >= plainestBlock + checkHeight;
    const auto footHeight = [&](std::size_t first, std::size_t last) {
        const bool stations = last > 0 || units[0].station;
        return pageChecks && stations && !oneSummarysStations(units, first, last) ? checkHeight : 0.0;
    };
    const PagePlan plan = planPages(heights, rooms, footHeight);

    std::vector<int> breaks;
    breaks.reserve(plan.starts.size());
    std::size_t nextStart = 0, pageFirst = 0;
    leveling::StationSums pageSums;
    leveling::Micrometres pageDistanceDifferences = 0;
    int row = kFirstBlockRow, rowsLeft = totalRows;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const BookUnit& unit = units[i];
        if (nextStart < plan.starts.size() && plan.starts[nextStart] == i) {
            breaks.push_back(row);
            ++nextStart;
            pageFirst = i;
            pageSums = {};
            pageDistanceDifferences = 0;
        }
        if (unit.station) {
            writer.write(sheet, row - kHeadingRows, *unit.station, *unit.part);
            addSums(pageSums, leveling::stationSums({unit.station, 1}));
            pageDistanceDifferences += leveling::micrometresOf(unit.station->distanceDifference);
            row += 3;
        }
        rowsLeft -= unit.rows();
        const bool pageEnds =
            nextStart < plan.starts.size() ? plan.starts[nextStart] == i + 1 : i + 1 == units.size() && !plan.full;
        // Within the worksheet's rows: past them a long book's last pages go without.
        if (pageEnds && footHeight(pageFirst, i) > 0 &&
            row + checkRows + unit.summaryRows + rowsLeft - 1 <= xls::kMaxRows)
            row = writeCheckRows(sheet, row, {pageSums, leveling::metres(pageDistanceDifferences), twice},
                                 frame.layout.lastBorderedColumn, kPageCheck);
        for (const BookSection* part : unit.lines)
            row = writeLineSummary(sheet, row, lineSummaryOf(*part, marks), frame.layout);
        if (unit.bookSummary)
            writeBookSummary(sheet, row, sections.size() > 1 ? "合计" : "测段计算", bookTotals(sections),
                             bookFindings(sections, marks), frame.layout);
    }
    sheet.setRowBreaks(breaks);
}

}  // namespace levara::books
