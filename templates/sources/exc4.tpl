# exc4.xls: the 高差配赋表 of a leveling route: the start point in row 4, then each
# section's end point with the section, the sums and the misclosure below them.
include "common.inc"

style km        like base format="0.000"                   # section lengths (km)
style stations  like base                                  # station counts; a pair's mean may end in .5
style dh        like base format="0.00000"                 # height differences (m)
style mm        like base format="0.00"                    # corrections (mm)
style route     like base align=left

sheet "高差配赋表"
page paper=a4 orientation=landscape margins=1.5,1.5,1.8,2 fit=width center=horizontal titles=1-3 footer="&L计算者：　　　　　　检查者：　　　　　　日期：&R第 &P 页，共 &N 页"
freeze 3

columns A width=12   style=point     # 1 point name
columns B width=11   style=km        # 2 section length
columns C width=8    style=stations  # 3 stations
columns D width=12   style=dh        # 4 measured height difference
columns E width=10   style=mm        # 5 correction
columns F width=12   style=dh        # 6 corrected height difference
columns G width=12   style=level     # 7 height
columns H width=60   style=remark    # 8 remarks: a known point's pair remark on one line, "已知点；往返测平均，不符值 +12.34 mm，限差 ±12.34 mm，超限"

rows 1 height=34
rows 2 height=20
rows 3 height=30

cell A1:H1 title    "高差配赋表"
cell A2:H2 route

cell A3    head     "点名"
cell B3    head     "测段长度(km)"
cell C3    head     "测站数"
cell D3    head     "实测高差(m)"
cell E3    head     "改正数(mm)"
cell F3    head     "改正后高差(m)"
cell G3    head     "高程(m)"
cell H3    head     "备注"

# 精度评定 (GB/T 12897-2006, GB/T 12898-2009): the forward/return pairs in A to D and
# the loops in E to H from row 4 down; under the longer table each one's sum, M_Δ or
# M_W, and its limit.
style sq        like base format="0.00"                    # Δ and W (mm), ΔΔ/R and WW/F (mm²/km)

sheet "精度评定"
page paper=a4 orientation=landscape margins=1.5,1.5,1.8,2 fit=width center=horizontal titles=1-3 footer="&L计算者：　　　　　　检查者：　　　　　　日期：&R第 &P 页，共 &N 页"
freeze 3

columns A width=16   style=point     # 1 pair
columns B width=12   style=km        # 2 R
columns C width=14   style=sq        # 3 Δ
columns D width=12   style=sq        # 4 ΔΔ/R
columns E width=22   style=point     # 5 loop
columns F width=12   style=km        # 6 F
columns G width=14   style=sq        # 7 W
columns H width=12   style=sq        # 8 WW/F

rows 1 height=34
rows 2 height=20
rows 3 height=30

cell A1:H1 title    "精度评定"
cell A2:H2 route

cell A3    head     "往返测测段"
cell B3    head     "测段长度\nR(km)"
cell C3    head     "往返测高差不符值\nΔ(mm)"
cell D3    head     "ΔΔ/R"
cell E3    head     "环线"
cell F3    head     "环线周长\nF(km)"
cell G3    head     "环线闭合差\nW(mm)"
cell H3    head     "WW/F"
