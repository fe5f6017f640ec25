#pragma once
// books: what Levara writes into a workbook. The leveling field books and the point
// tables fill an engine worksheet from a text's lines; the export frame
// (books/pipeline) runs them on a copy of their template from the temp folder and
// saves the result as the user's file. The checks (books/checks) hold the stations the
// books read to a standard's limits, for a list and for the books' marks. The
// adjustment (books/adjustment) chains the sections into a route, distributes its
// misclosure for the 高差配赋表 and writes them for adjustment software.
#include "books/adjustment/adjustment_table.h"
#include "books/adjustment/exchange_files.h"
#include "books/adjustment/known_points.h"
#include "books/adjustment/precision_table.h"
#include "books/adjustment/route.h"
#include "books/checks/checks.h"
#include "books/checks/legs.h"
#include "books/checks/limits.h"
#include "books/checks/precision.h"
#include "books/checks/sections.h"
#include "books/fieldbook/fieldbook.h"
#include "books/pipeline/export.h"
#include "books/tables/tables.h"
