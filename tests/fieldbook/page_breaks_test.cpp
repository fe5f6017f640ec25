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

std::vector<int> breaksOf(int stations, const std::function<void(xls::Worksheet&)>& setUp)
{
    xls::Workbook book = templateWorkbook("exc.xls");
    setUp(book.sheet(0));
    std::vector<std::string> lines;
    for (int k = 0; k < stations; ++k)
        append(lines, bffbStation(kB1, kF1, kF2, kB2));
    books::writeLineBook(book.sheet(0), textOf(lines), leveling::ObservationOrder::BFFB);
    return book.sheet(0).rowBreaks();
}

// Blocks of three rows of 13.5 pt under print titles of 136 pt (rows 1 to 5), on A4
// with margins of 1.8 cm, at 75%: (739.8 / 0.75 - 136) / 40.5 = 21.0, less 1% for
// rounding. Rows: 6 + 3 blocks.
TEST(PageBreaks, FollowFromThePageSetup)
{
    const struct {
        const char* what;
        std::function<void(xls::Worksheet&)> setUp;
        std::vector<int> firstBreaks;
    } cases[] = {
        {"the template as built: 20 blocks a page", [](xls::Worksheet&) {}, {66, 126, 186}},
        {"fitted to the width, counted at the largest scale: 14 blocks",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.fitToPageWidth = true;
             setup.scale = 100;
             sheet.setPageSetup(setup);
         },
         {48, 90, 132}},
        {"landscape: 12 blocks",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.landscape = true;
             sheet.setPageSetup(setup);
         },
         {42, 78, 114}},
        {"a header reaching below the top margin: 19 blocks",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.header = "&C水准测量";
             setup.headerMargin = 1.2;
             sheet.setPageSetup(setup);
         },
         {63, 120, 177}},
        {"two title rows: 20 blocks below the heading, then 22",
         [](xls::Worksheet& sheet) {
             xls::PageSetup setup = sheet.pageSetup();
             setup.repeatLastRow = 2;
             sheet.setPageSetup(setup);
         },
         {66, 132, 198}},
        {"declared by the template: 10 blocks",
         [](xls::Worksheet& sheet) { sheet.defineName("每页测站数", 10); },
         {36, 66, 96}},
    };
    for (const auto& c : cases) {
        const std::vector<int> breaks = breaksOf(70, c.setUp);
        ASSERT_GE(breaks.size(), 3u) << c.what;
        EXPECT_EQ(std::vector<int>(breaks.begin(), breaks.begin() + 3), c.firstBreaks) << c.what;
        for (int row : breaks)
            EXPECT_EQ((row - 6) % 3, 0) << c.what << ": a break inside a block, before row " << row;
    }
}

TEST(PageBreaks, TheSummaryStaysWithItsSignOffRow)
{
    const auto tenPerPage = [](xls::Worksheet& sheet) { sheet.defineName("每页测站数", 10); };
    // The summary's ten rows (totals, check rows, sign-off) go to the next page with the
    // last block, never alone.
    EXPECT_EQ(breaksOf(10, tenPerPage), std::vector<int>{33});
    EXPECT_EQ(breaksOf(7, tenPerPage), std::vector<int>{24});
    // Six blocks leave room for them.
    EXPECT_EQ(breaksOf(6, tenPerPage), std::vector<int>{});
}

TEST(PageBreaks, ALongerBookBreaksAsFarAsAWorksheetAllows)
{
    const std::vector<int> breaks = breaksOf(1100, [](xls::Worksheet& sheet) { sheet.defineName("每页测站数", 1); });
    EXPECT_EQ(breaks.size(), xls::kMaxRowBreaks);
    EXPECT_EQ(breaks.back(), 6 + 3 * int(xls::kMaxRowBreaks));
}

}  // namespace
}  // namespace levara::testing
