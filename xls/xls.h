#pragma once
// xls: Levara's own small BIFF8 (Excel 97-2003 .xls) workbook engine, over libgsf for
// the OLE2 container. It opens a workbook (one Levara wrote, or one Excel, WPS or
// LibreOffice saved), reads and writes cell values, merges blocks, draws thin borders
// and writes it back, keeping everything it does not touch as it was. It can also
// make a new workbook, for the template generator. It works on bytes: reading and
// replacing files is its callers' business.
//
// Rows and columns count from 1, as in the field books; worksheets count from 0.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace levara::xls {

// The workbook cannot be read or written. The engine knows no files and speaks to
// no user: its caller names the file the bytes came from or go to and tells the
// user, in the user's words, what kind() of fault it is; detail() is data that
// places the fault (a record id and byte offset "0x00FD@1234", a structure "SST",
// the row or value at fault), never a sentence. what() explains it in English for
// logs and tests.
class Error : public std::runtime_error {
public:
    enum class Kind {
        NotOle2,           // not an OLE2 compound file
        NoWorkbookStream,  // an OLE2 file without a Workbook stream
        Biff5,             // Excel 5.0/95 (BIFF5)
        Encrypted,         // saved with a password
        Damaged,           // truncated or inconsistent records or container
        RowLimit,          // detail: the row past 1 to kMaxRows
        ColumnLimit,       // detail: the column past 1 to kMaxColumns
        TextLimit,         // detail: the length, past kMaxTextLength
        FormatLimit,       // detail: the most cell formats a workbook holds
        LayoutLimit,       // a page or sheet layout value the format cannot hold
        Unwritable,        // the compound file cannot be made
        BadRequest,        // a name, size, style, sheet or text no workbook can hold
        Unavailable,       // libgsf cannot be loaded; detail: why
    };

    Error(Kind kind, std::string detail, const std::string& explanation)
        : std::runtime_error(explanation), kind_(kind), detail_(std::move(detail))
    {
    }
    Kind kind() const { return kind_; }
    const std::string& detail() const { return detail_; }

private:
    Kind kind_;
    std::string detail_;
};

// A limit of the .xls format would be passed (row, column, cell formats, string
// length, layout). Thrown at the worksheet's edge before anything is changed.
class LimitError : public Error {
public:
    using Error::Error;
};

inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;
inline constexpr std::size_t kMaxTextLength = 32767;  // UTF-16 code units
// Manual page breaks a worksheet holds: [MS-XLS] 2.4.142 HorizontalPageBreaks, cbrk.
inline constexpr std::size_t kMaxRowBreaks = 1026;

struct Range {
    int firstRow = 1;
    int firstColumn = 1;
    int lastRow = 1;
    int lastColumn = 1;

    bool contains(int row, int column) const
    {
        return row >= firstRow && row <= lastRow && column >= firstColumn && column <= lastColumn;
    }
    bool operator==(const Range&) const = default;
};

// A cell as read: empty, a number or a text (UTF-8). A formula reads as its last
// computed result; a boolean as 1 or 0; an error value as its text ("#N/A").
using Value = std::variant<std::monostate, double, std::string>;

// Line style codes of a cell's four edges as BIFF8 stores them (0 none, 1 thin, ...).
struct Borders {
    std::uint8_t left = 0;
    std::uint8_t right = 0;
    std::uint8_t top = 0;
    std::uint8_t bottom = 0;
    bool operator==(const Borders&) const = default;
};

// Font colours as BIFF8 stores them: an index into the workbook's palette (the
// default palette of [MS-XLS] 2.5.161 Icv: 10 is red), or automatic.
inline constexpr std::uint16_t kAutomaticFontColour = 0x7FFF;
inline constexpr std::uint16_t kRedFontColour = 10;

// Cell formatting, for authoring templates.
enum class HorizontalAlignment { General, Left, Center, Right };
enum class VerticalAlignment { Top, Center, Bottom };

struct Font {
    std::string name = "宋体";
    double points = 11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool operator==(const Font&) const = default;
};

struct CellStyle {
    Font font;
    std::string numberFormat = "General";
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrap = false;
    bool thinBorders = false;  // all four edges, thin, automatic colour
    bool operator==(const CellStyle&) const = default;
};

// A cell format (XF) of one workbook.
using StyleId = int;

struct PageSetup {
    bool landscape = false;
    int paperSize = 9;                                                                  // 9 = A4
    double leftMargin = 0.75, rightMargin = 0.75, topMargin = 1.0, bottomMargin = 1.0;  // inches
    double headerMargin = 0.5, footerMargin = 0.5;  // inches from the paper's edge to the header, footer
    bool fitToPageWidth = false;                    // scaled to one page wide
    int fitPagesTall = 0;  // when fitted to the page: at most so many pages tall; 0 = as many as needed
    int scale = 100;       // percent, when not fitting to the page width
    bool centerHorizontally = false;
    int repeatFirstRow = 0;  // rows printed on every page (print titles); 0 = none
    int repeatLastRow = 0;
    std::string header;  // Excel header/footer codes, e.g. "&C第 &P 页"
    std::string footer;
    bool operator==(const PageSetup&) const = default;
};

