#include "tests/support/workbook_files.h"

#include "records/records.h"

namespace levara::testing {

xls::Workbook openWorkbook(const std::filesystem::path& file)
{
    return xls::Workbook::fromBytes(readFile(file), file.string());
}

void saveWorkbook(const xls::Workbook& book, const std::filesystem::path& file)
{
    replaceFile(file, book.toBytes());
}

}  // namespace levara::testing
