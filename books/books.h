#pragma once
// books: the workbook export pipeline, the field books and the point tables.
#include "books/fieldbook/fieldbook.h"
#include "books/pipeline/export.h"
#include "books/sheet_cells.h"
#include "books/tables/tables.h"
