#include "books/tables/adjustment_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "books/sheet_cells.h"
#include "books/wrapped_text.h"

namespace levara::books {

namespace {

constexpr int kPoint = 1, kLength = 2, kStations = 3, kMeasured = 4, kCorrection = 5, kCorrected = 6, kHeight = 7,
              kRemark = 8;
constexpr int kRoute = 2, kFirstRow = 4;

// The decimals (of a metre) a height is printed to: 一、二等 results to 0.1 mm, 三、四等
// to 1 mm, as the 计算取位 of GB/T 12897-2006 and GB/T 12898-2009 keep 水准点高程 (no
// public copy confirming the digits was found). A limits file of another name keeps 0.1 mm.
int heightDecimals(const std::string& standard)
{
    const bool lowerOrder = standard.find("三等") != std::string::npos || standard.find("四等") != std::string::npos;
    return lowerOrder ? 3 : 4;
}

// The decimals of a metre a height given to 0.01 mm has, trailing zeros left out.
int givenDecimals(leveling::HundredthsOfMm value)
{
    int decimals = 5;
    for (; decimals > 0 && value % 10 == 0; --decimals)
        value /= 10;
    return decimals;
}

// A computed height to the standard's resolution; a known one as it was given, with
// at least the decimals of the computed ones.
void putHeight(xls::Worksheet& sheet, int row, const leveling::RoutePoint& point, bool given, int decimals)
{
    leveling::HundredthsOfMm step = 1;
    for (int k = decimals; k < 5; ++k)
        step *= 10;
    const leveling::HundredthsOfMm printed = given ? point.height : roundedHalfToEven(point.height, step);
    const int shown = given ? std::max(decimals, givenDecimals(point.height)) : decimals;
    putComputed(sheet, row, kHeight, leveling::toMetres(printed));
    sheet.setNumberFormat({row, kHeight, row, kHeight}, "0." + std::string(std::size_t(shown), '0'));
}

// A remark wraps in its cell, and its row grows to hold it whole: a long file name
// would otherwise print over the rows below.
void putRemark(xls::Worksheet& sheet, int row, const std::string& remark)
{
    sheet.setText(row, kRemark, remark);
    growRowsToFit(sheet, {row, kRemark, row, kRemark}, remark);
}

// Numbers in the remarks, with their sign: "+1.23".
std::string millimetres(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%+.2f", nineDecimals(value) == 0 ? 0.0 : value);
    return buffer;
}

std::string routeText(const leveling::Adjustment& a)
{
    const leveling::RoutePoint& start = a.points.front();
    const leveling::RoutePoint& end = a.points.back();
    std::string text;
    switch (a.kind) {
    case leveling::RouteKind::Connecting: text = "附合路线：" + start.name + " — " + end.name; break;
    case leveling::RouteKind::Loop: text = "闭合环线：" + start.name; break;
    case leveling::RouteKind::Open: text = "无已知终点高程：" + start.name + " — " + end.name; break;
    }
    text += a.distribution == leveling::Distribution::ByDistance ? "　按测段长度配赋" : "　按测站数配赋";
    text += "　检核标准：" + (a.standard.empty() ? std::string("未选择") : a.standard);
    if (!a.knownFile.empty())
        text += "　已知点：" + a.knownFile.filename().string();
    return text;
}

std::string pairRemark(const leveling::PairCheck& pair)
{
    std::string text = "往返测平均，不符值 " + millimetres(pair.discrepancyMm) + " mm";
    if (pair.limitMm)
        text += "，限差 ±" + millimetres(*pair.limitMm).substr(1) + " mm";
    if (pair.over)
        text += "，超限";
    return text;
}

// A summary row: its label over columns A to C, its value in D, a note over E to H.
void summaryRow(xls::Worksheet& sheet, int row, const std::string& label, std::optional<double> value,
                std::string_view format, const std::string& note)
{
    sheet.setText(row, kPoint, label);
    sheet.merge({row, kPoint, row, kStations});
    if (value) {
        putComputed(sheet, row, kMeasured, *value);
        sheet.setNumberFormat({row, kMeasured, row, kMeasured}, format);
    } else {
        sheet.setText(row, kMeasured, "—");
    }
    sheet.setText(row, kCorrection, note);
    sheet.merge({row, kCorrection, row, kRemark});
}

}  // namespace

void writeAdjustmentTable(xls::Worksheet& sheet, const leveling::Adjustment& a)
{
    sheet.setText(kRoute, kPoint, routeText(a));

    int row = kFirstRow;
    const leveling::RoutePoint& start = a.points.front();
    sheet.setText(row, kPoint, start.name);
    const int decimals = heightDecimals(a.standard);
    putHeight(sheet, row, start, true, decimals);
    putRemark(sheet, row,
              a.knownFile.empty() ? "起点高程：" +
                                        (a.startHeightFile.empty() ? std::string("原始文件")
                                                                   : a.startHeightFile.filename().string() + " ") +
                                        "第 " + a.startHeightLine.text() + " 行"
                                  : "已知点");
    leveling::HundredthsOfMm corrections = 0, corrected = 0;
    for (std::size_t i = 0; i < a.sections.size(); ++i) {
        const leveling::RouteSection& s = a.sections[i];
        const leveling::RoutePoint& point = a.points[i + 1];
        ++row;
        sheet.setText(row, kPoint, point.name);
        putComputed(sheet, row, kLength, s.lengthKm);
        putComputed(sheet, row, kStations, s.stations);
        putComputed(sheet, row, kMeasured, leveling::toMetres(s.measured));
        putComputed(sheet, row, kCorrection, double(s.correction) / 100);
        putComputed(sheet, row, kCorrected, leveling::toMetres(s.corrected()));
        putHeight(sheet, row, point, point.known, decimals);
        std::string remark = s.pair ? pairRemark(*s.pair) : "";
        if (point.known)
            remark = remark.empty() ? "已知点" : "已知点；" + remark;
        putRemark(sheet, row, remark);
        if (s.pair && s.pair->over)
            sheet.setFontColour({row, kRemark, row, kRemark}, xls::kRedFontColour);
        corrections += s.correction;
        corrected += s.corrected();
    }
    ++row;
    sheet.setText(row, kPoint, "Σ");
    putComputed(sheet, row, kLength, a.lengthKm);
    putComputed(sheet, row, kStations, a.stations);
    putComputed(sheet, row, kMeasured, leveling::toMetres(a.measured));
    putComputed(sheet, row, kCorrection, double(corrections) / 100);
    putComputed(sheet, row, kCorrected, leveling::toMetres(corrected));
    sheet.setThinBorders({kFirstRow - 1, kPoint, row, kRemark});

    const int summary = row + 1;
    std::optional<double> misclosure;
    if (a.misclosure)
        misclosure = leveling::toMetres(*a.misclosure) * leveling::kMillimetresPerMetre;
    const std::string formula = a.kind == leveling::RouteKind::Connecting ? "fh = Σh测 − (H终 − H始)"
                                : a.kind == leveling::RouteKind::Loop     ? "fh = Σh测"
                                                                          : "无已知终点高程，不计闭合差";
    summaryRow(sheet, summary, "闭合差 fh (mm)", misclosure, "0.00", formula);

    std::string limitNote;
    if (!a.misclosure)
        limitNote = "—";
    else if (a.standard.empty())
        limitNote = "未选择检核标准，不计限差";
    else if (!a.limitMm)
        limitNote = a.standard + " 未给出闭合差限差";
    else
        limitNote = a.misclosureOver ? "超限：|fh| 大于容许闭合差" : "|fh| ≤ 容许闭合差";
    summaryRow(sheet, summary + 1, "容许闭合差 (mm)", a.misclosure ? a.limitMm : std::nullopt, "\"±\"0.00", limitNote);
    if (a.misclosureOver)
        sheet.setFontColour({summary, kPoint, summary + 1, kRemark}, xls::kRedFontColour);

    const bool byDistance = a.distribution == leveling::Distribution::ByDistance;
    summaryRow(sheet, summary + 2, byDistance ? "每公里改正数 (mm/km)" : "每站改正数 (mm/站)", a.correctionPerUnitMm(),
               "0.00", byDistance ? "v = −fh / ΣL" : "v = −fh / Σn");
    sheet.setThinBorders({summary, kPoint, summary + 2, kRemark});
}

}  // namespace levara::books
