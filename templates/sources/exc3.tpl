# exc3.xls: the aBFFB two-way field book, the forward book on the first sheet and
# the return book on the second.
include "common.inc"

sheet "往测"
include "line_book.inc"
cell A1:J1 title "水准测量记录手簿（往测）"

sheet "返测"
include "line_book.inc"
cell A1:J1 title "水准测量记录手簿（返测）"
