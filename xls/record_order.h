#pragma once
// The order of records in the workbook globals and in a worksheet, written down once:
// a new workbook is made in this order, and a record a template lacks is inserted
// where this order puts it among the records the template has.
#include <cstdint>
#include <span>

namespace levara::xls {

// Stands for the cell table (ROW, cells, DBCELL) in the worksheet order.
inline constexpr std::uint16_t kCellTableSlot = 0xFFFF;

std::span<const std::uint16_t> globalsOrder();
std::span<const std::uint16_t> worksheetOrder();

// The place of a record type in the order, or -1 when it has none.
int rankIn(std::span<const std::uint16_t> order, std::uint16_t type);

}  // namespace levara::xls
