#!/usr/bin/python3
"""Prints one worksheet of an .xls file the way tests/support/sheet_text.cpp does,
read by xlrd (formatting_info=True): an independent reader for the engine's output.

usage: xlrd_sheet_text.py FILE SHEET_INDEX FIRST_ROW [LAST_COLUMN]
"""
import sys

import xlrd

# The palette index of red in BIFF8's default palette.
RED = 10


def column_name(column):
    name = ""
    while column > 0:
        name = chr(ord("A") + (column - 1) % 26) + name
        column = (column - 1) // 26
    return name


def has_borders(book, sheet, row, col):
    try:
        xf_index = sheet.cell_xf_index(row, col)
    except IndexError:
        return False
    b = book.xf_list[xf_index].border
    return (b.left_line_style, b.right_line_style, b.top_line_style, b.bottom_line_style) == (1, 1, 1, 1)


def main():
    path, sheet_index, first_row = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    last_column = int(sys.argv[4]) if len(sys.argv) > 4 else 10
    book = xlrd.open_workbook(path, formatting_info=True)
    sheet = book.sheet_by_index(sheet_index)
    out = []
    for row in range(first_row - 1, sheet.nrows):
        line = str(row + 1)
        width = min(last_column, sheet.row_len(row))
        for col in range(width):
            cell = sheet.cell(row, col)
            if cell.ctype == xlrd.XL_CELL_NUMBER:
                line += "  %s=%s" % (column_name(col + 1), "%.12g" % cell.value)
                code = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
                if code != "General":
                    line += "[%s]" % code
            elif cell.ctype == xlrd.XL_CELL_TEXT and cell.value != "":
                line += '  %s="%s"' % (column_name(col + 1), cell.value.replace("\n", "\\n"))
            else:
                continue
            if book.font_list[book.xf_list[cell.xf_index].font_index].colour_index == RED:
                line += "{red}"
        spans = []
        col = 0
        while col < last_column:
            if has_borders(book, sheet, row, col):
                last = col
                while last + 1 < last_column and has_borders(book, sheet, row, last + 1):
                    last += 1
                name = column_name(col + 1)
                spans.append(name + ("-" + column_name(last + 1) if last > col else ""))
                col = last
            col += 1
        if spans:
            line += "  | borders " + ",".join(spans)
        if line != str(row + 1):
            out.append(line)
    for rlo, rhi, clo, chi in sorted(sheet.merged_cells):
        if rhi < first_row:
            continue
        out.append("merge %s%d:%s%d" % (column_name(clo + 1), rlo + 1, column_name(chi), rhi))
    sys.stdout.write("".join(line + "\n" for line in out))


if __name__ == "__main__":
    main()
