#pragma once
// Every workbook Levara saves, and all that is known of each: the one table the
// window's menu, levara-cli, the export, the commands and the fuzzers read.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "books/fieldbook/marks.h"
#include "leveling/leveling.h"
#include "records/records.h"
#include "xls/xls.h"

namespace levara::books {

enum class WorkbookKind {
    BffbBook,
    BbffBook,
    BfbfBook,
    BfBook,
    AbffbBook,
    AbffbTwoWayBook,
    IntermediateTable,
    SinglePointTable,
    AdjustmentTable,
};

// Fills the workbook's first sheets (the two-way book: two) from the text's lines;
// marks and adjustment as exportWorkbook takes them.
using SheetFiller = void (*)(xls::Workbook& book, const TextLines& lines, const BookMarks* marks,
                             const leveling::Adjustment* adjustment);

struct WorkbookKindInfo {
    WorkbookKind kind;
    std::string_view cliName;    // levara-cli --save NAME
    const char* caption;         // the menu item's, and levara-cli's help
    const char* objectName;      // the menu item's, as it has always been
    std::string_view template_;  // in the temp folder
    std::size_t sheets;          // filled, each with the heading
    RecordFilter filter;         // the filter whose lines it is made from
    // A field book's order, its stations held to a standard for the marks; none for a table.
    std::optional<leveling::ObservationOrder> order;
    bool twoWay;        // a forward and a return book, the return read last line first
    bool knownHeights;  // a known-points file and the distribution apply
    SheetFiller fill;
};

// In levara-cli's order.
extern const std::array<WorkbookKindInfo, 9> kWorkbookKinds;

const WorkbookKindInfo& workbookKind(WorkbookKind kind);
// "exc.xls", "exc2.xls", ...
std::string_view templateName(WorkbookKind kind);

}  // namespace levara::books
