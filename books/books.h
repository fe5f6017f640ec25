#pragma once
// books: what Levara writes into a workbook. The leveling field books and the point
// tables fill an engine worksheet from a text's lines; the export frame
// (books/pipeline) runs them on a copy of their template from the temp folder and
// saves the result as the user's file. The checks (books/checks) hold the stations the
// books read to a standard's limits, for a list and for the books' marks.
#include "books/checks/checks.h"
#include "books/checks/limits.h"
#include "books/checks/sections.h"
#include "books/fieldbook/fieldbook.h"
#include "books/pipeline/export.h"
#include "books/tables/tables.h"
