# exc.xls: the BFFB, BBFF, BFBF and aBFFB single-line field books.
include "common.inc"

sheet "水准测量"
include "line_book.inc"
