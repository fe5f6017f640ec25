#include "books/page_breaks.h"

#include <algorithm>
#include <cmath>

namespace levara::books {

namespace {

constexpr double kPointsPerInch = 72;
constexpr double kPointsPerMillimetre = 72 / 25.4;
// A header or footer line takes about this many times the font size.
constexpr double kHeaderLineFactor = 1.3;
// Spreadsheets round row heights to their own units: a page is taken as this much
// fuller than the sum of its rows.
constexpr double kRoundingAllowance = 0.99;
// The narrowest digits a spreadsheet may measure column widths in: the half-width
// digits of a Chinese font such as SimSun, half an em.
constexpr double kNarrowestDigitEm = 0.5;

struct Paper {
    int code;
    double widthMm, heightMm;
};
// iPaperSize of [MS-XLS] 2.4.257 Setup; any other size counts as A4.
constexpr Paper kPapers[] = {
    {1, 215.9, 279.4}, {2, 215.9, 279.4},  {3, 279.4, 431.8}, {4, 431.8, 279.4},  {5, 215.9, 355.6},
    {6, 139.7, 215.9}, {7, 184.15, 266.7}, {8, 297, 420},     {9, 210, 297},      {10, 210, 297},
    {11, 148, 210},    {12, 250, 354},     {13, 182, 257},    {14, 215.9, 330.2}, {15, 215, 275},
};

Paper paperOf(int code)
{
    for (const Paper& paper : kPapers)
        if (paper.code == code)
            return paper;
    return {9, 210, 297};
}

}  // namespace

double rowsHeight(const xls::Worksheet& sheet, int firstRow, int lastRow)
{
    double height = 0;
    for (int row = firstRow; row <= lastRow; ++row)
        height += sheet.rowHeight(row);
    return height;
}

double pageRoom(const xls::Worksheet& sheet, int lastColumn)
{
    const xls::PageSetup setup = sheet.pageSetup();
    const Paper paper = paperOf(setup.paperSize);
    double width = paper.widthMm * kPointsPerMillimetre, height = paper.heightMm * kPointsPerMillimetre;
    if (setup.landscape)
        std::swap(width, height);

    // The header and footer print in the margins, pushing the body in when they do not fit there.
    const double line = kHeaderLineFactor * sheet.standardFontPoints();
    double top = setup.topMargin * kPointsPerInch, bottom = setup.bottomMargin * kPointsPerInch;
    if (!setup.header.empty())
        top = std::max(top, setup.headerMargin * kPointsPerInch + line);
    if (!setup.footer.empty())
        bottom = std::max(bottom, setup.footerMargin * kPointsPerInch + line);
    const double body = height - top - bottom;

    double scale = setup.scale / 100.0;
    if (setup.fitToPageWidth) {
        double columns = 0;
        for (int column = 1; column <= lastColumn; ++column)
            columns += sheet.columnWidth(column);
        const double narrowest = columns * kNarrowestDigitEm * sheet.standardFontPoints();
        const double printable = width - (setup.leftMargin + setup.rightMargin) * kPointsPerInch;
        scale = narrowest > printable ? printable / narrowest : 1.0;
    }
    double titles = 0;
    if (setup.repeatFirstRow > 0)
        titles = rowsHeight(sheet, setup.repeatFirstRow, setup.repeatLastRow);
    return std::max(0.0, body / scale * kRoundingAllowance - titles);
}

PageRooms pageRooms(const xls::Worksheet& sheet, int headingLastRow, double plainestUnit, int lastColumn)
{
    const xls::PageSetup setup = sheet.pageSetup();
    const double titles = setup.repeatFirstRow > 0 ? rowsHeight(sheet, setup.repeatFirstRow, setup.repeatLastRow) : 0;
    const double room = pageRoom(sheet, lastColumn);
    // The first page holds the heading, print titles or not; later pages the titles.
    PageRooms rooms{room + titles - rowsHeight(sheet, 1, headingLastRow), room};
    if (const auto declared = sheet.namedNumber(kBlocksPerPageName); declared && *declared >= 1)
        rooms.first = rooms.later = std::floor(*declared) * plainestUnit + 0.5;
    return rooms;
}

PagePlan planPages(std::span<const double> unitHeights, const PageRooms& rooms,
                   const std::function<double(std::size_t first, std::size_t last)>& footHeight, std::size_t maxBreaks)
{
    PagePlan plan;
    double left = rooms.first;
    std::size_t first = 0;
    for (std::size_t i = 0; i < unitHeights.size(); ++i) {
        if (i > first && unitHeights[i] + footHeight(first, i) > left) {
            if (plan.starts.size() == maxBreaks) {
                plan.full = true;
                break;
            }
            plan.starts.push_back(i);
            left = rooms.later;
            first = i;
        }
        left -= unitHeights[i];
    }
    return plan;
}

}  // namespace levara::books
