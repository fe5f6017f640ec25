#pragma once
// Workbooks read from and saved to files, for tests; the engine itself works on bytes.
#include <filesystem>

#include "xls/xls.h"

namespace levara::testing {

xls::Workbook openWorkbook(const std::filesystem::path& file);
// Replaces the file whole, as Levara saves every workbook.
void saveWorkbook(const xls::Workbook& book, const std::filesystem::path& file);

}  // namespace levara::testing
