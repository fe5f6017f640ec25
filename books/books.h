#pragma once
// books: what Levara writes into a workbook. The leveling field books and the point
// tables fill an engine worksheet from a text's lines; the export frame
// (books/pipeline) runs them on a copy of their template from the temp folder and
// saves the result as the user's file.
#include "books/fieldbook/fieldbook.h"
#include "books/pipeline/export.h"
#include "books/tables/tables.h"
