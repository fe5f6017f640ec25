#pragma once
// records: text files and the work folder, the measurement line and its windows,
// number texts, and the three filters.
#include "records/error.h"
#include "records/filters.h"
#include "records/measurement_line.h"
#include "records/number_text.h"
#include "records/temp_folder.h"
#include "records/text_codec.h"
#include "records/text_file.h"
