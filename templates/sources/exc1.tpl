# exc1.xls: the intermediate-point table, one row per point from row 6 down.
# A point's row holds its elevation; a back sight taken on it adds the back reading
# and the height of collimation; an intermediate sight adds its reading.
include "common.inc"

sheet "中间点"
page paper=a4 orientation=portrait margins=1.5,1.5,1.8,1.8 fit=width center=horizontal titles=1-5 footer="&L复核者：&C第 &P 页，共 &N 页"
freeze 5

columns A width=10   style=point     # 1 point name
columns B width=11   style=reading   # 2 height of collimation
columns C width=10.5 style=reading   # 3 back reading
columns D width=10.5 style=reading   # 4 intermediate reading
columns E width=11   style=reading   # 5 elevation
columns F width=11   style=level     # 6 design elevation, written by hand
columns G width=14   style=remark    # 7 remarks

rows 1 height=34
rows 2-3 height=21
rows 4-5 height=22

cell A1:G1 title    "中间点测量记录表"

cell A2:C2 info     "工程名称："
cell D2:E2 info     "仪器型号："
cell F2:G2 info     "天气："
cell A3:C3 info     "日期：　　　年　　月　　日"
cell D3:E3 info     "观测者："
cell F3:G3 info     "记录者："

name "工程名称" A2
name "仪器" D2
name "日期" A3

cell A4:A5 head     "点号"
cell B4:B5 head     "视线高\n(m)"
cell C4:D4 head     "水准尺读数(m)"
cell C5    head     "后视"
cell D5    head     "中视"
cell E4:E5 head     "高程\n(m)"
cell F4:F5 head     "设计高程\n(m)"
cell G4:G5 head     "备注"
