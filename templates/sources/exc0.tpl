# exc0.xls: the single-point table, one row per reading from row 3 down. The
# heading has two rows only, so the observer, recorder and date go in the footer.
include "common.inc"

sheet "单点测量"
page paper=a4 orientation=portrait margins=1.5,1.5,1.8,2 fit=width center=horizontal titles=1-2 footer="&L观测者：　　　　　　记录者：　　　　　　日期：&R第 &P 页，共 &N 页"
freeze 2

columns A width=6    style=count     # 1 serial number
columns B width=10   style=number    # 2 point number, as the table numbers it
columns C width=10.5 style=length    # 3 horizontal distance
columns D width=11   style=reading   # 4 staff reading
columns E width=11   style=reading   # 5 elevation: the level's, or written by hand
columns F width=16   style=remark    # 6 remarks

rows 1 height=34
rows 2 height=24

cell A1:F1 title    "单点测量记录表"

cell A2    head     "序号"
cell B2    head     "点号"
cell C2    head     "距离(m)"
cell D2    head     "读数(m)"
cell E2    head     "高程(m)"
cell F2    head     "备注"
