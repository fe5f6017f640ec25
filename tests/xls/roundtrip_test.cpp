// Workbooks saved by Excel and other applications, read and written back.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/readers.h"
#include "tests/support/sheet_text.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "tests/xls/xls_testing.h"
#include "xls/container.h"

namespace levara::xls {
namespace {

using namespace testing;
using levara::testing::ScratchDir;

std::string streamOf(const std::string& file)
{
    std::string stream;
    readOle(file, stream);
    return stream;
}

// Equal records, then only the zero padding that keeps the stream out of the mini stream.
void expectSameStream(const std::string& original, const std::string& written, const std::string& name)
{
    ASSERT_GE(written.size(), original.size()) << name;
    EXPECT_TRUE(written.compare(0, original.size(), original) == 0) << name;
    EXPECT_EQ(written.find_first_not_of('\0', original.size()), std::string::npos) << name;
    EXPECT_GT(written.size(), 4096u) << name;
}

TEST(SavedWorkbooks, UnchangedComeBackWithTheSameWorkbookStream)
{
    for (const auto& file : allFixtures()) {
        const std::string bytes = levara::testing::readBytes(file);
        Workbook book = Workbook::fromBytes(bytes);
        expectSameStream(streamOf(bytes), book.workbookStream(), file.filename().string());

        // The container is new, but every other stream travels with the workbook.
        std::string ignored;
        const OleFile before = readOle(bytes, ignored), after = readOle(book.toBytes(), ignored);
        ASSERT_EQ(before.entries.size(), after.entries.size()) << file;
        for (std::size_t i = 0; i < before.entries.size(); ++i) {
            EXPECT_EQ(before.entries[i].name, after.entries[i].name);
            EXPECT_EQ(before.entries[i].data, after.entries[i].data);
        }
        EXPECT_EQ(before.classId, after.classId);
        // A workbook done with gives the same file.
        const std::string kept = book.toBytes();
        EXPECT_TRUE(std::move(book).toBytes() == kept) << file;
    }
}

// Excel 2003's own cell layout: ROW blocks, MULRK/MULBLANK, DBCELL, INDEX, DIMENSIONS.
TEST(SavedWorkbooks, RebuiltCellTablesMatchExcelsLayout)
{
    const std::filesystem::path dir = fixtureDir("excel-saved");
    for (const char* name : {"formula_test_sjmachin.xls", "namesdemo.xls", "xf_class.xls"}) {
        const std::string bytes = levara::testing::readBytes(dir / name);
        Workbook book = Workbook::fromBytes(bytes);
        for (SheetData& sheet : WorkbookInternals::data(book).sheets)
            if (sheet.worksheet)
                prepareCellChanges(sheet);
        expectSameStream(streamOf(bytes), book.workbookStream(), name);
    }
}

// Every non-empty cell as "row,column=value", numbers with 12 digits, line breaks as \n.
std::vector<std::string> engineCells(Worksheet& sheet)
{
    std::vector<std::string> cells;
    for (int row = 1; row <= sheet.lastRow(); ++row)
        for (int column = 1; column <= kMaxColumns; ++column) {
            const Value value = sheet.value(row, column);
            std::string text;
            if (const double* number = std::get_if<double>(&value)) {
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "%.12g", *number);
                text = buffer;
            } else if (const std::string* s = std::get_if<std::string>(&value)) {
                text = '"';
                for (char c : *s)
                    text += c == '\n' ? std::string("\\n") : std::string(1, c);
                text += '"';
            }
            if (!text.empty() && text != "\"\"")
                cells.push_back(std::to_string(row) + "," + std::to_string(column) + "=" + text);
        }
    return cells;
}

std::vector<std::string> xlrdCells(const std::filesystem::path& file, std::size_t sheet)
{
    const std::string output = xlrd(R"(
sheet = book.sheet_by_index()" + std::to_string(sheet) +
                                        R"()
for r in range(sheet.nrows):
    for c in range(sheet.row_len(r)):
        cell = sheet.cell(r, c)
        if cell.ctype in (xlrd.XL_CELL_NUMBER, xlrd.XL_CELL_DATE, xlrd.XL_CELL_BOOLEAN):
            text = "%.12g" % cell.value
        elif cell.ctype == xlrd.XL_CELL_ERROR:
            text = '"%s"' % xlrd.error_text_from_code[cell.value]
        elif cell.ctype == xlrd.XL_CELL_TEXT and cell.value != "":
            text = '"%s"' % cell.value.replace("\n", "\\n")
        else:
            continue
        sys.stdout.buffer.write(("%d,%d=%s\n" % (r + 1, c + 1, text)).encode())
)",
                                    file);
    std::vector<std::string> cells;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        cells.push_back(line);
    return cells;
}

