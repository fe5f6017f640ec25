#include "sheet_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace levara::testing {

namespace {

std::string columnName(int column)
{
    std::string name;
    for (; column > 0; column = (column - 1) / 26)
        name.insert(name.begin(), char('A' + (column - 1) % 26));
    return name;
}

std::string valueText(const xls::Value& value, const std::string& format)
{
    if (const double* number = std::get_if<double>(&value)) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.12g", *number);
        return format == "General" ? std::string(buffer) : std::string(buffer) + "[" + format + "]";
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        std::string quoted = "\"";
        for (char c : *text)
            quoted += c == '\n' ? std::string("\\n") : std::string(1, c);
        return quoted + '"';
    }
    return {};
}

bool isEmpty(const xls::Value& value)
{
    const std::string* text = std::get_if<std::string>(&value);
    return std::holds_alternative<std::monostate>(value) || (text && text->empty());
}

bool hasBorders(const xls::Worksheet& sheet, int row, int column)
{
    return sheet.borders(row, column) == xls::Borders{1, 1, 1, 1};
}

std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

std::vector<std::string> sheetText(const xls::Worksheet& sheet, int firstRow, int lastColumn)
{
    std::vector<std::string> lines;
    for (int row = firstRow; row <= sheet.lastRow(); ++row) {
        std::string line = std::to_string(row);
        for (int column = 1; column <= lastColumn; ++column) {
            const xls::Value value = sheet.value(row, column);
            if (isEmpty(value))
                continue;
            line += "  " + columnName(column) + "=" + valueText(value, sheet.numberFormat(row, column));
            if (sheet.fontColour(row, column) == xls::kRedFontColour)
                line += "{red}";
        }
        std::string borders;
        for (int column = 1; column <= lastColumn; ++column) {
            if (!hasBorders(sheet, row, column))
                continue;
            int last = column;
            while (last < lastColumn && hasBorders(sheet, row, last + 1))
                ++last;
            borders +=
                (borders.empty() ? "" : ",") + columnName(column) + (last > column ? "-" + columnName(last) : "");
            column = last;
        }
        if (!borders.empty())
            line += "  | borders " + borders;
        if (line != std::to_string(row))
            lines.push_back(line);
    }
    std::vector<xls::Range> merges = sheet.merges();
    // In the order xlrd_sheet_text.py lists them: by rows, then by columns.
    std::sort(merges.begin(), merges.end(), [](const auto& a, const auto& b) {
        return std::tie(a.firstRow, a.lastRow, a.firstColumn) < std::tie(b.firstRow, b.lastRow, b.firstColumn);
    });
    for (const auto& m : merges) {
        if (m.lastRow < firstRow)
            continue;
        lines.push_back("merge " + columnName(m.firstColumn) + std::to_string(m.firstRow) + ":" +
                        columnName(m.lastColumn) + std::to_string(m.lastRow));
    }
    return lines;
}

std::string lineDiff(const std::vector<std::string>& expected, const std::vector<std::string>& actual)
{
    // Longest common subsequence; the sheets compared are small.
    const std::size_t n = expected.size(), m = actual.size();
    std::vector<std::vector<int>> lcs(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            lcs[i][j] = expected[i] == actual[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    std::ostringstream out;
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && expected[i] == actual[j]) {
            out << "  " << expected[i] << '\n';
            ++i, ++j;
        } else if (j < m && (i == n || lcs[i][j + 1] >= lcs[i + 1][j])) {
            out << "+ " << actual[j++] << '\n';
        } else {
            out << "- " << expected[i++] << '\n';
        }
    }
    return out.str();
}

void expectGolden(const std::vector<std::string>& lines, const std::string& name)
{
    const std::string path = std::string(LEVARA_SOURCE_DIR) + "/tests/golden/" + name;
    if (const char* update = std::getenv("LEVARA_UPDATE_GOLDEN"); update && std::string(update) == "1") {
        std::ofstream out(path);
        for (const auto& line : lines)
            out << line << '\n';
        return;
    }
    const std::vector<std::string> expected = readLines(path);
    if (expected.empty())
        ADD_FAILURE() << "golden file " << path << " is missing or empty (LEVARA_UPDATE_GOLDEN=1 writes it)";
    else if (expected != lines)
        ADD_FAILURE() << "sheet differs from " << path << " (- golden, + actual):\n" << lineDiff(expected, lines);
}

}  // namespace levara::testing
