#pragma once
// The stations and surveyed lines of the field book tests (built by
// tests/support/stations.h), and what they check in a written book.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "records/records.h"
#include "tests/support/raw_lines.h"
#include "tests/support/stations.h"
#include "xls/xls.h"

namespace levara::testing {

// The number a cell holds; a failure when it holds none.
inline double numberIn(const xls::Worksheet& sheet, int row, int column)
{
    const xls::Value value = sheet.value(row, column);
    if (const double* number = std::get_if<double>(&value))
        return *number;
    ADD_FAILURE() << "cell (" << row << ", " << column << ") holds no number";
    return 0;
}

// The text a cell holds; "<not text>" when it holds none.
inline std::string textIn(const xls::Worksheet& sheet, int row, int column)
{
    const xls::Value value = sheet.value(row, column);
    if (const std::string* text = std::get_if<std::string>(&value))
        return *text;
    return "<not text>";
}

// The first rows of a book's first `count` station blocks, past the check rows that
// close each printed page (本页校核), then the row after the last block and its page's
// check rows: where the summary begins.
inline std::vector<int> blockRows(const xls::Worksheet& sheet, int count)
{
    std::vector<int> rows;
    for (int row = 6;; row += 3) {
        if (textIn(sheet, row, 1) == "本页校核")
            row = sheet.mergeAt(row, 1).value_or(xls::Range{row, 1, row, 1}).lastRow + 1;
        rows.push_back(row);
        if (int(rows.size()) > count)
            return rows;
    }
}

// An input fault: the error names the line and the station.
inline void expectInputError(const std::function<void()>& write, int line, const std::vector<std::string>& words)
{
    try {
        write();
        ADD_FAILURE() << "no InputError";
    } catch (const InputError& error) {
        EXPECT_EQ(error.line(), LineNumber(line)) << error.what();
        for (const auto& word : words)
            EXPECT_NE(std::string(error.what()).find(word), std::string::npos) << error.what() << " lacks " << word;
    }
}

// A surveyed line as the leveling filter leaves it: start record, benchmark height,
// stations each followed by the height of its fore point, line-end records.
inline std::vector<std::string> surveyedLine(std::string_view method,
                                             const std::vector<std::vector<std::string>>& stations)
{
    std::vector<std::string> lines = {startLine(method), heightLine("BM1", "100.00000")};
    for (const auto& station : stations) {
        append(lines, station);
        lines.push_back(heightLine("TP1", "100.11112"));
    }
    lines.push_back(lineEndTotals("BM1", "0.00019", "-0.00019"));
    lines.push_back(endLine());
    return lines;
}

// Station i of an alternating line, with its own points and readings so that each
// lands recognisably: back point "S<i>B", fore point "S<i>F".
struct Observed {
    Sight b1, f1, f2, b2;
};
inline Observed observedStation(int i)
{
    const std::string back = "S" + std::to_string(i) + "B", fore = "S" + std::to_string(i) + "F";
    const std::string r = std::to_string(i);
    return {{back, "1.5" + r + "345", "3" + r + ".100"},
            {fore, "1.4" + r + "234", "2" + r + ".500"},
            {fore, "1.4" + r + "236", "2" + r + ".520"},
            {back, "1.5" + r + "349", "3" + r + ".120"}};
}
inline std::vector<std::string> backFirst(const Observed& s) { return bffbStation(s.b1, s.f1, s.f2, s.b2); }
inline std::vector<std::string> foreFirst(const Observed& s) { return fbbfStation(s.f1, s.b1, s.b2, s.f2); }

// The lines of the golden books.
inline std::vector<std::string> goldenBffbLine()
{
    const Sight b3{"TP1", "0.98765", "41.300"}, f3{"2", "1.87654", "40.900"};
    const Sight f4{"2", "1.87650", "40.950"}, b4{"TP1", "0.98770", "41.310"};
    return surveyedLine("BFFB", {bffbStation(kB1, kF1, kF2, kB2), bffbStation(b3, f3, f4, b4)});
}
inline std::vector<std::string> goldenBfLine()
{
    return surveyedLine("BF",
                        {stationLines({{"Rb", {"BM1", "1.52345", "30.120"}}, {"Rf", {"TP1", "1.41234", "29.500"}}}),
                         stationLines({{"Rb", {"TP1", "1.2", "29.800"}}, {"Rf", {"2", "1.3", "30.200"}}})});
}
inline std::vector<std::string> goldenTwoWayLine()
{
    return surveyedLine("aBFFB", {backFirst(observedStation(1)), foreFirst(observedStation(2)),
                                  backFirst(observedStation(3)), foreFirst(observedStation(4))});
}

}  // namespace levara::testing
