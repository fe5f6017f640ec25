<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>levara</name>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>cannot finish writing</source>
        <translation>无法完成写入</translation>
    </message>
    <message>
        <source>cannot open: the file does not exist</source>
        <translation>无法打开：文件不存在</translation>
    </message>
    <message>
        <source>cannot open</source>
        <translation>无法打开</translation>
    </message>
    <message>
        <source>cannot open: it is a folder, not a file</source>
        <translation>无法打开：这是文件夹，不是文件</translation>
    </message>
    <message>
        <source>cannot read</source>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>cannot write</source>
        <translation>无法写入</translation>
    </message>
    <message>
        <source>cannot replace: it is a link to nothing</source>
        <translation>无法替换：这是指向不存在目标的链接</translation>
    </message>
    <message>
        <source>cannot replace: it is a folder, not a file</source>
        <translation>无法替换：这是文件夹，不是文件</translation>
    </message>
    <message>
        <source>cannot replace: it is not an ordinary file</source>
        <translation>无法替换：这不是普通文件</translation>
    </message>
    <message>
        <source>cannot replace</source>
        <translation>无法替换</translation>
    </message>
    <message>
        <source>cannot write: its folder does not exist</source>
        <translation>无法写入：所在文件夹不存在</translation>
    </message>
    <message>
        <source>cannot write into its folder</source>
        <translation>无法写入所在文件夹</translation>
    </message>
    <message>
        <source>the temp folder beside the program is missing</source>
        <translation>程序旁的 temp 文件夹不存在</translation>
    </message>
    <message>
        <source>the temp folder beside the program is not a folder</source>
        <translation>程序旁的 temp 不是文件夹</translation>
    </message>
    <message>
        <source>cannot open the temp folder</source>
        <translation>无法打开 temp 文件夹</translation>
    </message>
    <message>
        <source>cannot lock the temp folder</source>
        <translation>无法锁定 temp 文件夹</translation>
    </message>
    <message>
        <source>the system cannot convert %1 to %2: %3</source>
        <translation>系统无法将 %1 转换为 %2：%3</translation>
    </message>
    <message>
        <source>cannot create: its folder does not exist</source>
        <translation>无法创建：所在文件夹不存在</translation>
    </message>
    <message>
        <source>cannot write: it is a folder, not a file</source>
        <translation>无法写入：这是文件夹，不是文件</translation>
    </message>
    <message>
        <source>cannot create</source>
        <translation>无法创建</translation>
    </message>
    <message>
        <source>back-first</source>
        <translation>后视在先</translation>
    </message>
    <message>
        <source>fore-first</source>
        <translation>前视在先</translation>
    </message>
    <message>
        <source>forward book</source>
        <translation>往测手簿</translation>
    </message>
    <message>
        <source>return book</source>
        <translation>返测手簿</translation>
    </message>
    <message>
        <source>empty line inside the station: its %1 lines must follow one another</source>
        <translation>测站中间有空行：该站的 %1 行必须连续</translation>
    </message>
    <message>
        <source>the %1 station starting on line %2 (passed over by the %3)</source>
        <translation>第 %2 行起、%1的测站（%3中跳过）</translation>
    </message>
    <message>
        <source>station %1 of the %2, starting on line %3</source>
        <translation>%2第 %1 站（第 %3 行起）</translation>
    </message>
    <message>
        <source>station %1, starting on line %2</source>
        <translation>第 %1 站（第 %2 行起）</translation>
    </message>
    <message>
        <source>the reading is empty</source>
        <translation>读数为空</translation>
    </message>
    <message>
        <source>the reading &quot;%1&quot; is not a number</source>
        <translation>读数 &quot;%1&quot; 不是数字</translation>
    </message>
    <message>
        <source>the distance is empty</source>
        <translation>视距为空</translation>
    </message>
    <message>
        <source>the distance &quot;%1&quot; is not a number</source>
        <translation>视距 &quot;%1&quot; 不是数字</translation>
    </message>
    <message>
        <source>the text ends inside the station: it has %1 of its %2 lines</source>
        <translation>文本在测站中途结束：该站应有 %2 行，只有 %1 行</translation>
    </message>
    <message>
        <source>the line has %1 fields; a station line needs fields 0 to 4 (point, reading, distance)</source>
        <translation>该行只有 %1 个字段；测站行需要字段 0 至 4（点号、读数、视距）</translation>
    </message>
    <message>
        <source>too many stations for one worksheet: a book holds at most %1 stations, so that its summary ends by row %2</source>
        <translation>测站太多，一个工作表放不下：手簿最多 %1 站，测段计算才能在第 %2 行以内结束</translation>
    </message>
    <message>
        <source>the template is not an Excel 97-2003 workbook</source>
        <translation>模板不是 Excel 97-2003 工作簿</translation>
    </message>
    <message>
        <source>the template is an Excel 5.0/95 workbook; it must be saved as an Excel 97-2003 workbook</source>
        <translation>模板是 Excel 5.0/95 工作簿，须另存为 Excel 97-2003 工作簿</translation>
    </message>
    <message>
        <source>the template is protected by a password; it must be saved without one</source>
        <translation>模板设有密码保护，须取消密码后保存</translation>
    </message>
    <message>
        <source>the template is damaged (%1)</source>
        <translation>模板已损坏（%1）</translation>
    </message>
    <message>
        <source>the template cannot be used (%1)</source>
        <translation>模板无法使用（%1）</translation>
    </message>
    <message>
        <source>the workbook would need row %1; a .xls worksheet ends at row %2</source>
        <translation>工作簿需要写到第 %1 行，而 .xls 工作表最多只有 %2 行</translation>
    </message>
    <message>
        <source>the workbook would need column %1; a .xls worksheet ends at column %2</source>
        <translation>工作簿需要写到第 %1 列，而 .xls 工作表最多只有 %2 列</translation>
    </message>
    <message>
        <source>a text of %1 characters is longer than the %2 a .xls cell holds</source>
        <translation>%1 个字符的文本超过了 .xls 单元格可容纳的 %2 个字符</translation>
    </message>
    <message>
        <source>the workbook would need more than %1 cell formats</source>
        <translation>工作簿需要的单元格格式超过 %1 种</translation>
    </message>
    <message>
        <source>the workbook cannot be written (%1)</source>
        <translation>无法写出工作簿（%1）</translation>
    </message>
    <message>
        <source>the template needs %1 worksheets</source>
        <translation>模板需要 %1 个工作表</translation>
    </message>
    <message>
        <source>reading line without a distance field (field 4); the single-point table needs one on every reading line</source>
        <translation>读数行缺少距离字段（字段 4）；单点测量表格要求每个读数行都有距离</translation>
    </message>
    <message>
        <source>Workbooks are saved only with the type &quot;%1&quot;. Nothing was written; choose that type in the save dialog.</source>
        <translation>手簿和表格只能以 &quot;%1&quot; 类型保存。未写入任何文件；请在保存对话框中选择该类型。</translation>
    </message>
    <message>
        <source>there is not enough memory</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>Levara failed unexpectedly: %1</source>
        <translation>Levara 意外出错：%1</translation>
    </message>
    <message>
        <source>cannot load the translation %1</source>
        <translation>无法载入翻译文件 %1</translation>
    </message>
    <message>
        <source>cannot find the program&apos;s directory: %1</source>
        <translation>找不到程序所在的文件夹：%1</translation>
    </message>
    <message>
        <source>already exists; pass %1 to replace it</source>
        <translation>文件已存在；如要替换，请加上 %1</translation>
    </message>
    <message>
        <source>unknown leveling method &quot;%1&quot; in &quot;%2&quot;; Levara reads 1 BF, 2 BFFB, 3 aBF and 4 aBFFB</source>
        <translation>&quot;%2&quot; 中的水准测量方法 &quot;%1&quot; 未知；Levara 可读取 1 BF、2 BFFB、3 aBF 和 4 aBFFB</translation>
    </message>
    <message>
        <source>the block holds a second distance word &quot;%1&quot; after &quot;%2&quot;</source>
        <translation>数据块在 &quot;%2&quot; 之后又有一个视距字 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the block holds a second height word &quot;%1&quot; after &quot;%2&quot;</source>
        <translation>数据块在 &quot;%2&quot; 之后又有一个高程字 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the stake-out reading &quot;%1&quot; is no leveling reading</source>
        <translation>放样读数 &quot;%1&quot; 不是水准读数</translation>
    </message>
    <message>
        <source>the block holds a second reading word &quot;%1&quot; after &quot;%2&quot;</source>
        <translation>数据块在 &quot;%2&quot; 之后又有一个读数字 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the reading &quot;%1&quot; has no distance (word 32) in its block</source>
        <translation>读数 &quot;%1&quot; 所在的数据块中没有视距（字 32）</translation>
    </message>
    <message>
        <source>the reading &quot;%1&quot; comes before the start of a line (a 41 block with &quot;?......N&quot;)</source>
        <translation>读数 &quot;%1&quot; 出现在线路开始（含 &quot;?......N&quot; 的 41 数据块）之前</translation>
    </message>
    <message>
        <source>the reading &quot;%1&quot; (%2) has no place in a %3 line</source>
        <translation>%3 线路中不应有读数 &quot;%1&quot;（%2）</translation>
    </message>
    <message>
        <source>the %1 station from line %2 ends without its %3 reading (word %4)</source>
        <translation>第 %2 行起的 %1 测站缺少 %3 读数（字 %4）</translation>
    </message>
    <message>
        <source>the intermediate sight &quot;%1&quot; has no height (word 83) in its block or the next one</source>
        <translation>中间点读数 &quot;%1&quot; 所在的数据块及下一个数据块中都没有高程（字 83）</translation>
    </message>
    <message>
        <source>malformed GSI word &quot;%1&quot;: %2</source>
        <translation>GSI 字 &quot;%1&quot; 格式有误：%2</translation>
    </message>
    <message>
        <source>its word index (characters 1 and 2) is not a number</source>
        <translation>字索引（第 1、2 个字符）不是数字</translation>
    </message>
    <message>
        <source>characters 3 to 6 hold other than digits and dots</source>
        <translation>第 3 至 6 个字符中有数字和小数点以外的字符</translation>
    </message>
    <message>
        <source>character 7 is neither &quot;+&quot; nor &quot;-&quot;</source>
        <translation>第 7 个字符既不是 &quot;+&quot; 也不是 &quot;-&quot;</translation>
    </message>
    <message>
        <source>its data holds a character that is no letter, digit or sign</source>
        <translation>数据中有字母、数字和符号以外的字符</translation>
    </message>
    <message>
        <source>the block starts with &quot;%1&quot;; a GSI block starts with word 11 (point) or 41 (code) and its 4-digit block address</source>
        <translation>数据块以 &quot;%1&quot; 开头；GSI 数据块应以字 11（点号）或 41（代码）及其 4 位块地址开头</translation>
    </message>
    <message>
        <source>the word &quot;%1&quot; carries an angle unit (character 6 is &quot;%2&quot;), not a length unit (0, 1, 6, 7 or 8)</source>
        <translation>字 &quot;%1&quot; 带的是角度单位（第 6 个字符为 &quot;%2&quot;），不是长度单位（0、1、6、7 或 8）</translation>
    </message>
    <message>
        <source>the word &quot;%1&quot; has no unit (character 6 is &quot;.&quot;); a length needs unit 0, 1, 6, 7 or 8</source>
        <translation>字 &quot;%1&quot; 没有单位（第 6 个字符为 &quot;.&quot;）；长度须用单位 0、1、6、7 或 8</translation>
    </message>
    <message>
        <source>the word &quot;%1&quot; has the unknown unit digit &quot;%2&quot;; a length needs unit 0, 1, 6, 7 or 8</source>
        <translation>字 &quot;%1&quot; 的单位代码 &quot;%2&quot; 未知；长度须用单位 0、1、6、7 或 8</translation>
    </message>
    <message>
        <source>a blank follows &quot;*&quot;; a GSI-16 block starts right after it</source>
        <translation>&quot;*&quot; 后有空格；GSI-16 数据块应紧接 &quot;*&quot; 开始</translation>
    </message>
    <message>
        <source>more than one blank follows it</source>
        <translation>其后有不止一个空格</translation>
    </message>
    <message>
        <source>it has %1 characters; a %2 word has %3</source>
        <translation>它有 %1 个字符，而 %2 字应有 %3 个字符</translation>
    </message>
    <message>
        <source>the line holds no GSI word after &quot;*&quot;</source>
        <translation>该行 &quot;*&quot; 之后没有 GSI 字</translation>
    </message>
    <message>
        <source>its data is not a number</source>
        <translation>数据不是数字</translation>
    </message>
    <message>
        <source>the value of &quot;%1&quot; is too long for its raw line field</source>
        <translation>&quot;%1&quot; 的数值太长，原始行的字段放不下</translation>
    </message>
    <message>
        <source>Converted from %1: 1 reading</source>
        <translation>已从 %1 转换：1 个读数</translation>
    </message>
    <message>
        <source>Converted from %1: %2 readings</source>
        <translation>已从 %1 转换：%2 个读数</translation>
    </message>
    <message>
        <source>GSI-8 and GSI-16</source>
        <translation>GSI-8 和 GSI-16</translation>
    </message>
    <message>
        <source>cannot find the home folder for the work files: HOME is not set</source>
        <translation>找不到存放工作文件的主文件夹：未设置 HOME</translation>
    </message>
    <message>
        <source>cannot make the work folder</source>
        <translation>无法创建工作文件夹</translation>
    </message>
    <message>
        <source>cannot list the templates</source>
        <translation>无法列出模板</translation>
    </message>
    <message>
        <source>levara-cli (Levara) version %1
