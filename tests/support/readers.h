#pragma once
// Independent readers of .xls files: python3-xlrd and LibreOffice headless.
#include <filesystem>
#include <string>
#include <vector>

namespace levara::testing {

// The worksheet (from 0) as xlrd reads it, in the form of sheetText().
std::vector<std::string> xlrdSheetText(const std::filesystem::path& file, int sheetIndex, int firstRow = 1,
                                       int lastColumn = 10);

// Every worksheet of each file converted to CSV by LibreOffice in one run:
// result[file][sheet][row] is a row of comma-separated fields. asShown gives the
// texts as the cells' number formats show them, otherwise the raw values.
using CsvSheet = std::vector<std::string>;
std::vector<std::vector<CsvSheet>> libreOfficeCsv(const std::vector<std::filesystem::path>& files, bool asShown = true);

}  // namespace levara::testing
