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
#include <variant>
#include <vector>

namespace levara::xls {

// The workbook cannot be read or written: not an OLE2 file, no Workbook stream,
// BIFF5 or older, encrypted, truncated or inconsistent records. The engine knows
// no files: the caller names the one the bytes came from or go to.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A limit of the .xls format would be passed (row, column, cell formats, string
// length). Thrown at the worksheet's edge before anything is changed.
class LimitError : public Error {
public:
    using Error::Error;
};

inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;
inline constexpr std::size_t kMaxTextLength = 32767;  // UTF-16 code units

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
    bool fitToPageWidth = false;
    bool centerHorizontally = false;
    int repeatFirstRow = 0;  // rows printed on every page (print titles); 0 = none
    int repeatLastRow = 0;
    std::string footer;  // Excel header/footer codes, e.g. "&C第 &P 页"
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

    // The highest row holding a cell record, 0 when there is none.
    int lastRow() const;

    // Authoring.
    void setStyle(int row, int column, StyleId style);
    void setColumns(int firstColumn, int lastColumn, double widthInCharacters, std::optional<StyleId> style = {});
    void setRowHeight(int row, double points);
    void setPageSetup(const PageSetup& setup);
    void freezeRows(int rows);  // rows 1..rows stay in view when scrolling

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