</source>
        <translation>levara-cli（Levara）版本 %1
</translation>
    </message>
    <message>
        <source>Try &quot;%1&quot; for more.
</source>
        <translation>详细说明请运行 &quot;%1&quot;。
</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>已保存：%1</translation>
    </message>
    <message>
        <source>%1 is a folder; drop a raw file to open it</source>
        <translation>%1 是文件夹；请把原始数据文件拖进窗口打开</translation>
    </message>
    <message>
        <source>The text still holds lines that %1 leaves out; a workbook saved from them may be wrong.

Reduce the text first?</source>
        <translation>文本中仍有“%1”会去掉的行，用它保存的表格可能有误。

先整理再保存吗？</translation>
    </message>
    <message>
        <source>Reduce, then save</source>
        <translation>整理后保存</translation>
    </message>
    <message>
        <source>Save as it is</source>
        <translation>按原样保存</translation>
    </message>
    <message>
        <source>sight length</source>
        <translation>视距</translation>
    </message>
    <message>
        <source>line-of-sight height</source>
        <translation>视线高</translation>
    </message>
    <message>
        <source>back-fore distance difference</source>
        <translation>前后视距差</translation>
    </message>
    <message>
        <source>accumulated distance difference</source>
        <translation>视距累积差</translation>
    </message>
    <message>
        <source>difference of the two height differences</source>
        <translation>两次高差之差</translation>
    </message>
    <message>
        <source>odd number of stations in the section</source>
        <translation>测段测站数为奇数</translation>
    </message>
    <message>
        <source>computation check</source>
        <translation>计算检核</translation>
    </message>
    <message>
        <source>loop misclosure</source>
        <translation>环线闭合差</translation>
    </message>
    <message>
        <source>forward/return discrepancy</source>
        <translation>往返测高差不符值</translation>
    </message>
    <message>
        <source>at %1: %2</source>
        <translation>%1 处：%2</translation>
    </message>
    <message>
        <source>expected an object { … }</source>
        <translation>此处应为对象 { … }</translation>
    </message>
    <message>
        <source>unknown key; the keys here are %1</source>
        <translation>未知的键；此处可用的键为 %1</translation>
    </message>
    <message>
        <source>expected a text &quot;…&quot;</source>
        <translation>此处应为文本 &quot;…&quot;</translation>
    </message>
    <message>
        <source>expected a number</source>
        <translation>此处应为数字</translation>
    </message>
    <message>
        <source>expected a number not below 0</source>
        <translation>此处应为不小于 0 的数字</translation>
    </message>
    <message>
        <source>expected &quot;v&quot;, &quot;v*&quot; or &quot;u&quot;</source>
        <translation>此处应为 &quot;v&quot;、&quot;v*&quot; 或 &quot;u&quot;</translation>
    </message>
    <message>
        <source>expected a list [ … ]</source>
        <translation>此处应为列表 [ … ]</translation>
    </message>
    <message>
        <source>min is above max</source>
        <translation>min 大于 max</translation>
    </message>
    <message>
        <source>expected true or false</source>
        <translation>此处应为 true 或 false</translation>
    </message>
    <message>
        <source>must be %1, the version of the format Levara reads</source>
        <translation>应为 %1，即 Levara 读取的格式版本</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>缺少此项</translation>
    </message>
    <message>
        <source>the limits &quot;%1&quot; have no mountain form</source>
        <translation>限差“%1”没有山区限差</translation>
    </message>
    <message>
        <source>an even number</source>
        <translation>偶数</translation>
    </message>
    <message>
        <source>±%1</source>
        <translation>±%1</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 至 %2</translation>
    </message>
    <message>
        <source>at least %1</source>
        <translation>不小于 %1</translation>
    </message>
    <message>
        <source>at most %1</source>
        <translation>不大于 %1</translation>
    </message>
    <message>
        <source>line %1, %2: %3 %4, limit %5 (%6, %7)</source>
        <translation>第 %1 行，%2：%3 %4，限差 %5（%6，%7）</translation>
    </message>
    <message>
        <source>line %1, station %2, %3: %4 %5, limit %6 (%7, %8)</source>
        <translation>第 %1 行，第 %2 站，%3：%4 %5，限差 %6（%7，%8）</translation>
    </message>
    <message>
        <source>%1: every value within the limits (leveling lines: %2, stations: %3)</source>
        <translation>%1：全部在限差之内（水准线路 %2 条，测站 %3 个）</translation>
    </message>
    <message>
        <source>%1: values over the limits: %2 (leveling lines: %3, stations: %4)</source>
        <translation>%1：超限 %2 项（水准线路 %3 条，测站 %4 个）</translation>
    </message>
    <message>
        <source>No standard is chosen: choose one in the %1 menu first.</source>
        <translation>尚未选择检核标准：请先在“%1”菜单中选择。</translation>
    </message>
    <message>
        <source>the text holds no leveling section to save</source>
        <translation>文本中没有可保存的水准测段</translation>
    </message>
    <message>
        <source>gives no height for any point of the leveling sections</source>
        <translation>未给出任何水准测段点的高程</translation>
    </message>
    <message>
        <source>the point name &quot;%1&quot; cannot be written for STAR*NET, which joins a section&apos;s two points with &quot;-&quot; and ends a name at a blank; rename the point</source>
        <translation>点名“%1”无法写入 STAR*NET 文件：STAR*NET 用“-”连接测段的两个点，并在空格处结束点名；请修改点名</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a point name and a height in metres</source>
        <translation>“%1”不是点名加以米为单位的高程</translation>
    </message>
    <message>
        <source>&quot;%1&quot; gives point %2 another height than line %3 (%4 m)</source>
        <translation>“%1”给点 %2 的高程与第 %3 行（%4 m）不同</translation>
    </message>
    <message>
        <source>the section of lines %1 starts at %2, but the section before it (lines %3) ends at %4: the sections must follow each other as one route or one loop, each starting where the one before ends</source>
        <translation>第 %1 行的测段起于 %2，而它前面的测段（第 %3 行）止于 %4：各测段须首尾相接，组成一条路线或一个闭合环，每一测段从前一测段的终点开始</translation>
    </message>
    <message>
        <source>the route has no length to share its misclosure by: its sight distances are all zero</source>
        <translation>路线没有可按其分配闭合差的长度：视距全为零</translation>
    </message>
    <message>
        <source>the height &quot;%1&quot; is not a number</source>
        <translation>高程“%1”不是数字</translation>
    </message>
    <message>
        <source>the first height line is of point %1, not of %2, the start of the route: choose a known-points file</source>
        <translation>第一个高程行是点 %1 的，而不是路线起点 %2 的：请选择已知点文件</translation>
    </message>
    <message>
        <source>the text records no height for the route&apos;s start: choose a known-points file</source>
        <translation>文本中没有路线起点的高程：请选择已知点文件</translation>
    </message>
    <message>
        <source>the text holds no leveling section to adjust</source>
        <translation>文本中没有可配赋的水准测段</translation>
    </message>
    <message>
        <source>gives no height for %1, the start of the route (line %2)</source>
        <translation>未给出路线起点 %1（第 %2 行）的高程</translation>
    </message>
    <message>
        <source>%1 gives a height for %2 inside the route too: Levara distributes the misclosure of one route with known heights at its ends only; save the sections for adjustment software to adjust a network</source>
        <translation>%1 还给出了路线中间点 %2 的高程：Levara 只配赋两端为已知点的单一路线的闭合差；要平差水准网，请保存测段数据供平差软件使用</translation>
    </message>
    <message>
        <source>the misclosure %1 mm is over its limit ±%2 mm</source>
        <translation>闭合差 %1 mm 超出限差 ±%2 mm</translation>
    </message>
    <message>
        <source>forward/return discrepancies over their limits: %1 (the first, lines %2 and %3: %4 mm, limit ±%5 mm)</source>
        <translation>往返测高差不符值超限：%1 处（第一处为第 %2 行与第 %3 行：%4 mm，限差 ±%5 mm）</translation>
    </message>
    <message>
        <source>%1; %2</source>
        <translation>%1；%2</translation>
    </message>
    <message>
        <source>Saved %1, marked &quot;%2&quot;: %3</source>
        <translation>已保存 %1，标为“%2”：%3</translation>
    </message>
    <message>
        <source>%1: saved, marked &quot;%2&quot;: %3</source>
        <translation>%1：已保存，标为“%2”：%3</translation>
    </message>
    <message>
        <source>The table is saved, marked &quot;%1&quot;: %2</source>
        <translation>表格已保存，标为“%1”：%2</translation>
    </message>
    <message>
        <source>%1:%2: %3</source>
        <translation>%1:%2: %3</translation>
    </message>
    <message>
        <source>%1: characters that are not %2, shown as &quot;%3&quot;: %4, the first in line %5</source>
        <translation>%1：不是 %2 的字符（显示为 &quot;%3&quot;）：%4 个，第一个在第 %5 行</translation>
    </message>
    <message>
        <source>Read as %1</source>
        <translation>按 %1 读取</translation>
    </message>
    <message>
        <source>cannot read: it is larger than %1 GiB, more than any raw file, template or limits file holds</source>
        <translation>无法读取：文件大于 %1 GiB，超过任何原始文件、模板或限差文件的大小</translation>
    </message>
    <message>
        <source>cannot open: it is not an ordinary file (a pipe, device or socket)</source>
        <translation>无法打开：这不是普通文件（是管道、设备或套接字）</translation>
    </message>
    <message>
        <source>cannot write: it is a link, and work files are never written through one; remove it</source>
        <translation>无法写入：这是链接，工作文件从不经链接写入；请删除它</translation>
    </message>
    <message>
        <source>cannot write: it is not an ordinary file of yours; remove it</source>
        <translation>无法写入：这不是属于您的普通文件；请删除它</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>警告：%1</translation>
    </message>
    <message>
        <source>workbooks cannot be read or written: libgsf cannot be loaded (%1)</source>
        <translation>无法读写工作簿：无法加载 libgsf（%1）</translation>
    </message>
    <message>
        <source>Kept %1 lines, dropped %2</source>
        <translation>保留 %1 行，去掉 %2 行</translation>
    </message>
    <message>
        <source>Out of date: the text was edited after this check. %1</source>
        <translation>已过期：检核后文本已改动。%1</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>文件夹</translation>
    </message>
    <message>
        <source>%1 File</source>
        <translation>%1 文件</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>%1 already exists: it is the raw file open in the window. Replacing it loses the file as it was read.

