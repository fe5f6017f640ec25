// Merged ranges: replacing overlaps, many of them, reading them back.
#include <gtest/gtest.h>

#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "tests/xls/xls_testing.h"
#include "xls/record_ids.h"

namespace levara::xls {
namespace {

using namespace testing;
using levara::testing::ScratchDir;

TEST(Merges, ANewMergeReplacesEveryMergeItOverlaps)
{
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    sheet.merge({1, 1, 3, 1});
    sheet.merge({1, 2, 1, 5});
    sheet.merge({40, 1, 42, 3});  // another block of rows
    sheet.merge({10, 1, 12, 1});
    sheet.merge({1, 1, 3, 2});  // overlaps the first two
    EXPECT_EQ(sheet.merges(), (std::vector<Range>{{40, 1, 42, 3}, {10, 1, 12, 1}, {1, 1, 3, 2}}));
    sheet.merge({20, 1, 45, 1});  // across blocks of rows
    EXPECT_EQ(sheet.merges(), (std::vector<Range>{{10, 1, 12, 1}, {1, 1, 3, 2}, {20, 1, 45, 1}}));
    EXPECT_EQ(sheet.mergeAt(44, 1), (Range{20, 1, 45, 1}));
    EXPECT_EQ(sheet.mergeAt(44, 2), std::nullopt);

    sheet.merge({5, 5, 5, 5});      // one cell: nothing
    sheet.unmerge({10, 1, 11, 1});  // not an existing merge: nothing
    sheet.unmerge({10, 1, 12, 1});
    sheet.merge({12, 3, 10, 1});  // corners in any order
    EXPECT_EQ(sheet.merges(), (std::vector<Range>{{1, 1, 3, 2}, {20, 1, 45, 1}, {10, 1, 12, 3}}));
}

// MERGEDCELLS holds at most 1,026 ranges; more go into further records.
TEST(Merges, ThousandsOfMergesSplitIntoRecordsOf1026)
{
    ScratchDir scratch;
    Workbook book = Workbook::create({"S", "T"});
    for (int k = 0; k < 2500; ++k)
        book.sheet(0).merge({3 * k + 1, 1, 3 * k + 3, 1});
    book.sheet(1).merge({1, 1, 2, 2});
    saveWorkbook(book, scratch / "m.xls");

    std::vector<std::size_t> counts;
    for (const Record& r : recordsOfType(book.workbookStream(), rec::kMergedCells))
        counts.push_back(u16(r.body, 0));
    EXPECT_EQ(counts, (std::vector<std::size_t>{1026, 1026, 448, 1}));
    EXPECT_EQ(xlrd(R"(
merged = book.sheet_by_index(0).merged_cells
print(len(merged), merged[0], merged[-1], book.sheet_by_index(1).merged_cells)
)",
                   scratch / "m.xls"),
              "2500 (0, 3, 0, 1) (7497, 7500, 0, 1) [(0, 2, 0, 2)]\n");
    Workbook reopened = openWorkbook(scratch / "m.xls");
    EXPECT_EQ(reopened.sheet(0).merges().size(), 2500u);
    EXPECT_EQ(reopened.sheet(0).mergeAt(7500, 1), (Range{7498, 1, 7500, 1}));
}

// Merges of a template stay as they were unless touched; touching one rewrites them all.
TEST(Merges, TemplateMergesSurviveNewOnes)
{
    const std::filesystem::path file = fixtureDir("app-saved") / "two_way_book_lo.xls";
    Workbook book = openWorkbook(file);
    const std::vector<Range> before = book.sheet(0).merges();
    ASSERT_FALSE(before.empty());
    book.sheet(0).merge({200, 1, 202, 1});
    std::vector<Range> after = before;
    after.push_back({200, 1, 202, 1});
    EXPECT_EQ(book.sheet(0).merges(), after);
    EXPECT_EQ(book.sheet(1).merges(), openWorkbook(file).sheet(1).merges());
    ScratchDir scratch;
    saveWorkbook(book, scratch / "t.xls");
    EXPECT_EQ(openWorkbook(scratch / "t.xls").sheet(0).merges(), after);
}

}  // namespace
}  // namespace levara::xls
