#include "books/sheet_cells.h"

#include "records/records.h"

namespace levara::books {

void enter(xls::Worksheet& sheet, int row, int column, std::string_view text)
{
    if (auto number = typedNumber(text))
        sheet.setNumber(row, column, *number);
    else
        sheet.setText(row, column, text);
}

void putComputed(xls::Worksheet& sheet, int row, int column, double value)
{
    sheet.setNumber(row, column, nineDecimals(value));
}

double numberAt(const xls::Worksheet& sheet, int row, int column)
{
    const xls::Value value = sheet.value(row, column);
    if (const double* number = std::get_if<double>(&value))
        return *number;
    if (const std::string* text = std::get_if<std::string>(&value))
        return leadingNumber(*text);
    return 0;
}

bool isEmpty(const xls::Value& value)
{
    if (std::holds_alternative<std::monostate>(value))
        return true;
    const std::string* text = std::get_if<std::string>(&value);
    return text && text->empty();
}

}  // namespace levara::books
