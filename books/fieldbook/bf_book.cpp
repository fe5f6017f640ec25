#include <vector>

#include "books/fieldbook/fieldbook.h"
#include "books/fieldbook/station.h"
#include "books/fieldbook/station_block.h"
#include "records/records.h"

namespace levara::books {

namespace {

constexpr std::size_t kBfStationLines = 2;
constexpr int kLastBfColumn = 8;

// A BF station uses B1 and F1 only: HM1, HJ1, HS1 and QM1, QJ1, QS1.
void writeBfStationBlock(Sheet& sheet, int n, int k, const Station& s, SectionTotals& totals)
{
    const int back = n + 5, fore = n + 6, result = n + 7;
    sheet.setNumber(back, 1, k);

    enter(sheet, back, 2, s.HM1), enter(sheet, back, 3, s.HJ1), enter(sheet, back, 4, s.HS1);
    enter(sheet, fore, 2, s.QM1), enter(sheet, fore, 3, s.QJ1), enter(sheet, fore, 4, s.QS1);

    const double d = leadingNumber(s.HJ1) - leadingNumber(s.QJ1);
    sheet.setNumber(result, 3, d);
    totals.BL = totals.BL + d;
    sheet.setNumber(result, 4, totals.BL);
    sheet.setNumber(back, 5, numberAt(sheet, back, 4) - numberAt(sheet, fore, 4));
    sheet.setNumber(back, 6, leadingNumber(s.HJ1) + leadingNumber(s.QJ1));

    sheet.merge({back, 1, result, 1});
    sheet.drawBorders({back, 1, result, 1});
    sheet.drawBorders({back, 2, result, 4});
    // Height difference and sight length stand once beside the three rows.
    for (int column = 5; column <= kLastBfColumn; ++column) {
        sheet.merge({back, column, result, column});
        sheet.drawBorders({back, column, result, column});
    }

    totals.PP1 += numberAt(sheet, back, 3);
    totals.PP2 += numberAt(sheet, fore, 3);
    totals.PP += numberAt(sheet, back, 5);
    totals.JL += numberAt(sheet, back, 6);
}

}  // namespace

void writeBfBook(Sheet& sheet, const TextLines& text)
{
    const LineList lines = numberedLines(text);
    std::vector<Station> stations;
    // The line after a station's first line is its fore reading whatever its tag.
    for (const StationStart& start : findLineBookStations(lines, kBfStationLines)) {
        Station& station = stations.emplace_back();
        takeReading(station, Reading::B1, lines[start.index], start.name);
        takeReading(station, Reading::F1, lines[start.index + 1], start.name);
    }

    SectionTotals totals;
    int n = 1, k = 1;
    for (const Station& station : stations) {
        writeBfStationBlock(sheet, n, k, station, totals);
        n += 3, ++k;
    }
    writeSectionSummary(sheet, n, int(stations.size()), totals, kBfBookSummary);
}

}  // namespace levara::books