Replace it?</source>
        <translation>%1 已存在，它就是窗口中打开的原始文件。替换它，原文件就没有了。

替换吗？</translation>
    </message>
    <message>
        <source>%1 already exists.

Replace it?</source>
        <translation>%1 已存在。

替换吗？</translation>
    </message>
    <message>
        <source>The text has changes that are not saved. Save the text?</source>
        <translation>文本有改动尚未保存。保存文本吗？</translation>
    </message>
    <message>
        <source>The text of %1 has changes that are not saved. Save the text?</source>
        <translation>%1 的文本有改动尚未保存。保存文本吗？</translation>
    </message>
    <message>
        <source>Save as CSV…</source>
        <translation>保存为 CSV…</translation>
    </message>
    <message>
        <source>Line %1: %2 stations, %3 over the limits</source>
        <translation>线路 %1：%2 站，超限 %3 项</translation>
    </message>
    <message>
        <source>this is an Excel workbook, not a raw file of a digital level</source>
        <translation>这是 Excel 工作簿，不是水准仪原始文件</translation>
    </message>
    <message>
        <source>Not found: %1</source>
        <translation>未找到：%1</translation>
    </message>
    <message>
        <source>Levara %1

Reduces the raw files of digital levels, saves their field books, checks them against the leveling standards and exports them for adjustment software.

