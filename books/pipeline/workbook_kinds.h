#pragma once
// Every workbook Levara saves, and all that is known of each: the one table the
// window's menu, levara-cli, the export, the commands and the fuzzers read.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "books/fieldbook/marks.h"
#include "books/tables/network_table.h"
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
    NetworkTable,
};

// Fills the workbook's first sheets (the two-way book: two) from the text's lines;
// marks, adjustment and network as exportWorkbook takes them. A field book takes its
// sections as read already (read, as writeLineBook takes them), or reads them.
using SheetFiller = void (*)(xls::Workbook& book, const TextLines& lines, const std::vector<leveling::Section>* read,
                             const BookMarks* marks, const leveling::Adjustment* adjustment,
                             const NetworkReport* network);

struct WorkbookKindInfo {
    WorkbookKind kind;
    std::string_view cliName;    // levara-cli --save NAME
    const char* caption;         // the menu item's, and levara-cli's help
    const char* objectName;      // the menu item's, as it has always been
    const char* fileTag;         // the save dialog's proposed name: "<raw file>_<tag>.xls"
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
extern const std::array<WorkbookKindInfo, 10> kWorkbookKinds;

const WorkbookKindInfo& workbookKind(WorkbookKind kind);
// "exc.xls", "exc2.xls", ...
std::string_view templateName(WorkbookKind kind);

// The field books of the orders (leveling::ordersFitting), in levara-cli's order.
// The two-way book only where aBFFB fits and BFFB does not: a text of back-first
// stations alone would leave its return book empty.
std::vector<WorkbookKind> fieldBooksOf(const std::vector<leveling::ObservationOrder>& orders);

}  // namespace levara::books
