#include "books/tables/precision_table.h"

#include <algorithm>
#include <string>

#include "books/sheet_cells.h"

namespace levara::books {

namespace {

constexpr int kPair = 1, kLength = 2, kDiscrepancy = 3, kPairWeighted = 4;
constexpr int kLoop = 5, kPerimeter = 6, kMisclosure = 7, kLoopWeighted = 8;
constexpr int kStandardRow = 2, kFirstRow = 4;

struct Table {
    int labelColumn, valueColumn, lastColumn;
    const char* sumLabel;
    const char* errorLabel;
    const char* formula;
    const char* count;  // "n = ", "N = "
};

// The sum, M and its limit in three rows under a table: a label, the value, a note
// over the columns after it.
void summary(xls::Worksheet& sheet, int row, const Table& table, double sum, std::size_t count,
             std::optional<double> error, std::optional<double> limit, const std::string& standard)
{
    const auto note = [&](int at, const std::string& text) {
        sheet.setText(at, table.valueColumn + 1, text);
        sheet.merge({at, table.valueColumn + 1, at, table.lastColumn});
    };
    sheet.setText(row, table.labelColumn, table.sumLabel);
    putComputed(sheet, row, table.valueColumn, sum);
    sheet.setNumberFormat({row, table.valueColumn, row, table.valueColumn}, "0.00");
    note(row, table.count + std::to_string(count));
    sheet.setText(row + 1, table.labelColumn, table.errorLabel);
    if (error) {
        putComputed(sheet, row + 1, table.valueColumn, *error);
        sheet.setNumberFormat({row + 1, table.valueColumn, row + 1, table.valueColumn}, "\"±\"0.00");
    } else {
        sheet.setText(row + 1, table.valueColumn, "—");
    }
    note(row + 1, table.formula);
    sheet.setText(row + 2, table.labelColumn, "限差 (mm)");
    const bool over = error && limit && nineDecimals(*error) > nineDecimals(*limit);
    if (limit) {
        putComputed(sheet, row + 2, table.valueColumn, *limit);
        sheet.setNumberFormat({row + 2, table.valueColumn, row + 2, table.valueColumn}, "\"±\"0.00");
        note(row + 2, over ? "超限" : error ? "未超限" : "—");
    } else {
        sheet.setText(row + 2, table.valueColumn, "—");
        note(row + 2, standard.empty() ? "未选择检核标准，不计限差" : standard + " 未给出限差");
    }
    if (over)
        sheet.setFontColour({row + 1, table.labelColumn, row + 2, table.lastColumn}, xls::kRedFontColour);
    sheet.setThinBorders({row, table.labelColumn, row + 2, table.lastColumn});
}

}  // namespace

void writePrecisionTable(xls::Worksheet& sheet, const leveling::Adjustment& a)
{
    sheet.setText(kStandardRow, kPair, "检核标准：" + (a.standard.empty() ? std::string("未选择") : a.standard));
    const leveling::Precision& p = a.precision;
    int row = kFirstRow;
    for (const leveling::PairPrecision& pair : p.pairs) {
        sheet.setText(row, kPair, pair.from + "—" + pair.to);
        putComputed(sheet, row, kLength, pair.lengthKm);
        putComputed(sheet, row, kDiscrepancy, pair.discrepancyMm);
        putComputed(sheet, row, kPairWeighted, pair.weightedSquare);
        ++row;
    }
    row = kFirstRow;
    for (const leveling::LoopPrecision& loop : p.loops) {
        sheet.setText(row, kLoop, loop.loop);
        putComputed(sheet, row, kPerimeter, loop.perimeterKm);
        putComputed(sheet, row, kMisclosure, loop.misclosureMm);
        putComputed(sheet, row, kLoopWeighted, loop.weightedSquare);
        ++row;
    }
    if (!p.pairs.empty())
        sheet.setThinBorders({kFirstRow - 1, kPair, kFirstRow + int(p.pairs.size()) - 1, kPairWeighted});
    if (!p.loops.empty())
        sheet.setThinBorders({kFirstRow - 1, kLoop, kFirstRow + int(p.loops.size()) - 1, kLoopWeighted});
    const int below = kFirstRow + int(std::max(p.pairs.size(), p.loops.size())) + 1;
    summary(sheet, below, {kPair, kLength, kPairWeighted, "[ΔΔ/R]", "M_Δ (mm)", "M_Δ = ±√([ΔΔ/R] / (4n))", "n = "},
            leveling::weightedSquareSum(p.pairs), p.pairs.size(), p.randomErrorMm, a.randomErrorLimitMm, a.standard);
    summary(sheet, below, {kLoop, kPerimeter, kLoopWeighted, "[WW/F]", "M_W (mm)", "M_W = ±√([WW/F] / N)", "N = "},
            leveling::weightedSquareSum(p.loops), p.loops.size(), p.totalErrorMm, a.totalErrorLimitMm, a.standard);
}

}  // namespace levara::books