Built with Qt %2.</source>
        <translation>Levara %1

整理数字水准仪的原始数据文件，生成水准测量手簿，按水准测量规范检核，并导出供平差软件使用的数据。

基于 Qt %2 构建。</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>查找：</translation>
    </message>
    <message>
        <source>Line (1 to %1):</source>
        <translation>行号（1 至 %1）：</translation>
    </message>
    <message>
        <source>The leveling line at line %1 names no observation order Levara reads. In which order were its stations read?</source>
        <translation>第 %1 行的水准线路没有注明 Levara 可读取的观测顺序。它的测站是按什么顺序观测的？</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot stand there</source>
        <translation>此处不能出现 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>the file ends before the JSON does</source>
        <translation>JSON 尚未结束，文件就结束了</translation>
    </message>
    <message>
        <source>line %1, column %2: not valid JSON: %3</source>
        <translation>第 %1 行第 %2 列：不是有效的 JSON：%3</translation>
    </message>
    <message>
        <source>Saved %1, but the text holds no station: the book is empty.</source>
        <translation>已保存 %1，但文本中没有测站：手簿是空的。</translation>
    </message>
    <message>
        <source>the reading &quot;%1&quot; (%2) cannot start a %3 station; it starts with B1 (word 331)</source>
        <translation>读数 &quot;%1&quot;（%2）不能开始 %3 测站；测站以 B1（字 331）开始</translation>
    </message>
    <message>
        <source>%1 readings of collimation checks</source>
        <translation>%1 个 i 角检校读数</translation>
    </message>
    <message>
        <source>%1 readings of stations left unfinished</source>
        <translation>%1 个未完成测站的读数</translation>
    </message>
    <message>
        <source>%1 line-closing blocks</source>
        <translation>%1 个线路闭合数据块</translation>
    </message>
    <message>
        <source>%1: passed over %2</source>
        <translation>%1：已跳过 %2</translation>
    </message>
    <message>
        <source>%1: passed over %2 and %3</source>
        <translation>%1：已跳过 %2 和 %3</translation>
    </message>
    <message>
        <source>%1: passed over %2, %3 and %4</source>
        <translation>%1：已跳过 %2、%3 和 %4</translation>
    </message>
    <message>
        <source>a GSI-16 file whose line ends were lost: its blocks, each starting with &quot;*&quot;, follow each other on one line; transfer it again from the level, each block a line</source>
        <translation>换行已丢失的 GSI-16 文件：各数据块（均以 &quot;*&quot; 开头）连在同一行；请从水准仪重新传输，每个数据块一行</translation>
    </message>
    <message>
        <source>cannot read: it is larger than %1 MiB, more than any known-points or limits file holds</source>
        <translation>无法读取：文件大于 %1 MiB，超过任何已知点文件或限差文件的大小</translation>
    </message>
    <message>
        <source>cannot write: the file has another name (a hard link), and work files are never written through one; remove it</source>
        <translation>无法写入：该文件另有名称（硬链接），工作文件从不经由链接写入；请删除它</translation>
    </message>
    <message>
        <source>the point name &quot;%1&quot; cannot be written in XML for GNU Gama: it is empty or holds a control character, U+FFFE or U+FFFF; rename the point</source>
        <translation>点名 &quot;%1&quot; 无法写入 GNU Gama 的 XML：它为空，或含有控制字符、U+FFFE 或 U+FFFF；请更改点名</translation>
    </message>
    <message>
        <source>a text longer than %1 characters</source>
        <translation>文本超过 %1 个字符</translation>
    </message>
    <message>
        <source>line %1, column %2: the number &quot;%3&quot; is beyond what a number may be (about 1.8e308)</source>
        <translation>第 %1 行第 %2 列：数 &quot;%3&quot; 超出数值所能表示的范围（约 1.8e308）</translation>
    </message>
    <message>
        <source>the section of lines %1 (%2 to %3) has no length to weigh it by: its sight distances are all zero</source>
        <translation>第 %1 行的测段（%2 至 %3）没有可用于定权的长度：其视距均为零</translation>
    </message>
    <message>
        <source>the section of lines %1 (%2 to %3) has no station to weigh it by</source>
        <translation>第 %1 行的测段（%2 至 %3）没有可用于定权的测站</translation>
    </message>
    <message>
        <source>%1 (the sections of lines %2)</source>
        <translation>%1（第 %2 行的测段）</translation>
    </message>
    <message>
        <source>no point of the network has a known height: %1; give the height of at least one of them</source>
        <translation>水准网中没有任何点有已知高程：%1；请至少给出其中一点的高程</translation>
    </message>
    <message>
        <source>the network falls into %1 pieces, and no point of these has a known height: %2; give the height of a point in each, or join them by sections</source>
        <translation>水准网分为 %1 个互不相连的部分，以下部分中没有任何点有已知高程：%2；请为每一部分给出一个点的高程，或用测段将它们连接起来</translation>
    </message>
    <message>
        <source>the network&apos;s normal equations cannot be solved</source>
        <translation>水准网的法方程无法求解</translation>
    </message>
    <message>
        <source>the section of lines %1 has a height difference of %2 m, beyond ±%3 m: no two points differ that much in height</source>
        <translation>第 %1 行的测段高差为 %2 m，超出 ±%3 m：任何两点的高差都不会这么大</translation>
    </message>
    <message>
        <source>the height &quot;%1&quot; is beyond ±%2 m: no point is that high or that deep</source>
        <translation>高程 &quot;%1&quot; 超出 ±%2 m：没有点有这么高或这么深</translation>
    </message>
    <message>
        <source>the leveling line names no observation method, so the order of its stations is unknown: name one of %1 in its Start-Line record, or give the order (levara-cli %2 ORDER)</source>
        <translation>该水准线路未注明观测方法，无法得知测站的观测顺序：请在其 Start-Line 记录中注明 %1 之一，或指定观测顺序（levara-cli %2 观测顺序）</translation>
    </message>
    <message>
        <source>the observation method &quot;%1&quot; of the leveling line is none of %2, so the order of its stations is unknown: give the order (levara-cli %3 ORDER)</source>
        <translation>该水准线路的观测方法“%1”不是 %2 之一，无法得知测站的观测顺序：请指定观测顺序（levara-cli %3 观测顺序）</translation>
    </message>
    <message>
        <source>the reading &quot;%1&quot; is beyond ±%2 m, more than any level reads</source>
        <translation>读数 &quot;%1&quot; 超出 ±%2 m，超过任何水准仪的读数</translation>
    </message>
    <message>
        <source>the distance &quot;%1&quot; is beyond ±%2 m, more than any level reads</source>
        <translation>视距 &quot;%1&quot; 超出 ±%2 m，超过任何水准仪的读数</translation>
    </message>
    <message>
        <source>the global test fails: χ² = %1 lies outside [%2, %3] at 95 %</source>
        <translation>整体检验未通过：χ² = %1 不在 95% 置信区间 [%2, %3] 之内</translation>
    </message>
    <message>
        <source>sections whose standardized residual is over %1, possible blunders: %2 (the first, lines %3: %4)</source>
        <translation>标准化残差大于 %1、可能含粗差的测段：%2 个（第一个为第 %3 行：%4）</translation>
    </message>
    <message>
        <source>Saved %1: %2</source>
        <translation>已保存 %1：%2</translation>
    </message>
    <message>
        <source>cannot use the work folder: it is a link to nothing; remove it</source>
        <translation>无法使用工作文件夹：它是指向不存在目标的链接；请删除它</translation>
    </message>
    <message>
        <source>cannot use the work folder</source>
        <translation>无法使用工作文件夹</translation>
    </message>
    <message>
        <source>cannot use the work folder: it is not a folder</source>
        <translation>无法使用工作文件夹：它不是文件夹</translation>
    </message>
    <message>
        <source>cannot use the work folder: it is not a folder of yours that only you may write in</source>
        <translation>无法使用工作文件夹：它不是只有您可以写入的、属于您的文件夹</translation>
    </message>
    <message>
        <source>%1: saved: %2</source>
        <translation>%1：已保存：%2</translation>
    </message>
    <message>
        <source>cannot write to the standard output: %1</source>
        <translation>无法写入标准输出：%1</translation>
    </message>
    <message>
        <source>The table is saved: %1</source>
        <translation>表格已保存：%1</translation>
    </message>
    <message>
        <source>repeated readings of a digital level</source>
        <translation>数字水准仪重复测量次数</translation>
    </message>
    <message>
        <source>re-measured section&apos;s difference</source>
        <translation>检测已测测段高差之差</translation>
    </message>
    <message>
        <source>route&apos;s forward/return discrepancy</source>
        <translation>路线往返测高差不符值</translation>
    </message>
    <message>
        <source>mean error per km M_Δ</source>
        <translation>每千米高差中数偶然中误差 M_Δ</translation>
    </message>
    <message>
        <source>total mean error per km M_W</source>
        <translation>每千米高差中数全中误差 M_W</translation>
    </message>
    <message>
        <source>no limit given</source>
        <translation>未给出限差</translation>
    </message>
    <message>
        <source>limit ±%1 mm (%2, %3)</source>
        <translation>限差 ±%1 mm（%2，%3）</translation>
    </message>
    <message>
        <source>precision: M_Δ = ±%1 mm from %2 forward/return pairs, %3</source>
        <translation>精度评定：M_Δ = ±%1 mm（%2 个往返测段），%3</translation>
    </message>
    <message>
        <source>  line %1, %2: R %3 km, Δ %4 mm, ΔΔ/R %5</source>
        <translation>  第 %1 行，%2：R %3 km，Δ %4 mm，ΔΔ/R %5</translation>
    </message>
    <message>
        <source>precision: M_W = ±%1 mm from %2 loops, %3</source>
        <translation>精度评定：M_W = ±%1 mm（%2 个环），%3</translation>
    </message>
    <message>
        <source>  line %1, %2: F %3 km, W %4 mm, WW/F %5</source>
        <translation>  第 %1 行，%2：F %3 km，W %4 mm，WW/F %5</translation>
    </message>
    <message>
        <source>its staffs were recorded in the order %1, which the book, reading %2, contradicts; save the book of the order recorded</source>
        <translation>其标尺按 %1 的顺序观测记录，与按 %2 读取的手簿矛盾；请保存与记录顺序相符的手簿</translation>
    </message>
    <message>
        <source>every station agrees with the instrument&apos;s computation (leveling lines: %1, stations: %2)</source>
        <translation>每个测站均与仪器计算相符（水准线路 %1 条，测站 %2 个）</translation>
    </message>
    <message>
        <source>stations that differ from the instrument&apos;s computation: %1 (leveling lines: %2, stations: %3)</source>
        <translation>与仪器计算不符的测站：%1 个（水准线路 %2 条，测站 %3 个）</translation>
    </message>
    <message>
        <source>line %1: station %2 (%3): differs from the instrument&apos;s computation: height difference %4 m, the instrument&apos;s %5 m</source>
        <translation>第 %1 行：第 %2 站（%3）：与仪器计算不符：高差 %4 m，仪器 %5 m</translation>
    </message>
    <message>
        <source>Appended %1: %2</source>
        <translation>已追加 %1：%2</translation>
    </message>
    <message>
        <source>Appended %1</source>
        <translation>已追加 %1</translation>
    </message>
    <message>
        <source>usage: levara-cli [--filter FILTER] --save KIND [--overwrite] [STANDARD]
                  [--known FILE] [--by distance|stations] [--pairs mean|both]
                  [--order ORDER] INPUT... OUTPUT
       levara-cli check [--filter FILTER] [STANDARD] [--order ORDER] [--csv] INPUT
       levara-cli --help | --version
