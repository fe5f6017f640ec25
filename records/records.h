#pragma once
// records: what Levara knows of text and files, the layer under the books; it needs
// nothing of the workbook engine. The raw file's lines and the measurement line's
// character windows, the three filters of a text, the number rules of
// typed input, Leica GSI files converted to raw lines, GB18030 text files, the temp
// folder and its work files, reading and replacing a file whole, and the errors and
// messages every layer above reports.
#include "records/csv_field.h"
#include "records/error.h"
#include "records/filters.h"
#include "records/gsi_conversion.h"
#include "records/leading_number.h"
#include "records/line_number.h"
#include "records/line_origins.h"
#include "records/measurement_line.h"
#include "records/message.h"
#include "records/number_format.h"
#include "records/opened_text.h"
#include "records/read_file.h"
#include "records/replace_file.h"
#include "records/temporaries.h"
#include "records/text_codec.h"
#include "records/text_file.h"
#include "records/text_lines.h"
#include "records/typed_number.h"
#include "records/work_folder_paths.h"
