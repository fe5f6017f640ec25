#pragma once
// books: what Levara writes into a workbook. The leveling field books, the point
// tables, the 高差配赋表 and the 平差成果表 fill an engine worksheet from a text's lines or from what
// leveling/ computed of them; the export frame (books/pipeline) runs them on a copy
// of their template from the temp folder and saves the result as the user's file.
#include "books/fieldbook/fieldbook.h"
#include "books/pipeline/export.h"
#include "books/tables/adjustment_table.h"
#include "books/tables/network_table.h"
#include "books/tables/precision_table.h"
#include "books/tables/tables.h"