STANDARD: --standard 1|2|3|4 [--mountain] | --limits FILE
</source>
        <translation>用法：levara-cli [--filter 整理方式] --save 类型 [--overwrite] [标准]
                 [--known 已知点文件] [--by distance|stations] [--pairs mean|both]
                 [--order 观测顺序] 输入文件... 输出文件
      levara-cli check [--filter 整理方式] [标准] [--order 观测顺序] [--csv] 输入文件
      levara-cli --help | --version
标准：--standard 1|2|3|4 [--mountain] | --limits 限差文件
</translation>
    </message>
    <message>
        <source>%1
Runs the menu&apos;s commands without the window: opens the raw file INPUT (%2),
reduces its text with FILTER (%3) and saves it as KIND to OUTPUT (%4).

  --filter FILTER  the reduction, as %3 offers it:
%5  --save KIND      what to save, as %4 offers it; workbooks are .xls files:
%6  --overwrite      replace OUTPUT when it exists
  --standard N     hold the leveling lines to the limits of order N (1 to 4,
                   digital levels), as %9 offers them: a saved field book
                   shows each value over its limit in red and names it in
                   its remarks
  --mountain       with --standard 3 or 4: the mountain limits
  --limits FILE    the same with the limits of a limits file (JSON)
  --known FILE     adjustment, network, gama, starnet: the known heights, a
                   file of point names and heights in metres; without it
                   the start&apos;s height recorded in INPUT is the only one
  --by distance|stations
                   adjustment: the misclosure shared by section length (the
                   default) or by station count; network: the sections
                   weighted by 1/length (the default) or 1/stations
  --pairs mean|both
                   network: a forward/return pair adjusted as its mean (the
                   default, as the leveling standards do) or as two runs
  --help           show this help
  --version        show the version

