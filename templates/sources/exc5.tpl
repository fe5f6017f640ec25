# exc5.xls: the 平差成果表 of a leveling network: the known points and the adjusted
# heights with their standard deviations from row 4, the sections with their
# corrections and standardized residuals below them, then the precision and the test.
include "common.inc"

style km        like base format="0.000"                   # section lengths (km)
style stations  like base                                  # station counts; a pair's mean may end in .5
style dh        like base format="0.00000"                 # height differences, heights (m)
style mm        like base format="0.00"                    # corrections, standard deviations (mm)
style ratio     like base format="0.00"                    # standardized residuals
style route     like base align=left

sheet "平差成果表"
page paper=a4 orientation=landscape margins=1.5,1.5,1.8,2 fit=width center=horizontal titles=1-3 footer="&L计算者：　　　　　　检查者：　　　　　　日期：&R第 &P 页，共 &N 页"
freeze 3

columns A width=12   style=point     # 1 point; a section's start
columns B width=12   style=point     # 2 a section's end
columns C width=11   style=km        # 3 section length
columns D width=8    style=stations  # 4 stations
columns E width=18   style=dh        # 5 height; measured height difference
columns F width=18   style=mm        # 6 σ of the height; correction v
columns G width=13   style=dh        # 7 adjusted height difference
columns H width=10   style=ratio     # 8 standardized residual
columns I width=36   style=remark    # 9 remarks

rows 1 height=34
rows 2 height=20
rows 3 height=30

cell A1:I1 title    "平差成果表"
cell A2:I2 route

cell A3    head     "点名"
cell B3    head     "终点"
cell C3    head     "测段长度(km)"
cell D3    head     "测站数"
cell E3    head     "高程 / 实测高差(m)"
cell F3    head     "中误差 / 改正数(mm)"
cell G3    head     "平差高差(m)"
cell H3    head     "标准化残差"
cell I3    head     "备注"
