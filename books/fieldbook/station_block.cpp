#include "books/fieldbook/station_block.h"

#include "records/records.h"

namespace levara::books {

namespace {

constexpr int kLastBookColumn = 10;

void copyValue(Sheet& sheet, int row, int column, const CellValue& value)
{
    if (const double* number = std::get_if<double>(&value))
        sheet.setNumber(row, column, *number);
    else if (const std::string* text = std::get_if<std::string>(&value))
        sheet.setText(row, column, *text);
}

}  // namespace

const SummaryLayout kLineBookSummary = {"累计视距差", 10, 3, 5, 6, 7, 8};
const SummaryLayout kBfBookSummary = {"视距累计差", 8, 2, 4, 4, 5, 7};

void writeStationBlock(Sheet& sheet, int n, int k, const Station& s, SectionTotals& totals)
{
    const int back = n + 5, fore = n + 6, result = n + 7;
    sheet.setNumber(back, 1, k);

    // Second readings overwrite the first's point names: the rows end up with B2's and F2's.
    enter(sheet, back, 2, s.HM1), enter(sheet, back, 3, s.HJ1), enter(sheet, back, 5, s.HS1);
    enter(sheet, fore, 2, s.QM1), enter(sheet, fore, 3, s.QJ1), enter(sheet, fore, 5, s.QS1);
    enter(sheet, fore, 2, s.QM2), enter(sheet, fore, 4, s.QJ2), enter(sheet, fore, 6, s.QS2);
    enter(sheet, back, 2, s.HM2), enter(sheet, back, 4, s.HJ2), enter(sheet, back, 6, s.HS2);

    const double meanBack = (leadingNumber(s.HJ1) + leadingNumber(s.HJ2)) / 2;
    const double meanFore = (leadingNumber(s.QJ1) + leadingNumber(s.QJ2)) / 2;
    sheet.setNumber(result, 3, meanBack - meanFore);
    totals.BL = (totals.BL + meanBack) - meanFore;
    sheet.setNumber(result, 4, totals.BL);

    sheet.setNumber(result, 5, numberAt(sheet, back, 5) - numberAt(sheet, fore, 5));
    sheet.setNumber(result, 6, numberAt(sheet, back, 6) - numberAt(sheet, fore, 6));
    sheet.setNumber(back, 7, (numberAt(sheet, back, 5) - numberAt(sheet, back, 6)) * 1000);
    sheet.setNumber(fore, 7, (numberAt(sheet, fore, 5) - numberAt(sheet, fore, 6)) * 1000);
    sheet.setNumber(result, 7, (numberAt(sheet, result, 5) - numberAt(sheet, result, 6)) * 1000);
    sheet.setNumber(result, 8, (numberAt(sheet, result, 5) + numberAt(sheet, result, 6)) / 2);
    sheet.setNumber(result, 9,
                    (leadingNumber(s.HJ1) + leadingNumber(s.HJ2) + leadingNumber(s.QJ1) + leadingNumber(s.QJ2)) / 2);

    sheet.merge({back, 1, result, 1});
    sheet.drawBorders({back, 1, result, 1});
    sheet.drawBorders({back, 2, result, kLastBookColumn});

    totals.PP1 += (numberAt(sheet, back, 3) + numberAt(sheet, back, 4)) / 2;
    totals.PP2 += (numberAt(sheet, fore, 3) + numberAt(sheet, fore, 4)) / 2;
    totals.PP += numberAt(sheet, result, 8);
    totals.JL += numberAt(sheet, result, 9);
}

void writeSectionSummary(Sheet& sheet, int n, int stationCount, const SectionTotals& totals,
                         const SummaryLayout& layout)
{
    const int first = n + 5, last = n + 8, signOff = n + 9;

    sheet.merge({first, 1, last, 1});
    sheet.setText(first, 1, "测段计算");
    sheet.drawBorders({first, 1, last, 1});

    sheet.setText(n + 5, 2, "测段起点");
    sheet.setText(n + 6, 2, "测段终点");
    sheet.setText(n + 7, 2, "累计后距");
    sheet.setText(n + 8, 2, "累计前距");
    sheet.setText(n + 7, 4, "km");
    sheet.setText(n + 8, 4, "km");
    sheet.setText(n + 6, 5, layout.distanceDifferenceLabel);
    sheet.setText(n + 7, 5, "累计高差");
    sheet.setText(n + 8, 5, "测段距离");
    sheet.setText(n + 6, 7, "m");
    sheet.setText(n + 7, 7, "m");
    sheet.setText(n + 8, 7, "km");

    sheet.drawBorders({first, 2, last, layout.lastBorderedColumn});

    sheet.merge({signOff, 1, signOff, layout.signerLastColumn});
    sheet.setText(signOff, 1, "测量责任人：");
    sheet.merge({signOff, layout.mergedFirstColumn, signOff, layout.mergedLastColumn});
    sheet.setText(signOff, layout.checkerColumn, "复核：");
    sheet.setText(signOff, layout.dateColumn, "日期：");

    // Without a station, (6, 2) and (n+3, 2) are the label just written and a heading cell.
    if (stationCount > 0) {
        copyValue(sheet, n + 5, 3, sheet.value(6, 2));
        copyValue(sheet, n + 6, 3, sheet.value(n + 3, 2));
    }
    sheet.setNumber(n + 7, 3, totals.PP1 / 1000);
    sheet.setNumber(n + 8, 3, totals.PP2 / 1000);
    sheet.setNumber(n + 6, 6, totals.BL);
    sheet.setNumber(n + 7, 6, totals.PP);
    sheet.setNumber(n + 8, 6, totals.JL / 1000);
}

void writeFourReadingBook(Sheet& sheet, std::span<const Station> stations)
{
    SectionTotals totals;
    int n = 1, k = 1;
    for (const Station& station : stations) {
        writeStationBlock(sheet, n, k, station, totals);
        n += 3, ++k;
    }
    writeSectionSummary(sheet, n, int(stations.size()), totals, kLineBookSummary);
}

}  // namespace levara::books