check prints one line per value over its limit, one per station whose height
difference differs from the level&apos;s own heights, and a summary; without
STANDARD, only the level&apos;s. With --csv, a CSV header and one row per value
instead. The stations are read from the lines --filter leveling keeps,
reduced or not, in the order a line&apos;s Start-Line record names; a line that
names none is read in the order its readings&apos; tags show, or give it, to check
and to every save that reads sections (adjustment, network, sections-csv,
gama, starnet):
  --order ORDER    bffb, bbff, bfbf, bf or abffb

Those saves take several INPUTs, one after the other: each file&apos;s leveling
lines are read on their own and their sections joined into one network; a
fault names the file and its own line. Every other save takes one INPUT.

Workbooks are made from the templates in the temp folder beside the program,
which also holds the work files. When you may not write there (a system
install), your own folder is used instead:
    %7 (by default %8)
Missing templates are copied into it; a template you edit there is kept.

Exit status: 0 saved, or checked and all within the limits and agreeing
with the level; 1 failed (one line on stderr, OUTPUT left as it was); 2
usage error; 3 checked, and values over the limits or stations differing
from the level, an adjustment table saved whose misclosure is over its
limit, or a network table saved whose global test fails or that flags
possible blunders (said on stderr; the table marks it).
</source>
        <translation>%1
