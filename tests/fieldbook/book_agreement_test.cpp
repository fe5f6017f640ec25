// The field books and leveling/ agree: for every station of every raw file in
// tests/data (and of every GSI file, converted), each value a book writes is the
// value the sections hold for the checks and the route.
#include <gtest/gtest.h>

#include <functional>

#include "books/fieldbook/fieldbook.h"
#include "leveling/leveling.h"
#include "records/records.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using leveling::ObservationOrder;

std::vector<std::filesystem::path> rawFiles()
{
    std::vector<std::filesystem::path> files;
    for (const auto& folder : {sourceDir() / "tests/data", sourceDir() / "tests/data/gsi"})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// A four-reading book's block of a station from its back row.
void expectFourReadingBlock(const xls::Worksheet& sheet, int back, const leveling::Station& s, const std::string& where)
{
    const int fore = back + 1, result = back + 2;
    SCOPED_TRACE(where + ", station " + std::to_string(s.number));
    EXPECT_EQ(numberIn(sheet, result, 3), s.distanceDifference);
    EXPECT_EQ(numberIn(sheet, result, 4), s.distanceDifferenceSum);
    EXPECT_EQ(numberIn(sheet, result, 5), s.heightDifference1);
    EXPECT_EQ(numberIn(sheet, result, 6), s.heightDifference2);
    EXPECT_EQ(numberIn(sheet, result, 7), s.heightDifferencesDiffer);
    EXPECT_EQ(numberIn(sheet, result, 8), s.meanHeightDifference);
    EXPECT_EQ(numberIn(sheet, back, 7), s.backReadingsDiffer);
    EXPECT_EQ(numberIn(sheet, fore, 7), s.foreReadingsDiffer);
    EXPECT_EQ(numberIn(sheet, result, 9), s.sightLength);
}

void expectBfBlock(const xls::Worksheet& sheet, int back, const leveling::Station& s, const std::string& where)
{
    const int result = back + 2;
    SCOPED_TRACE(where + ", station " + std::to_string(s.number));
    EXPECT_EQ(numberIn(sheet, result, 3), s.distanceDifference);
    EXPECT_EQ(numberIn(sheet, result, 4), s.distanceDifferenceSum);
    EXPECT_EQ(numberIn(sheet, back, 5), s.meanHeightDifference);
    EXPECT_EQ(numberIn(sheet, back, 6), s.sightLength);
}

// The summary's sums (its rows 3 and 4) against the section's.
void expectSummary(const xls::Worksheet& sheet, const leveling::Section& section, const std::string& where)
{
    SCOPED_TRACE(where + ", summary");
    const int n = blockRows(sheet, section.stationCount()).back() - 5;
    // Kilometres to the summary's five decimals, half to even.
    const auto km = [](double metres) {
        return double(leveling::roundedTo(leveling::micrometresOf(metres), 10 * leveling::kMillimetre)) / 1e9;
    };
    EXPECT_EQ(numberIn(sheet, n + 7, 3), km(section.backDistance));
    EXPECT_EQ(numberIn(sheet, n + 8, 3), km(section.foreDistance));
    EXPECT_EQ(numberIn(sheet, n + 8, 6), km(section.length()));
    EXPECT_EQ(numberIn(sheet, n + 7, 6), section.heightDifference);
}

struct Book {
    const char* name;
    const char* templateName;
    ObservationOrder order;
    std::function<void(xls::Workbook&, const TextLines&)> write;
};

TEST(BookAgreement, EveryStationOfEveryRawFile)
{
    const std::vector<Book> books = {
        {"BFFB", "exc.xls", ObservationOrder::BFFB,
         [](xls::Workbook& b, const TextLines& t) { books::writeLineBook(b.sheet(0), t, ObservationOrder::BFFB); }},
        {"BBFF", "exc.xls", ObservationOrder::BBFF,
         [](xls::Workbook& b, const TextLines& t) { books::writeLineBook(b.sheet(0), t, ObservationOrder::BBFF); }},
        {"BFBF", "exc.xls", ObservationOrder::BFBF,
         [](xls::Workbook& b, const TextLines& t) { books::writeLineBook(b.sheet(0), t, ObservationOrder::BFBF); }},
        {"BF", "exc2.xls", ObservationOrder::BF,
         [](xls::Workbook& b, const TextLines& t) { books::writeBfBook(b.sheet(0), t); }},
        {"aBFFB", "exc.xls", ObservationOrder::aBFFB,
         [](xls::Workbook& b, const TextLines& t) { books::writeAlternatingBook(b.sheet(0), t); }},
    };
    int compared = 0;
    for (const std::filesystem::path& file : rawFiles()) {
        const TextLines lines = TextLines::fromText(readOpenedText(file).text);
        for (const Book& book : books) {
            const std::string where = file.filename().string() + " as " + book.name;
            std::vector<leveling::Section> sections;
            try {
                sections = leveling::readSections(lines, book.order, leveling::LinesRead::AsBook);
            } catch (const InputError&) {
                EXPECT_THROW(
                    {
                        xls::Workbook workbook = templateWorkbook(book.templateName);
                        book.write(workbook, lines);
                    },
                    InputError)
                    << where;
                continue;
            }
            // A book runs its stations and sums through the whole text, the checks line by
            // line: only a text of one leveling line numbers them alike.
            if (sections.size() != 1)
                continue;
            xls::Workbook workbook = templateWorkbook(book.templateName);
            book.write(workbook, lines);
            const leveling::Section& section = sections.front();
            const std::vector<int> rows = blockRows(workbook.sheet(0), section.stationCount());
            for (const leveling::Station& station : section.stations) {
                const int back = rows[std::size_t(station.number - 1)];
                if (book.order == ObservationOrder::BF)
                    expectBfBlock(workbook.sheet(0), back, station, where);
                else
                    expectFourReadingBlock(workbook.sheet(0), back, station, where);
                ++compared;
            }
            expectSummary(workbook.sheet(0), section, where);
        }
        // The two-way book: forward and return.
        xls::Workbook workbook = templateWorkbook("exc3.xls");
        std::vector<leveling::Section> twoWay;
        try {
            twoWay = leveling::readTwoWaySections(lines);
        } catch (const InputError&) {
            EXPECT_THROW(books::writeTwoWayBook(workbook.sheet(0), workbook.sheet(1), lines), InputError) << file;
            continue;
        }
        books::writeTwoWayBook(workbook.sheet(0), workbook.sheet(1), lines);
        ASSERT_EQ(twoWay.size(), 2u) << file;
        for (std::size_t sheet = 0; sheet < 2; ++sheet) {
            const std::string where = file.filename().string() + (sheet == 0 ? " forward" : " return");
            const std::vector<int> rows = blockRows(workbook.sheet(sheet), twoWay[sheet].stationCount());
            for (const leveling::Station& station : twoWay[sheet].stations) {
                expectFourReadingBlock(workbook.sheet(sheet), rows[std::size_t(station.number - 1)], station, where);
                ++compared;
            }
            expectSummary(workbook.sheet(sheet), twoWay[sheet], where);
        }
    }
    EXPECT_GT(compared, 100);
}

}  // namespace
}  // namespace levara::testing
