#pragma once
// Workbooks read from and saved to files, for tests; the engine itself works on bytes.
#include <filesystem>
#include <string>

#include "xls/xls.h"

namespace levara::testing {

xls::Workbook openWorkbook(const std::filesystem::path& file);
// A built template ("exc.xls" ...), as the outputs fill it.
xls::Workbook templateWorkbook(const std::string& name);
// Replaces the file whole, as Levara saves every workbook.
void saveWorkbook(const xls::Workbook& book, const std::filesystem::path& file);

}  // namespace levara::testing
