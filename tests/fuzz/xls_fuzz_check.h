#pragma once
// What both workbook fuzzers do with a workbook the engine accepted: read it, write it,
// and insist that what it wrote reads back and writes again the same; then edit it
// and read the result back.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "xls/xls.h"

namespace levara::xls::fuzzing {

[[noreturn]] inline void fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

inline void readEverything(Workbook& book)
{
    for (std::size_t s = 0; s < book.sheetCount(); ++s) {
        Worksheet& sheet = book.sheet(s);
        const int last = std::min(sheet.lastRow(), 300);
        for (int row = 1; row <= last; ++row)
            for (int column = 1; column <= 30; ++column) {
                sheet.value(row, column);
                sheet.borders(row, column);
                sheet.mergeAt(row, column);
                sheet.numberFormat(row, column);
            }
        sheet.merges();
        sheet.name();
        sheet.pageSetup();
        sheet.rowBreaks();
        sheet.namedRange("线路名称");
        sheet.namedNumber("每页测站数");
        sheet.rowHeight(1);
        sheet.columnWidth(1);
    }
}

inline void check(Workbook& book)
{
    readEverything(book);
    const std::string written = book.workbookStream();
    try {
        Workbook again = Workbook::fromWorkbookStream(written);
        if (again.workbookStream() != written)
            fail("a written workbook does not write itself again the same", "");
    } catch (const Error& e) {
        fail("the engine cannot read what it wrote", e.what());
    }
    if (book.sheetCount() == 0)
        return;
    Worksheet& sheet = book.sheet(0);
    try {
        sheet.setNumber(1, 1, 1.52345);
        sheet.setText(2, 2, "测站 BM1");
        sheet.clearValue(3, 3);
        sheet.merge({4, 1, 6, 1});
        sheet.setThinBorders({4, 1, 6, 4});
        sheet.setNumberFormat({1, 1, 1, 1}, "0.000");
        sheet.setNumber(70000 % 65536, 2, 3);
        sheet.setRowBreaks({4, 7});
        sheet.defineName("线路名称", Range{2, 4, 2, 6});
    } catch (const LimitError&) {
        return;  // a template already at the format's limit of cell formats
    }
    const std::string edited = book.workbookStream();
    try {
        Workbook again = Workbook::fromWorkbookStream(edited);
        Worksheet& first = again.sheet(0);
        if (first.value(1, 1) != Value(1.52345) || first.value(2, 2) != Value(std::string("测站 BM1")) ||
            first.mergeAt(5, 1) != Range{4, 1, 6, 1} || first.borders(6, 4) != Borders{1, 1, 1, 1} ||
            first.numberFormat(1, 1) != "0.000" || first.rowBreaks() != std::vector<int>{4, 7} ||
            first.namedRange("线路名称") != Range{2, 4, 2, 6})
            fail("an edit did not survive saving", "");
        readEverything(again);
    } catch (const Error& e) {
        fail("the engine cannot read an edited workbook", e.what());
    }
}

}  // namespace levara::xls::fuzzing
