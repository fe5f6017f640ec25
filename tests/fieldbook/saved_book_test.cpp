// The field books as a surveyor gets them: saved through the export pipeline into a
// copy of the built template and read back by the engine and by xlrd. They must hold
// exactly what the books wrote into a sheet held in memory.
#include <gtest/gtest.h>

#include "books/pipeline/export.h"
#include "tests/fieldbook/stations.h"
#include "tests/support/readers.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"

namespace levara::testing {
namespace {

using books::Output;

std::string workText(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : "\r\n") + line;
    return text;
}

std::vector<std::string> engineSheetText(const std::filesystem::path& file, std::size_t sheet)
{
    xls::Workbook book = openWorkbook(file);
    return sheetText(book.sheet(sheet), 6);
}

class SavedBook : public ::testing::Test {
protected:
    SavedBook() : temp(makeProgramDir(scratch)) {}

    // Saves the book and checks that the engine and xlrd read the same sheet back.
    std::vector<std::string> save(Output output, const std::vector<std::string>& lines, std::size_t sheet = 0)
    {
        const auto file = scratch / "book.xls";
        books::exportWorkbook(output, temp, workText(lines), file);
        const auto engine = engineSheetText(file, sheet);
        const auto xlrd = xlrdSheetText(file, int(sheet), 6);
        EXPECT_EQ(engine, xlrd) << lineDiff(engine, xlrd);
        return xlrd;
    }

    ScratchDir scratch;
    TempFolder temp;
};

TEST_F(SavedBook, HoldsTheGoldenBooks)
{
    expectGolden(save(Output::BffbBook, goldenBffbLine()), "fieldbook-bffb-two-stations.txt");
    expectGolden(save(Output::BfBook, goldenBfLine()), "fieldbook-bf.txt");

    std::vector<std::string> twoWay = {"worksheet 1"};
    append(twoWay, save(Output::AbffbTwoWayBook, goldenTwoWayLine(), 0));
    twoWay.push_back("worksheet 2");
    append(twoWay, save(Output::AbffbTwoWayBook, goldenTwoWayLine(), 1));
    expectGolden(twoWay, "fieldbook-two-way.txt");
}

TEST_F(SavedBook, TwoWayBookLeavesTheReversedWorkFile)
{
    save(Output::AbffbTwoWayBook, {"A1", "", "A2", "A3"});
    EXPECT_EQ(readBytes(temp.reversedWorkFile()), "A3\r\nA2\r\nA1\r\n");
}

TEST_F(SavedBook, AnIncompleteStationWritesNoWorkbook)
{
    auto lines = goldenBffbLine();
    lines.resize(lines.size() - 5);  // the text now ends after the last station's second line
    const auto file = scratch / "faulty.xls";
    EXPECT_THROW(books::exportWorkbook(Output::BffbBook, temp, workText(lines), file), InputError);
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace levara::testing
