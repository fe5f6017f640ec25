#include "tests/support/workbook_files.h"

#include "records/records.h"
#include "tests/support/test_files.h"

namespace levara::testing {

xls::Workbook openWorkbook(const std::filesystem::path& file)
{
    try {
        return xls::Workbook::fromBytes(readFile(file));
    } catch (const xls::Error& error) {
        throw xls::Error(error.kind(), error.detail(), file.string() + ": " + error.what());
    }
}

xls::Workbook templateWorkbook(const std::string& name) { return openWorkbook(binaryDir() / "temp" / name); }

void saveWorkbook(const xls::Workbook& book, const std::filesystem::path& file) { replaceFile(file, book.toBytes()); }

}  // namespace levara::testing
