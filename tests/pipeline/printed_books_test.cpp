// Every field book of 1,200 stations as it prints: saved through the export frame,
// turned into PDF by LibreOffice in one run and read as a checker reads the pages. The
// tables print in printed_tables_test.cpp.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "books/pipeline/export.h"
#include "leveling/leveling.h"
#include "records/records.h"
#include "tests/support/printed_pdf.h"
#include "tests/support/raw_lines.h"
#include "tests/support/test_files.h"

namespace levara::testing {
namespace {

using books::WorkbookKind;

constexpr int kCount = 1200;

// Recorded to the millimetre and often on whole metres, so that a distance shown
// without its three decimals ("30" for 30.000) is caught.
std::string distance(int k, int offset) { return std::to_string(30 + (k + offset) % 17) + (k % 3 ? ".000" : ".125"); }
std::string reading(int k, int offset) { return "1." + std::to_string(10000 + (k * 37 + offset) % 90000); }

// A station's lines in the order observed; back point "B<k>", fore point "F<k>".
std::string station(int k, const std::string& order)
{
    const std::string back = "B" + std::to_string(k), fore = "F" + std::to_string(k);
    int b = 0, f = 0;
    std::string text;
    for (char staff : order) {
        if (staff == 'B')
            text += readingLine(back, "Rb", reading(k, b), distance(k, b)) + "\r\n", ++b;
        else
            text += readingLine(fore, "Rf", reading(k, 50 + f), distance(k, 5 + f)) + "\r\n", ++f;
    }
    return text + heightLine(fore, "100.00000") + "\r\n";
}

std::string leveledLine(const std::string& method)
{
    std::string text = startLine(method) + "\r\n" + heightLine("B1", "100.00000") + "\r\n";
    for (int k = 1; k <= kCount; ++k) {
        if (method == "aBFFB")
            text += station(k, k % 2 ? "BFFB" : "FBBF");
        else if (method == "BF")
            text += station(k, "BF");
        else
            text += station(k, method);
    }
    return text + endLine() + "\r\n";
}

struct Printed {
    const char* file;
    WorkbookKind output;
    std::string text;
};

const std::regex kPointName("[BF][0-9]+");
const std::regex kThreeDecimals("-?[0-9]+\\.[0-9]{3}");
const std::regex kFiveDecimals("-?[0-9]+\\.[0-9]{5}");
const std::regex kWholeNumber("[0-9]+");

bool isPoint(const std::string& word) { return std::regex_match(word, kPointName); }
bool isDecimal(const std::string& word) { return word.find('.') != std::string::npos && word[0] != '.'; }

enum class Row { Back, Fore, Result, Other };

// A station block prints as three lines: the back row with its point, the fore row
// with the station number (centred in its merged cell) and its point, and the result
// row with numbers only.
Row rowOf(const std::vector<std::string>& w)
{
    if (w.empty())
        return Row::Other;
    if (isPoint(w[0]))
        return Row::Back;
    if (w.size() > 1 && std::regex_match(w[0], kWholeNumber) && isPoint(w[1]))
        return Row::Fore;
    if (std::all_of(w.begin(), w.end(), isDecimal))
        return Row::Result;
    return Row::Other;
}

// The lines of a line book's page: whole blocks after the heading, the summary whole.
void checkBookPage(const std::vector<std::string>& lines, bool bf, const std::string& where)
{
    std::vector<Row> rows;
    for (const std::string& line : lines) {
        const std::vector<std::string> w = words(line);
        const Row row = rowOf(w);
        if (line.find("测段起点") != std::string::npos)
            rows.push_back(Row::Other);
        if (row == Row::Other)
            continue;
        rows.push_back(row);
        // Distances, d and Σd to the millimetre; readings to five decimals.
        const std::size_t at = row == Row::Back ? 1 : row == Row::Fore ? 2 : 0;
        if (row == Row::Result) {
            EXPECT_TRUE(std::regex_match(w[0], kThreeDecimals)) << where << line;
            EXPECT_TRUE(std::regex_match(w[1], kThreeDecimals)) << where << line;
            if (!bf) {
                EXPECT_TRUE(std::regex_match(w.back(), kThreeDecimals)) << where << line;
            }
        } else {
            ASSERT_GT(w.size(), at + 1) << where << line;
            EXPECT_TRUE(std::regex_match(w[at], kThreeDecimals)) << where << line;
            EXPECT_TRUE(std::regex_match(w[at + 1], bf ? kFiveDecimals : kThreeDecimals)) << where << line;
        }
    }
    ASSERT_FALSE(rows.empty()) << where;
    // A summary prints with the last block.
    EXPECT_NE(std::find(rows.begin(), rows.end(), Row::Back), rows.end()) << where;
    // The page opens with a block's first row, or with the summary.
    EXPECT_TRUE(rows[0] == Row::Back || rows[0] == Row::Other) << where;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        if (rows[i] == Row::Back) {
            EXPECT_EQ(rows[i + 1], Row::Fore) << where << " row " << i;
        }
        if (rows[i] == Row::Fore) {
            EXPECT_EQ(rows[i + 1], Row::Result) << where << " row " << i;
        }
    }
    EXPECT_NE(rows.back(), Row::Back) << where;
    EXPECT_NE(rows.back(), Row::Fore) << where;
}

// The word after the first word that ends in label on the line ("累计高差", "×"), or "".
std::string wordAfter(const std::vector<std::string>& w, const std::string& label)
{
    for (std::size_t k = 0; k + 1 < w.size(); ++k)
        if (w[k].size() >= label.size() && w[k].compare(w[k].size() - label.size(), label.size(), label) == 0)
            return w[k + 1];
    return "";
}

// The number after label in a check row, up to the next "，" or blank.
std::string valueAfter(const std::string& line, const std::string& label)
{
    const std::size_t from = line.find(label) + label.size();
    return line.substr(from, std::min(line.find("，", from), line.find(' ', from)) - from);
}

// The printed total a check row names (" = Σd" after its value, or "，Σd = value").
std::string totalIn(const std::string& line, const std::string& label)
{
    if (line.find("，" + label + " = ") != std::string::npos)
        return valueAfter(line, "，" + label + " = ");
    const std::size_t end = line.find(" = " + label);
    return line.substr(line.rfind(' ', end - 1) + 1, end - line.rfind(' ', end - 1) - 1);
}

// The printed columns of some stations added: both readings of each staff, d, h1 and
// h2 (BF: h), the means and the station lengths.
struct ColumnSums {
    leveling::Micrometres back = 0, fore = 0, d = 0, h1 = 0, h2 = 0, mean = 0, sight = 0;
};

// The operands of the check row's first expression ("label = a - b = ...", "2 × a").
std::vector<leveling::Micrometres> operandsIn(const std::string& line, const std::string& label)
{
    const std::size_t from = line.find(label + " = ") + label.size() + 3;
    std::vector<leveling::Micrometres> operands;
    for (std::string word : words(line.substr(from, line.find(" = ", from) - from))) {
        if (word.front() == '(')  // a negative operand
            word = word.substr(1, word.size() - 2);
        if (isDecimal(word))
            operands.push_back(leveling::micrometres(word));
    }
    return operands;
}

// The columns of a book as printed add up: each Σd to the printed d before it, the
// summary's 累计高差 to the printed means, and the check rows to the printed columns:
// each page's (本页校核) to that page's, the summary's (检查计算) to its section's.
void checkColumnSums(const std::vector<std::string>& pages, bool bf, const std::string& where)
{
    ColumnSums section;
    int summaries = 0;
    for (std::size_t n = 0; n < pages.size(); ++n) {
        ColumnSums page;
        bool inSummary = false;
        int pageChecks = 0;
        std::istringstream in(pages[n]);
        for (std::string line; std::getline(in, line);) {
            const std::vector<std::string> w = words(line);
            const std::string at = where + " page " + std::to_string(n + 1) + ": " + line;
            ColumnSums station;
            switch (rowOf(w)) {
            case Row::Back:
                station.back = leveling::micrometres(w[bf ? 2 : 3]) + (bf ? 0 : leveling::micrometres(w[4]));
                break;
            case Row::Fore:
                station.fore = leveling::micrometres(w[bf ? 3 : 4]) + (bf ? 0 : leveling::micrometres(w[5]));
                if (bf) {
                    station.h1 = station.h2 = station.mean = leveling::micrometres(w[4]);
                    station.sight = leveling::micrometres(w[5]);
                }
                break;
            case Row::Result:
                station.d = leveling::micrometres(w[0]);
                EXPECT_EQ(leveling::micrometres(w[1]), section.d + station.d) << at;
                if (!bf) {
                    station.h1 = leveling::micrometres(w[2]);
                    station.h2 = leveling::micrometres(w[3]);
                    station.mean = leveling::micrometres(w[5]);
                    station.sight = leveling::micrometres(w[6]);
                }
                break;
            case Row::Other: break;
            }
            for (ColumnSums* sums : {&section, &page}) {
                sums->back += station.back, sums->fore += station.fore, sums->d += station.d;
                sums->h1 += station.h1, sums->h2 += station.h2, sums->mean += station.mean;
                sums->sight += station.sight;
            }
            if (line.find("测段起点") != std::string::npos)
                inSummary = true;
            const ColumnSums& sums = inSummary ? section : page;
            if (const std::string total = wordAfter(w, "累计高差"); !total.empty()) {
                EXPECT_EQ(leveling::micrometres(total), section.mean) << at;
            }
            if (const std::size_t h = line.find("Σh1 + Σh2 = "); h != std::string::npos && h == line.find("Σ")) {
                EXPECT_EQ(operandsIn(line, "Σh1 + Σh2"), (std::vector{sums.h1, sums.h2})) << at;
            }
            if (line.find("Σ后视 - Σ前视") != std::string::npos) {
                EXPECT_EQ(operandsIn(line, "Σ后视 - Σ前视"), (std::vector{sums.back, sums.fore})) << at;
                if (bf) {
                    EXPECT_EQ(leveling::micrometres(totalIn(line, "Σh")), sums.mean) << at;
                }
            }
            if (line.find("2Σh中数") != std::string::npos) {
                EXPECT_EQ(operandsIn(line, "2Σh中数"), (std::vector{sums.mean})) << at;
            }
            if (line.find("Σ后距 - Σ前距") != std::string::npos) {
                EXPECT_EQ(leveling::micrometres(totalIn(line, inSummary ? "Σd" : "本页d之和")), sums.d) << at;
            }
            if (line.find("Σ后距 + Σ前距") != std::string::npos) {
                EXPECT_EQ(leveling::micrometres(totalIn(line, inSummary ? "总视距" : "本页视距")), sums.sight) << at;
                if (inSummary) {
                    ++summaries;
                    section = {};
                } else {
                    ++pageChecks;
                }
            }
        }
        // Every page of these long books closes with its own check rows.
        EXPECT_EQ(pageChecks, 1) << where << " page " << n + 1;
    }
    EXPECT_GT(summaries, 0) << where;
}

TEST(PrintedBooks, WholeStationsOnEveryPageAndEveryValueShown)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    const std::vector<Printed> printed = {
        {"bffb", WorkbookKind::BffbBook, leveledLine("BFFB")},
        {"bbff", WorkbookKind::BbffBook, leveledLine("BBFF")},
        {"bfbf", WorkbookKind::BfbfBook, leveledLine("BFBF")},
        {"bf", WorkbookKind::BfBook, leveledLine("BF")},
        {"abffb", WorkbookKind::AbffbBook, leveledLine("aBFFB")},
        {"abffb-2way", WorkbookKind::AbffbTwoWayBook, leveledLine("aBFFB")},
    };
    std::vector<std::filesystem::path> workbooks;
    for (const Printed& p : printed) {
        workbooks.push_back(scratch / (std::string(p.file) + ".xls"));
        books::exportWorkbook(p.output, temp, p.text, workbooks.back());
    }
    const std::vector<std::filesystem::path> pdfs = printToPdf(scratch.path(), workbooks);