不打开窗口，执行菜单中的命令：像菜单 %2 那样打开原始数据文件“输入文件”，
像菜单 %3 那样按“整理方式”整理其文本，再像菜单 %4 那样按“类型”保存为“输出文件”。

  --filter 整理方式  整理的方式，与菜单 %3 相同：
%5  --save 类型        保存的内容，与菜单 %4 相同；手簿和表格为 .xls 文件：
%6  --overwrite        “输出文件”已存在时替换它
  --standard N       按 N 等（1 至 4，数字水准仪）的限差检核水准线路，与菜单 %9
                     相同：保存的手簿中超限的数值显示为红色，并在备注中注明
  --mountain         与 --standard 3 或 4 一起使用：采用山区限差
  --limits 限差文件  同上，但采用限差文件（JSON）中的限差
  --known 已知点文件 adjustment、network、gama、starnet：已知高程，每行一个点名和
                     以米为单位的高程；不给出时，以“输入文件”中记录的起点高程为唯一
                     已知高程
  --by distance|stations
                     adjustment：按测段长度（默认）或按测站数分配闭合差；network：
                     按 1/测段长度（默认）或 1/测站数定权
  --pairs mean|both
                     network：往返测取中数作为一个观测（默认，与水准测量规范相同），
                     或往测、返测各作一个观测
  --help             显示本帮助
  --version          显示版本

