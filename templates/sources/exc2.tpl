# exc2.xls: the BF line field book, one back and one fore reading per station.
#
# Each station is a block of three rows from row 6 down: back row, fore row and a
# third row with d and the accumulated d. Row 4 of the heading names what the back
# and fore rows hold in C and D, row 5 what the third row holds; E to H are merged
# over the station's three rows: h, the station length, the elevation of the fore
# point (from the start point's height, when the text gives it) and remarks. The
# section summary reuses the columns and is bordered to H. A fixed scale, as in
# line_book.inc, so the breaks between station blocks hold in every spreadsheet.
include "common.inc"

sheet "水准测量"
page paper=a4 orientation=portrait margins=1.5,1.5,1.8,1.8 scale=86 center=horizontal titles=1-5 footer="&L观测者：　　　　　　记录者：　　　　　　天气：&R第 &P 页，共 &N 页"
freeze 5

columns A width=6    style=count     # 1 station number (up to 21842), merged over its three rows
columns B width=9.5  style=point     # 2 point name (back row, fore row), up to nine characters
columns C width=11   style=length    # 3 distance; d; start/end point, km totals
columns D width=10   style=reading   # 4 reading; Σd; "km"
columns E width=10.5 style=reading   # 5 height difference h (merged); summary labels
columns F width=11   style=length    # 6 station sight length (merged); Σd, Σh (m), section length (km)
columns G width=11   style=reading   # 7 elevation of the fore point (merged); units
columns H width=11   style=remark    # 8 remarks (merged)

rows 1 height=34
rows 2-3 height=21
rows 4-5 height=30

cell A1:H1 title    "水准测量记录手簿"

cell A2:C2 info     "工程名称："
cell D2:E2 info     "线路名称："
cell F2:H2 info     "测自　　　　至"
cell A3:B3 info     "仪器："
cell C3:D3 info     "日期：　　年　月　日"
cell E3:F3 info     "时间："
cell G3:H3 info     "检核标准："

# The heading fields the book fills (books/heading.h); the observer, recorder and
# weather are written by hand in the footer of every page.
name "工程名称" A2
name "线路名称" D2
name "测段"     F2
name "仪器"     A3
name "日期"     C3
name "时间"     E3
name "检核标准" G3

cell A4:A5 head     "测站\n编号"
cell B4:B5 head     "点号\n后/前"
cell C4    head     "视距\n(m)"
cell D4    head     "读数\n(m)"
cell E4:E5 head     "高差\nh(m)"
cell F4:F5 head     "测站距离\n(m)"
cell G4:G5 head     "高程\n(m)"
cell H4:H5 head     "备注"
cell C5    head     "视距差\nd(m)"
cell D5    head     "累计差\nΣd(m)"
