#pragma once
// What an open workbook holds: the container's other streams, the globals and each
// sheet as sequences of items (records kept as read, and places where the engine
// writes what it regenerates), the string table, the cell formats and the cells.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "xls/cell_table.h"
#include "xls/columns.h"
#include "xls/container.h"
#include "xls/merges.h"
#include "xls/sst.h"
#include "xls/styles.h"
#include "xls/xls.h"

namespace levara::xls {

struct Item {
    enum class Kind : std::uint8_t {
        Record,       // kept as read
        Fonts,        // every FONT record
        Formats,      // every FORMAT record
        Xfs,          // every XF record
        BoundSheet,   // its sheet's position is filled in
        Sst,          // SST and its CONTINUE records, rebuilt
        ExtSst,       // rebuilt after the SST
        XfCrc,        // count and checksum of the XFs, recomputed
        Index,        // rebuilt around the cell table
        Dimensions,   // recomputed when the cells changed
        CellTable,    // ROW records, cells, DBCELLs
        MergedCells,  // one record as read; all merges rewritten at the first when they changed
        ColInfo,      // likewise for column formats
    };
    Kind kind = Kind::Record;
    std::uint16_t type = 0;
    std::string body;
    std::size_t sheet = 0;  // BoundSheet: the substream it names
    bool nested = false;    // inside a chart embedded in a worksheet
};

struct SheetData {
    bool worksheet = false;
    std::string name;            // UTF-8
    std::size_t boundSheet = 0;  // its place among the BOUNDSHEET records
    std::vector<Item> items;
    CellTable cells;
    Columns columns;
    Merges merges;
    bool mergesChanged = false;
    bool cellLayoutReady = false;  // INDEX and DIMENSIONS present for rebuilt cells
    std::uint16_t defaultRowTwips = 255;
};

class WorkbookData {
public:
    OleFile container;
    std::vector<Item> globals;
    Styles styles;
    SharedStrings strings;
    std::uint32_t readStringTotal = 0;    // SST total count as read
    std::uint32_t readStringRefs = 0;     // text cells as read
    std::uint16_t readBucketSize = 0;     // EXTSST bucket size as read
    std::vector<SheetData> sheets;        // in stream order
    std::vector<std::size_t> worksheets;  // worksheets, in tab order

    // Parses a Workbook stream. Throws Error.
    static void read(WorkbookData& book, std::string_view stream);
    // The Workbook stream as it is now.
    std::string write() const;

    // The string's SST entry; makes the SST when the workbook has none.
    std::uint32_t addString(std::u16string_view text);
    // Places a record (or placeholder) of `type` where the order puts it.
    static Item& insertItem(std::vector<Item>& items, std::span<const std::uint16_t> order, Item item);
    static Item* findItem(std::vector<Item>& items, std::uint16_t type);
    // A record of the sheet or the globals: its body replaced, or the record inserted.
    static Item& setRecord(std::vector<Item>& items, std::span<const std::uint16_t> order, std::uint16_t type,
                           std::string body);
};

// Gives the worksheet the INDEX and DIMENSIONS its rebuilt cells need.
void prepareCellLayout(SheetData& sheet);

// The worksheet's cells are about to change: they will be rebuilt, with an INDEX and
// DIMENSIONS of their own. Inline: every cell a book writes passes here.
inline void prepareCellChanges(SheetData& sheet)
{
    if (!sheet.cellLayoutReady)
        prepareCellLayout(sheet);
    sheet.cells.markChanged();
}

}  // namespace levara::xls