check 对每个超限的数值、每个高差与仪器自身高程不符的测站各输出一行，最后输出
汇总；不给出“标准”时只与仪器比较。加 --csv 时改为输出 CSV 表头和每个超限数值
一行。测站取自 --filter leveling 保留的行，无论是否已整理；按线路 Start-Line
记录注明的观测顺序读取，未注明时按读数标记所示的顺序读取，或对 check 以及读取
测段的各种保存（adjustment、network、sections-csv、gama、starnet）指定：
  --order 观测顺序   bffb、bbff、bfbf、bf 或 abffb

上述保存可以给出多个“输入文件”，依次排列：各文件的水准线路分别读取，其测段合为
一个水准网；错误信息注明所在文件及该文件中的行号。其他保存只给出一个“输入文件”。

手簿和表格由程序旁 temp 文件夹中的模板生成，工作文件也存放在该文件夹中。
如果您无权写入该文件夹（系统安装），则改用您自己的文件夹：
    %7（默认为 %8）
缺少的模板会复制到其中；您在那里修改过的模板会保留。

退出状态：0 已保存，或已检核且全部在限差之内、与仪器相符；1 失败（标准错误输出
一行说明，“输出文件”保持原样）；2 用法错误；3 已检核，且有超限或与仪器不符的
测站；或已保存高差配赋表，但闭合差超限；或已保存平差成果表，但整体检验未通过或
有可能含粗差的测段（在标准错误输出中说明，表中已标明）。
</translation>
    </message>
    <message>
        <source>the book %1 does not fit the observations: %2</source>
        <translation>手簿 %1 与观测记录不符：%2</translation>
    </message>
    <message>
        <source>%1 (no field book fits every station)</source>
        <translation>%1（没有与每一测站都相符的手簿）</translation>
    </message>
    <message>
        <source>%1 (the books that fit: %2)</source>
        <translation>%1（相符的手簿：%2）</translation>
    </message>
    <message>
        <source>%1

Save a book that fits instead?</source>
        <translation>%1

改为保存相符的手簿？</translation>
    </message>
    <message>
        <source>differs from the instrument&apos;s computation</source>
        <translation>与仪器计算不符</translation>
    </message>
    <message>
        <source>a station missing from the file</source>
        <translation>文件缺测站</translation>
    </message>
    <message>
        <source>the instrument&apos;s %1</source>
        <translation>仪器 %1</translation>
    </message>
    <message>
        <source>%1: every value within the limits; stations that differ from the instrument&apos;s computation: %2 (leveling lines: %3, stations: %4)</source>
        <translation>%1：全部在限差之内；与仪器计算不符的测站 %2 个（水准线路 %3 条，测站 %4 个）</translation>
    </message>
    <message>
        <source>%1: values over the limits: %2; stations that differ from the instrument&apos;s computation: %3 (leveling lines: %4, stations: %5)</source>
        <translation>%1：超限 %2 项；与仪器计算不符的测站 %3 个（水准线路 %4 条，测站 %5 个）</translation>
    </message>
    <message>
        <source>the instrument&apos;s sums include a station missing from the file (the addresses jump from %1 to %2)</source>
        <translation>仪器的累计值含有文件中缺少的测站（地址从 %1 跳到 %2）</translation>
    </message>
    <message>
        <source>the instrument&apos;s sums include a station missing from the file (it counts %1 stations, the file holds %2)</source>
        <translation>仪器的累计值含有文件中缺少的测站（仪器计 %1 站，文件有 %2 站）</translation>
    </message>
    <message>
        <source>the instrument&apos;s heights</source>
        <translation>仪器的高程</translation>
    </message>
    <message>
        <source>line %1: station %2 (%3): warning: %4: height difference %5 m, the instrument&apos;s %6 m</source>
        <translation>第 %1 行：第 %2 站（%3）：警告：%4：高差 %5 m，仪器 %6 m</translation>
    </message>
    <message>
        <source>Line %1: %2 stations, %3 over the limits, %4 differ from the instrument&apos;s computation</source>
        <translation>线路 %1：%2 站，超限 %3 项，与仪器计算不符 %4 站</translation>
    </message>
</context>
</TS>
