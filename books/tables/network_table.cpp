#include "books/tables/network_table.h"

#include <cstdio>
#include <cstdlib>

#include "books/sheet_cells.h"

namespace levara::books {

namespace {

constexpr int kPoint = 1, kEnd = 2, kLength = 3, kStations = 4, kValue = 5, kMillimetres = 6, kAdjusted = 7,
              kResidual = 8, kRemark = 9;
constexpr int kInfo = 2, kFirstRow = 4;

std::string fixed(double value, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    return std::string(buffer) == "-0.00" ? "0.00" : buffer;
}

// The value a cell shows with its decimals is the value it holds: rounded from the
// double's exact value, halves to even (glibc's printf rounds so).
double shown(double value, int decimals) { return std::strtod(fixed(value, decimals).c_str(), nullptr); }

void put(xls::Worksheet& sheet, int row, int column, double value, int decimals)
{
    putComputed(sheet, row, column, shown(value, decimals));
}

// The file a remark's lines are in: its name when the text joins several files.
std::string fileText(const std::filesystem::path& file)
{
    return file.empty() ? "原始文件" : file.filename().string() + " ";
}

std::string infoText(const NetworkReport& r)
{
    const leveling::NetworkAdjustment& a = r.adjustment;
    std::string text =
        a.weighting == leveling::Weighting::ByDistance ? "按测段长度定权 p = 1/L(km)" : "按测站数定权 p = 1/n";
    text += r.pairs == leveling::PairUse::Mean ? "　往返测取中数" : "　往返测各作一个观测";
    text += "　检核标准：" + (r.standard.empty() ? std::string("未选择") : r.standard);
    text += r.knownFile.empty()
                ? "　起算高程：" + fileText(r.startHeightFile) + "第 " + r.startHeightLine.text() + " 行"
                : "　已知点：" + r.knownFile.filename().string();
    return text;
}

// A block's own heading row: its caption over the whole width.
void blockHeading(xls::Worksheet& sheet, int row, const std::string& caption)
{
    sheet.setText(row, kPoint, caption);
    sheet.merge({row, kPoint, row, kRemark});
}

// A summary row: its label over A to D, its value in E, a note over F to I.
void summaryRow(xls::Worksheet& sheet, int row, const std::string& label, std::optional<double> value,
                std::string_view format, const std::string& note)
{
    sheet.setText(row, kPoint, label);
    sheet.merge({row, kPoint, row, kStations});
    if (value) {
        put(sheet, row, kValue, *value, format == "0" ? 0 : 2);
        sheet.setNumberFormat({row, kValue, row, kValue}, format);
    } else {
        sheet.setText(row, kValue, "—");
    }
    sheet.setText(row, kMillimetres, note);
    sheet.merge({row, kMillimetres, row, kRemark});
}

// M_Δ or M_W as a summary row: its value and formula with the count it rests on, and
// the standard's limit with its source and how well a public source confirms it; an
// empty value and why when the text gives none.
void precisionRow(xls::Worksheet& sheet, int row, const std::string& label, std::optional<double> value,
                  const std::string& formula, const std::string& none, const std::optional<leveling::ErrorLimit>& limit,
                  const std::string& standard)
{
    std::string note = value ? formula : none;
    bool over = false;
    if (!limit) {
        note += standard.empty() ? "；未选择检核标准，不计限差" : "；" + standard + " 未给出限差";
    } else {
        over = value && nineDecimals(*value) > nineDecimals(limit->maxMm);
        note += "；限差 ±" + fixed(limit->maxMm, 2) + " mm（" + limit->source +
                (limit->status == leveling::LimitStatus::Confirmed ? "" : "，限差值未经公开来源证实") + "）";
        if (value)
            note += over ? "：超限" : "：未超限";
    }
    sheet.setText(row, kPoint, label);
    sheet.merge({row, kPoint, row, kStations});
    if (value) {
        put(sheet, row, kValue, *value, 2);
        sheet.setNumberFormat({row, kValue, row, kValue}, "\"±\"0.00");
    }
    sheet.setText(row, kMillimetres, note);
    sheet.merge({row, kMillimetres, row, kRemark});
    if (over)
        sheet.setFontColour({row, kPoint, row, kRemark}, xls::kRedFontColour);
}

}  // namespace

void writeNetworkTable(xls::Worksheet& sheet, const NetworkReport& r)
{
    const leveling::NetworkAdjustment& a = r.adjustment;
    sheet.setText(kInfo, kPoint, infoText(r));

    // The points: the known ones first, then the adjusted heights with their σ.
    int row = kFirstRow;
    for (const leveling::NetworkPoint& point : a.points)
        if (point.known) {
            sheet.setText(row, kPoint, point.name);
            put(sheet, row, kValue, point.height, 5);
            sheet.setText(row, kRemark, "已知点");
            ++row;
        }
    for (const leveling::NetworkPoint& point : a.points)
        if (!point.known) {
            sheet.setText(row, kPoint, point.name);
            put(sheet, row, kValue, point.height, 5);
            if (point.sigmaMm)
                put(sheet, row, kMillimetres, *point.sigmaMm, 2);
            sheet.setText(row, kRemark, "平差高程");
            ++row;
        }
    sheet.setThinBorders({kFirstRow - 1, kPoint, row - 1, kRemark});

    // The sections.
    blockHeading(sheet, row, "测段：实测高差、改正数 v、平差高差、标准化残差");
    const int sectionsHead = row;
    ++row;
    for (const leveling::AdjustedObservation& o : a.observations) {
        sheet.setText(row, kPoint, o.observed.from);
        sheet.setText(row, kEnd, o.observed.to);
        put(sheet, row, kLength, o.observed.lengthKm, 3);
        putComputed(sheet, row, kStations, o.observed.stations);
        put(sheet, row, kValue, o.observed.heightDifference, 5);
        put(sheet, row, kMillimetres, o.correctionMm, 2);
        put(sheet, row, kAdjusted, o.adjustedHeightDifference, 5);
        if (o.standardizedResidual)
            put(sheet, row, kResidual, *o.standardizedResidual, 2);
        else
            sheet.setText(row, kResidual, "—");
        std::string remark = fileText(o.observed.file ? *o.observed.file : std::filesystem::path()) + "第 " +
                             o.observed.firstLine.text() + "–" + o.observed.lastLine.text() + " 行";
        if (o.suspect) {
            remark += "；可能含粗差";
            sheet.setFontColour({row, kPoint, row, kRemark}, xls::kRedFontColour);
        } else if (!o.standardizedResidual && a.degreesOfFreedom > 0) {
            remark += "；无多余观测检核";
        }
        sheet.setText(row, kRemark, remark);
        ++row;
    }
    sheet.setThinBorders({sectionsHead, kPoint, row - 1, kRemark});

    // Precision and the test.
    const int summary = row;
    const bool byDistance = a.weighting == leveling::Weighting::ByDistance;
    summaryRow(sheet, row++, "观测数 / 未知数", double(a.observations.size()), "0",
               "未知数 " + std::to_string(a.unknowns));
    summaryRow(sheet, row++, "自由度 f", double(a.degreesOfFreedom), "0",
               a.degreesOfFreedom == 0 ? "无多余观测：高程唯一确定，不作检验" : "f = 观测数 − 未知数");
    summaryRow(sheet, row++, byDistance ? "单位权中误差 σ0 (mm/√km)" : "单位权中误差 σ0 (mm/站)", a.sigma0Mm, "0.00",
               "σ0 = √([pvv] / f)；高程中误差 = σ0 √Qii");
    summaryRow(sheet, row++, "每公里高差中误差 (mm)", a.sigma0PerKmMm, "0.00",
               byDistance ? "同 σ0" : "σ0 × √(Σn / ΣL)");
    if (a.test) {
        const leveling::GlobalTest& t = *a.test;
        summaryRow(sheet, row++, "χ² 检验 (95%)", t.statistic, "0.00",
                   "χ² = [pvv] / σ0先验²，σ0先验 = " + fixed(t.aprioriSigmaMm, 2) + " mm；区间 [" + fixed(t.lower, 2) +
                       ", " + fixed(t.upper, 2) + "]：" + (t.passed ? "通过" : "未通过"));
        if (!t.passed)
            sheet.setFontColour({row - 1, kPoint, row - 1, kRemark}, xls::kRedFontColour);
    } else {
        summaryRow(sheet, row++, "χ² 检验 (95%)", std::nullopt, "0.00",
                   a.degreesOfFreedom == 0 ? "无多余观测，不作检验" : "未选择检核标准，无先验中误差，不作检验");
    }
    summaryRow(sheet, row++, "标准化残差临界值", a.criticalResidual, "0.00",
               "|v| / (σ0 √Qvv) 大于此值的测段标为可能含粗差：" + std::to_string(a.suspects()) + " 个");
    const leveling::Precision& p = r.precision;
    precisionRow(sheet, row++, "每公里偶然中误差 M_Δ (mm)", p.randomErrorMm,
                 "M_Δ = ±√([ΔΔ/R] / (4n))，n = " + std::to_string(p.pairs.size()) + " 个往返测段",
                 "文本中无往返测段，不计算 M_Δ", r.randomErrorLimit, r.standard);
    precisionRow(sheet, row++, "每公里全中误差 M_W (mm)", p.totalErrorMm,
                 "M_W = ±√([WW/F] / N)，N = " + std::to_string(p.loops.size()) + " 个闭合环",
                 "文本中无闭合环，不计算 M_W", r.totalErrorLimit, r.standard);
    sheet.setThinBorders({summary, kPoint, row - 1, kRemark});
}

}  // namespace levara::books