    for (std::size_t file = 0; file < printed.size(); ++file) {
        const Printed& p = printed[file];
        SCOPED_TRACE(p.file);
        const std::vector<std::string> pages = printedPages(pdfs[file]);
        for (const std::string& page : pages)
            EXPECT_EQ(page.find("###"), std::string::npos);
        ASSERT_GT(pages.size(), 10u);

        int summaries = 0;
        for (std::size_t n = 0; n < pages.size(); ++n) {
            const std::string where = std::string(p.file) + " page " + std::to_string(n + 1) + ": ";
            // Every column on every page: the remarks are the last.
            EXPECT_NE(pages[n].find("备注"), std::string::npos) << where;
            checkBookPage(linesOf(pages[n]), p.output == WorkbookKind::BfBook, where);
            if (pages[n].find("测段起点") != std::string::npos) {
                ++summaries;
                for (const char* part : {"测段终点", "累计后距", "累计前距", "测量责任人："})
                    EXPECT_NE(pages[n].find(part), std::string::npos) << where << part;
            }
        }
        EXPECT_EQ(summaries, p.output == WorkbookKind::AbffbTwoWayBook ? 2 : 1);
        checkColumnSums(pages, p.output == WorkbookKind::BfBook, p.file);
    }
}

// Under 二等, station 1 of the first line passes all five limits of a station: a
// 60 m back sight on 2.90000 m, d 10 m (Σd too), h1 and h2 0.68 mm apart. Every line
// has 20 stations, a page's worth, so that a summary would go alone to a page.
TEST(PrintedBooks, TheLongestRemarkPrintsWholeAndNoSummaryStandsAlone)
{
    ScratchDir scratch;
    const WorkFolderPaths temp(makeProgramDir(scratch));
    const std::string worst =
        readingLine("BM1", "Rb", "2.90000", "60.00") + "\r\n" + readingLine("TP1", "Rf", "1.10000", "50.00") + "\r\n" +
        readingLine("TP1", "Rf", "1.10002", "50.00") + "\r\n" + readingLine("BM1", "Rb", "2.90070", "60.00") + "\r\n";
    std::string text;
    for (int line = 1; line <= 3; ++line) {
        text += startLine("BFFB") + "\r\n" + (line == 1 ? worst : station(0, "BFFB"));
        for (int k = 1; k < 20; ++k)
            text += station(k, "BFFB");
        text += endLine() + "\r\n";
    }
    const leveling::Standard standard = leveling::chooseStandard(leveling::builtinLimits(2), false);
    books::exportWorkbook(WorkbookKind::BffbBook, temp, text, scratch / "marked.xls", &standard);
    std::string output;
    const std::vector<std::string> toText = {"pdftotext", "-layout",
                                             printToPdf(scratch.path(), {scratch / "marked.xls"}).front().string(),
                                             "-"};
    ASSERT_EQ(runProgram(toText, &output), 0);

    // The remark's characters on the first page, in order, the other remarks' and the
    // heading's among them.
    const std::string remark = "视距超限、视线高超限、视距差超限、累积差超限、高差之差超限";
    const std::size_t to = output.find('\f');
    std::string printed;
    for (std::size_t at = 0; at < to;) {
        const std::size_t length = static_cast<unsigned char>(output[at]) >= 0xE0 ? 3 : 1;
        if (length == 3 && remark.find(output.substr(at, 3)) != std::string::npos)
            printed += output.substr(at, 3);
        at += length;
    }
    EXPECT_NE(printed.find(remark), std::string::npos) << printed;

    std::istringstream in(output);
    int summaries = 0;
    for (std::string page; std::getline(in, page, '\f');) {
        if (page.find("测段起点") == std::string::npos)
            continue;
        for (std::size_t at = page.find("测段起点"); at != std::string::npos; at = page.find("测段起点", at + 1))
            ++summaries;
        EXPECT_TRUE(std::regex_search(page, std::regex("\n *[BF][0-9]+ "))) << "a summary alone:\n" << page;
    }
    EXPECT_EQ(summaries, 4);  // three lines' and the whole book's
}

}  // namespace
}  // namespace levara::testing