// The engine reads what xlrd reads from every cell of every fixture: formulas as
// their cached results, booleans as 1 and 0, errors as their text.
TEST(SavedWorkbooks, EngineReadsTheValuesXlrdReads)
{
    for (const auto& file : allFixtures()) {
        Workbook book = openWorkbook(file);
        for (std::size_t s = 0; s < book.sheetCount(); ++s)
            EXPECT_EQ(xlrdCells(file, s), engineCells(book.sheet(s))) << file.filename() << " sheet " << s;
    }
}

// The first `count` fields of a CSV line, unquoted, joined by commas.
std::string csvFields(const std::string& line, std::size_t count)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else if (c != '"')
            fields.back() += c;
    }
    fields.resize(count);
    std::string joined;
    for (std::size_t i = 0; i < count; ++i)
        joined += (i ? "," : "") + fields[i];
    return joined;
}

void writeStation(Worksheet& sheet, int back, int k)
{
    sheet.setNumber(back, 1, k);
    sheet.setText(back, 2, "BM" + std::to_string(k));
    sheet.setNumber(back, 3, 35.2);
    sheet.setNumber(back, 5, 1.41230 + k * 0.001);
    sheet.setText(back + 1, 2, "转点" + std::to_string(k));
    sheet.setNumber(back + 1, 5, 1.20345);
    sheet.setNumber(back + 2, 4, -0.3 * k);
    sheet.setNumber(back + 2, 9, 70.1);
    sheet.merge({back, 1, back + 2, 1});
    sheet.setThinBorders({back, 1, back + 2, 1});
    sheet.setThinBorders({back, 2, back + 2, 10});
}

// Templates and books saved by LibreOffice and Gnumeric (old data rows, merges, two
// sheets), filled as the field books fill them: xlrd and LibreOffice read the values, the
// merges, the borders, and the heading as it was.
TEST(SavedWorkbooks, FilledTemplatesReadTheSameInXlrdAndLibreOffice)
{
    const std::vector<std::filesystem::path> templates = fixtures("app-saved");
    ScratchDir scratch;
    std::vector<std::filesystem::path> outputs;
    std::vector<std::vector<std::string>> headings, expected;
    for (const auto& file : templates) {
        headings.push_back(levara::testing::xlrdSheetText(file, 0, 1, 10));
        Workbook book = openWorkbook(file);
        Worksheet& sheet = book.sheet(0);
        // Old rows are emptied as the pipeline does it, keeping their formats.
        for (int row = 6; row <= sheet.lastRow(); ++row)
            for (int column = 1; column <= 10; ++column)
                sheet.clearValue(row, column);
        for (const Range& merge : sheet.merges())
            if (merge.firstRow >= 6)
                sheet.unmerge(merge);
        for (int k = 1; k <= 40; ++k)
            writeStation(sheet, 3 * k + 3, k);
        const std::filesystem::path out = scratch / file.filename().string();
        saveWorkbook(book, out);
        outputs.push_back(out);
        Workbook reopened = openWorkbook(out);
        expected.push_back(levara::testing::sheetText(reopened.sheet(0)));
    }
    const auto csv = levara::testing::libreOfficeCsv(outputs, false);
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        std::vector<std::string> text = levara::testing::xlrdSheetText(outputs[i], 0, 1, 10);
        // Both list merges after the rows, in orders of their own.
        std::sort(text.begin(), text.end());
        std::sort(expected[i].begin(), expected[i].end());
        EXPECT_TRUE(text == expected[i]) << outputs[i].filename() << levara::testing::lineDiff(expected[i], text);
        // The heading rows (1-5) read as they did in the template.
        std::vector<std::string> heading, headingBefore;
        for (const std::string& line : text)
            if (line.rfind("merge", 0) != 0 && std::stoi(line.substr(0, line.find(' '))) <= 5)
                heading.push_back(line);
        for (const std::string& line : headings[i])
            if (line.rfind("merge", 0) != 0 && std::stoi(line.substr(0, line.find(' '))) <= 5)
                headingBefore.push_back(line);
        EXPECT_EQ(heading, headingBefore) << outputs[i].filename();

        ASSERT_FALSE(csv[i].empty());
        const std::vector<std::string>& rows = csv[i][0];
        ASSERT_GE(rows.size(), 125u) << outputs[i].filename();
        EXPECT_EQ(csvFields(rows[5], 9), "1,BM1,35.2,,1.4133,,,,") << outputs[i].filename();
        EXPECT_EQ(csvFields(rows[6], 9), ",转点1,,,1.20345,,,,") << outputs[i].filename();
        EXPECT_EQ(csvFields(rows[124], 9), ",,,-12,,,,,70.1") << outputs[i].filename();
    }
}

}  // namespace
}  // namespace levara::xls
