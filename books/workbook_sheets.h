#pragma once
// The worksheets of the open working workbook (xlBook's Worksheets), as the outputs see them.
#include <cstddef>

#include "books/sheet_cells.h"

namespace levara::books {

class WorkbookSheets {
public:
    virtual ~WorkbookSheets() = default;
    virtual std::size_t count() const = 0;
    // Worksheets item `item`, counted from 1 as the workbook shows them.
    // Throws levara::Error when the workbook has no such worksheet.
    virtual Sheet& item(std::size_t item) = 0;
};

}  // namespace levara::books