class WorkbookData;

class Worksheet {
public:
    std::string name() const;

    Value value(int row, int column) const;

    // Writing. Every call checks its row and column first (LimitError).
    void setNumber(int row, int column, double value);
    // Text is stored as written; the empty text clears the value instead.
    void setText(int row, int column, std::string_view utf8);
    // Leaves a blank cell that keeps its format; nothing when there is no cell.
    void clearValue(int row, int column);

    // A new merge replaces every merge it overlaps; a one-cell range is ignored.
    void merge(const Range& range);
    void unmerge(const Range& range);  // removes that exact merge, if present
    std::optional<Range> mergeAt(int row, int column) const;
    std::vector<Range> merges() const;

    // Every edge of every cell of the range, outer and inner: thin, continuous,
    // automatic colour. Blank cells of the range get the border too.
    void setThinBorders(const Range& range);
    Borders borders(int row, int column) const;  // as the cell shows them

    // Gives every cell of the range its format with the font in this colour (a palette
    // index), keeping the rest of the format and the values.
    void setFontColour(const Range& range, std::uint16_t colour);
    // The colour of the font the cell shows, kAutomaticFontColour when it has none.
    std::uint16_t fontColour(int row, int column) const;

    // The highest row holding a cell record, 0 when there is none.
    int lastRow() const;

    // The number format code the cell shows ("General", "0.000", ...): its own, or
    // the one a new cell there would get.
    std::string numberFormat(int row, int column) const;
    // Gives every cell of the range this number format, keeping the rest of its format.
    void setNumberFormat(const Range& range, std::string_view code);

    // Defined names: one of this worksheet is found before one of the whole workbook;
    // ASCII letters match either case. The cells a name refers to, when they lie on
    // this worksheet; the number a name stands for.
    std::optional<Range> namedRange(std::string_view name) const;
    std::optional<double> namedNumber(std::string_view name) const;

    // Printing as stored: what the page setup records say (defaults for those absent),
    // row heights in points (0 for a hidden row), column widths in characters of the
    // standard font and that font's size in points.
    PageSetup pageSetup() const;
    double rowHeight(int row) const;
    double columnWidth(int column) const;
    double standardFontPoints() const;

    // Manual page breaks: a printed page starts at each of these rows, ascending, from
    // row 2. Replaces the worksheet's row breaks; at most kMaxRowBreaks (LimitError).
    void setRowBreaks(const std::vector<int>& rows);
    std::vector<int> rowBreaks() const;

    // Authoring.
    void setStyle(int row, int column, StyleId style);
    void setColumns(int firstColumn, int lastColumn, double widthInCharacters, std::optional<StyleId> style = {});
    void setRowHeight(int row, double points);
    void setPageSetup(const PageSetup& setup);
    void freezeRows(int rows);  // rows 1..rows stay in view when scrolling
    // A name of this worksheet for a range of it, or for a number; replaces the
    // worksheet's name of that name. Throws Error for a name Excel would refuse.
    void defineName(std::string_view name, const Range& range);
    void defineName(std::string_view name, double number);

private:
    friend class Workbook;
    Worksheet(WorkbookData* book, std::size_t index) : book_(book), index_(index) {}
    WorkbookData* book_;
    std::size_t index_;
};

class Workbook {
public:
    // Reads the bytes of a whole OLE2 file. Throws Error.
    static Workbook fromBytes(std::string_view oleFile);
    // The same from a Workbook stream alone, without the OLE2 file around it.
    static Workbook fromWorkbookStream(std::string_view stream);
    // A new workbook with empty worksheets of these names (at least one).
    static Workbook create(const std::vector<std::string>& sheetNames);

    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;
    ~Workbook();

    // The whole OLE2 file in BIFF8, and its Workbook stream alone.
    std::string toBytes() const&;
    std::string workbookStream() const;
    // The whole file of a workbook done with: its cells are let go once the stream is
    // made, so the file is put together in the memory they took.
    std::string toBytes() &&;

    std::size_t sheetCount() const;
    Worksheet& sheet(std::size_t index);
    const Worksheet& sheet(std::size_t index) const;

    // A cell format with this style, reused when an identical one exists.
    StyleId addStyle(const CellStyle& style);

private:
    friend struct WorkbookInternals;  // tests reach the records through it
    explicit Workbook(std::unique_ptr<WorkbookData> data);
    std::unique_ptr<WorkbookData> data_;
    std::vector<Worksheet> sheets_;
};

}  // namespace levara::xls
