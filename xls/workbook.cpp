// Opening, saving and the sheets of a workbook.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include "xls/workbook_data.h"

namespace levara::xls {

namespace {

[[noreturn]] void fileFailure(const std::filesystem::path& file, const std::string& action, int error)
{
    throw Error(file.string() + ": cannot " + action + ": " + std::strerror(error));
}

}  // namespace

Workbook::Workbook(std::unique_ptr<WorkbookData> data) : data_(std::move(data))
{
    for (std::size_t i = 0; i < data_->worksheets.size(); ++i)
        sheets_.push_back(Worksheet(data_.get(), i));
}

Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::open(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        fileFailure(file, "open it", errno);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        fileFailure(file, "read it", errno);
    return fromBytes(bytes.view(), file.string());
}

Workbook Workbook::fromBytes(std::string_view oleFile, const std::string& name)
{
    auto data = std::make_unique<WorkbookData>();
    data->name = name;
    try {
        std::string stream;
        data->container = readOle(oleFile, stream);
        WorkbookData::read(*data, stream);
    } catch (const Error& error) {
        throw Error(name + ": " + error.what());
    }
    return Workbook(std::move(data));
}

Workbook Workbook::fromWorkbookStream(std::string_view stream, const std::string& name)
{
    auto data = std::make_unique<WorkbookData>();
    data->name = name;
    data->container = newExcelOle();
    try {
        WorkbookData::read(*data, stream);
    } catch (const Error& error) {
        throw Error(name + ": " + error.what());
    }
    return Workbook(std::move(data));
}

void Workbook::save(const std::filesystem::path& file) const
{
    std::string bytes;
    try {
        bytes = toBytes();
    } catch (const LimitError& error) {
        throw LimitError(file.string() + ": " + error.what());
    } catch (const Error& error) {
        throw Error(file.string() + ": " + error.what());
    }
    // Written beside the destination and renamed over it: a failed save leaves the
    // old file whole.
    std::filesystem::path temporary = file;
    temporary += ".levara-" + std::to_string(::getpid()) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            fileFailure(file, "write it", errno);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            const int error = errno;
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            fileFailure(file, "write it", error);
        }
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, file, renamed);
    if (renamed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw Error(file.string() + ": cannot replace it: " + renamed.message());
    }
}

std::string Workbook::toBytes() const { return writeOle(data_->container, workbookStream()); }

std::string Workbook::workbookStream() const { return data_->write(); }

std::size_t Workbook::sheetCount() const { return sheets_.size(); }

Worksheet& Workbook::sheet(std::size_t index)
{
    if (index >= sheets_.size())
        throw Error(data_->name + ": has no worksheet " + std::to_string(index + 1));
    return sheets_[index];
}

const Worksheet& Workbook::sheet(std::size_t index) const
{
    if (index >= sheets_.size())
        throw Error(data_->name + ": has no worksheet " + std::to_string(index + 1));
    return sheets_[index];
}

StyleId Workbook::addStyle(const CellStyle& style) { return data_->styles.addStyle(style); }

}  // namespace levara::xls
