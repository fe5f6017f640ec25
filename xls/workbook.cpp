// Reading, writing and the sheets of a workbook.
#include "xls/workbook_data.h"

namespace levara::xls {

Workbook::Workbook(std::unique_ptr<WorkbookData> data) : data_(std::move(data))
{
    for (std::size_t i = 0; i < data_->worksheets.size(); ++i)
        sheets_.push_back(Worksheet(data_.get(), i));
}

Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::fromBytes(std::string_view oleFile)
{
    auto data = std::make_unique<WorkbookData>();
    std::string stream;
    data->container = readOle(oleFile, stream);
    WorkbookData::read(*data, stream);
    return Workbook(std::move(data));
}

Workbook Workbook::fromWorkbookStream(std::string_view stream)
{
    auto data = std::make_unique<WorkbookData>();
    data->container = newExcelOle();
    WorkbookData::read(*data, stream);
    return Workbook(std::move(data));
}

std::string Workbook::toBytes() const& { return writeOle(data_->container, workbookStream()); }

std::string Workbook::toBytes() &&
{
    std::string stream = workbookStream();
    OleFile container = std::move(data_->container);
    data_.reset();
    sheets_.clear();
    return writeOle(container, std::move(stream));
}

std::string Workbook::workbookStream() const { return data_->write(); }

std::size_t Workbook::sheetCount() const { return sheets_.size(); }

Worksheet& Workbook::sheet(std::size_t index)
{
    if (index >= sheets_.size())
        throw Error(Error::Kind::BadRequest, std::to_string(index + 1),
                    "the workbook has no worksheet " + std::to_string(index + 1));
    return sheets_[index];
}

const Worksheet& Workbook::sheet(std::size_t index) const
{
    if (index >= sheets_.size())
        throw Error(Error::Kind::BadRequest, std::to_string(index + 1),
                    "the workbook has no worksheet " + std::to_string(index + 1));
    return sheets_[index];
}

StyleId Workbook::addStyle(const CellStyle& style) { return data_->styles.addStyle(style); }

}  // namespace levara::xls
