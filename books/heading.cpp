#include "books/heading.h"

#include <string>

namespace levara::books {

namespace {

std::string_view trimmed(std::string_view text)
{
    text = stripLeadingBlanks(text);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// The value of a "Label: value" text record, when the record has that label.
std::string_view labelled(std::string_view text, std::string_view label)
{
    return text.starts_with(label) ? trimmed(text.substr(label.size())) : std::string_view();
}

void writeField(xls::Worksheet& sheet, std::string_view name, std::string_view value)
{
    if (value.empty())
        return;
    const auto cell = sheet.namedRange(name);
    if (!cell)
        return;
    const xls::Value held = sheet.value(cell->firstRow, cell->firstColumn);
    std::string text;
    if (const std::string* label = std::get_if<std::string>(&held)) {
        // The label ends at its first colon, full-width or not.
        constexpr std::string_view kWideColon = "：";
        const std::size_t wide = label->find(kWideColon), narrow = label->find(':');
        if (wide != std::string::npos && (narrow == std::string::npos || wide < narrow))
            text = label->substr(0, wide + kWideColon.size());
        else if (narrow != std::string::npos)
            text = label->substr(0, narrow + 1);
    }
    sheet.setText(cell->firstRow, cell->firstColumn, text.append(value));
}

}  // namespace

void writeHeading(xls::Worksheet& sheet, const TextLines& lines)
{
    std::string_view lineNumber, method, date, instrument;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Most lines are measurements: passed over before they are cut into fields.
        if (lines[i].find("|TO") == std::string_view::npos)
            continue;
        const MeasurementLine line(lines[i]);
        if (!line.isTextRecord())
            continue;
        if (line.startTag() == "Start-Line" && method.empty() && lineNumber.empty()) {
            lineNumber = line.lineNumber();
            method = line.observationMethod();
        }
        if (date.empty())
            date = labelled(line.text(), "Date:");
        if (instrument.empty())
            instrument = labelled(line.text(), "Instr:");
    }
    writeField(sheet, "线路名称", trimmed(lineNumber));
    writeField(sheet, "观测顺序", trimmed(method));
    writeField(sheet, "日期", date);
    writeField(sheet, "仪器", instrument);
}

}  // namespace levara::books
