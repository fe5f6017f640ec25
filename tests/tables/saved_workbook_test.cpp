// The tables as a surveyor gets them: saved through the export pipeline into a copy
// of the built template and read back by xlrd, not by Levara's own reader.
#include <gtest/gtest.h>

#include "books/pipeline/export.h"
#include "records/records.h"
#include "tests/support/raw_lines.h"
#include "tests/support/readers.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using books::WorkbookKind;

TEST(SavedPointTables, HoldTheRowsWrittenBelowTheTemplateHeading)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));

    const auto intermediate = scratch / "intermediate.xls";
    books::exportWorkbook(WorkbookKind::IntermediateTable, temp,
                          lines({rawLine("BM1", "", "", "", "100.00000"), rawLine("BM1", "R ", "1.23456", "30.120", ""),
                                 rawLine("P1", "Rz", "1.50000", "12.480", "99.73456")}),
                          intermediate);
    expectGolden(xlrdSheetText(intermediate, 0, 6), "tables-intermediate-example.txt");

    const auto single = scratch / "single.xls";
    books::exportWorkbook(
        WorkbookKind::SinglePointTable, temp,
        lines({rawLine("0012", "R ", "1.5", "25.321", ""), rawLine("13", "R ", "1.62810", "31.070", ""),
               rawLine("BM1", "R ", "0.91200", "12.500", "48.00000"), rawLine("14", "R ", "2.04410", "8.955", "")}),
        single);
    expectGolden(xlrdSheetText(single, 0, 3), "tables-single-survey.txt");
}

TEST(SavedPointTables, IntermediatePointNamesStayTheirTexts)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    const std::vector<std::string> names = {"0012", "1E3", "007", "1-2", "123456789"};
    std::string text =
        lines({rawLine(names[0], "", "", "", "100.00000"), rawLine(names[0], "R ", "1.23456", "30.120", "")});
    for (std::size_t i = 1; i < names.size(); ++i)
        text += rawLine(names[i], "Rz", "1.50000", "12.480", "99.73456") + "\r\n";
    const auto file = scratch / "names.xls";
    books::exportWorkbook(WorkbookKind::IntermediateTable, temp, text, file);

    const xls::Workbook book = openWorkbook(file);
    const std::vector<std::string> xlrd = xlrdSheetText(file, 0, 6);
    ASSERT_EQ(xlrd.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(book.sheet(0).value(6 + int(i), 1), xls::Value(names[i]));
        EXPECT_EQ(xlrd[i].rfind(std::to_string(6 + i) + "  A=\"" + names[i] + "\"", 0), 0u) << xlrd[i];
    }
}

TEST(SavedPointTables, EmptyTextGivesTheTemplateAndAFaultLeavesNoFile)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    for (const WorkbookKind output : {WorkbookKind::IntermediateTable, WorkbookKind::SinglePointTable}) {
        const auto saved = scratch / "empty.xls";
        books::exportWorkbook(output, temp, "", saved);
        EXPECT_EQ(xlrdSheetText(saved, 0), xlrdSheetText(temp.templateFile(books::templateName(output)), 0));
    }
    const auto faulty = scratch / "faulty.xls";
    EXPECT_THROW(books::exportWorkbook(WorkbookKind::SinglePointTable, temp,
                                       lines({rawLine("12", "R ", "1.5", "25.321", ""),
                                              "For M5|Adr    12|KD1       13      10:21:402   1|R         1.62810 m"}),
                                       faulty),
                 InputError);
    EXPECT_FALSE(std::filesystem::exists(faulty));
}

}  // namespace
}  // namespace levara::testing
