// Where a field book breaks its pages: from the template's page setup, or the number
// of blocks it declares, never inside a station block or the summary, nor between
// the summary and the last block.
#include <gtest/gtest.h>

#include <functional>

#include "books/fieldbook/fieldbook.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

// A book of so many stations, or of leveling lines of so many stations each. pageChecks:
// where given, the pages' own check rows written (本页校核).
std::vector<int> breaksOf(const std::vector<int>& lineStations, const std::function<void(xls::Worksheet&)>& setUp,
                          int* pageChecks = nullptr)
{
    xls::Workbook book = templateWorkbook("exc.xls");
    setUp(book.sheet(0));
    std::vector<std::string> lines;
    for (const int stations : lineStations) {
        const std::vector<std::vector<std::string>> line(std::size_t(stations), bffbStation(kB1, kF1, kF2, kB2));
        if (lineStations.size() == 1)
            for (const std::vector<std::string>& station : line)
                append(lines, station);
        else
            append(lines, surveyedLine("BFFB", line));
    }
    books::writeLineBook(book.sheet(0), textOf(lines), leveling::ObservationOrder::BFFB);
    // Each page begins with a block's first row, where the station number stands.
    for (int row : book.sheet(0).rowBreaks())
        EXPECT_TRUE(std::holds_alternative<double>(book.sheet(0).value(row, 1))) << "a break before row " << row;
    if (pageChecks) {
        *pageChecks = 0;
        for (int row = 6; row <= book.sheet(0).lastRow(); ++row)
            *pageChecks += textIn(book.sheet(0), row, 1) == "本页校核";
    }
    return book.sheet(0).rowBreaks();
}

// Blocks of three rows of 13.5 pt under print titles of 136 pt (rows 1 to 5), on A4
// with margins of 1.8 cm, at 75%: (739.8 / 0.75 - 136) / 40.5 = 21.0, less 1% for
// rounding; each page closes with its five check rows (67.5 pt), so 19 blocks fit.
// Rows: 6 + 3 blocks + 5 a page.
TEST(PageBreaks, FollowFromThePageSetup)
{
    const struct {
        const char* what;
        std::function<void(xls::Worksheet&)> setUp;
        std::vector<int> firstBreaks;
    } cases[] = {
        {"the template as built: 19 blocks a page", [](xls::Worksheet&) {}, {68, 130, 192}},
        {"fitted to the width, counted at the largest scale: 13 blocks",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.fitToPageWidth = true;
             setup.scale = 100;
             sheet.setPageSetup(setup);
         },
         {50, 94, 138}},
        {"fitted to one page tall: the spreadsheet's own pages, without check rows",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.fitToPageWidth = true;
             setup.fitPagesTall = 1;
             sheet.setPageSetup(setup);
         },
         {48, 90, 132}},
        {"landscape: 11 blocks",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.landscape = true;
             sheet.setPageSetup(setup);
         },
         {44, 82, 120}},
        {"a header reaching below the top margin: 17 blocks",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.header = "&C水准测量";
             setup.headerMargin = 1.2;
             sheet.setPageSetup(setup);
         },
         {62, 118, 174}},
        {"two title rows: 19 blocks below the heading, then 21",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.repeatLastRow = 2;
             sheet.setPageSetup(setup);
         },
         {68, 136, 204}},
        {"declared by the template: 10 blocks, 8 with the check rows",
         [](xls::Worksheet& sheet) { sheet.defineName("每页测站数", 10); },
         {35, 64, 93}},
    };
    for (const auto& c : cases) {
        const std::vector<int> breaks = breaksOf({70}, c.setUp);
        ASSERT_GE(breaks.size(), 3u) << c.what;
        EXPECT_EQ(std::vector<int>(breaks.begin(), breaks.begin() + 3), c.firstBreaks) << c.what;
    }
}

TEST(PageBreaks, TheSummaryStaysWithItsSignOffRow)
{
    const auto tenPerPage = [](xls::Worksheet& sheet) { sheet.defineName("每页测站数", 10); };
    // The summary's ten rows (totals, check rows, sign-off) go to the next page with the
    // last block, never alone, below that page's check rows; the page before closes
    // with its own after 8 blocks or fewer.
    int pageChecks = 0;
    EXPECT_EQ(breaksOf({10}, tenPerPage), std::vector<int>{35});
    EXPECT_EQ(breaksOf({7}, tenPerPage, &pageChecks), std::vector<int>{29});
    EXPECT_EQ(pageChecks, 2);
    // Six blocks leave room for them, and the page holding the whole book needs no
    // check rows of its own: the summary's say the same.
    EXPECT_EQ(breaksOf({6}, tenPerPage, &pageChecks), std::vector<int>{});
    EXPECT_EQ(pageChecks, 0);
    // Nor does a page holding one line whole, with its summary (ten rows): each line
    // of these two is a page.
    EXPECT_EQ(breaksOf({5, 3}, tenPerPage, &pageChecks), std::vector<int>{31});
    EXPECT_EQ(pageChecks, 0);
}

TEST(PageBreaks, ALongerBookBreaksAsFarAsAWorksheetAllows)
{
    const std::vector<int> breaks = breaksOf({1100}, [](xls::Worksheet& sheet) { sheet.defineName("每页测站数", 1); });
    EXPECT_EQ(breaks.size(), xls::kMaxRowBreaks);
    EXPECT_EQ(breaks.back(), 6 + 3 * int(xls::kMaxRowBreaks));
}

}  // namespace
}  // namespace levara::testing
