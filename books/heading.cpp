#include "books/heading.h"

#include <string>

namespace levara::books {

namespace {

// The value of a "Label: value" text record, when the record has that label.
std::string_view labelled(std::string_view text, std::string_view label)
{
    return text.starts_with(label) ? stripBlanks(text.substr(label.size())) : std::string_view();
}

// A text record the heading's other fields or the line's structure use.
bool isStructureRecord(const MeasurementLine& line)
{
    const std::string_view text = stripBlanks(line.text());
    return line.startTag() == "Start-Line" || text.starts_with("End-Line") || text.starts_with("Cont-Line") ||
           text.starts_with("Date:") || text.starts_with("Instr:");
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "hh:mm:ss" where a reading row of a DiNi M5 file keeps its time (the level writes a
// tenth of a second after it, left out here).
std::string_view readingTime(const MeasurementLine& line)
{
    const std::string_view time = line.time();
    if (time.size() != 8 || time[2] != ':' || time[5] != ':')
        return {};
    for (const std::size_t i : {0, 1, 3, 4, 6, 7})
        if (!isDigit(time[i]))
            return {};
    return time;
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

// "测自A至B", "08:05:31 — 09:12:40".
std::string span(std::string_view before, std::string_view first, std::string_view joint, std::string_view last)
{
    if (first.empty() && last.empty())
        return {};
    return std::string(before).append(first).append(joint).append(last);
}

}  // namespace

Heading readHeading(const TextLines& lines)
{
    Heading heading;
    bool textRecordSeen = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // Most lines are measurements: passed over before they are cut into fields.
        if (lines[i].find("|TO") == std::string_view::npos)
            continue;
        const MeasurementLine line(lines[i]);
        if (!line.isTextRecord())
            continue;
        const std::string_view text = stripBlanks(line.text());
        if (!textRecordSeen && !isStructureRecord(line)) {
            const std::string_view project = labelled(text, "Proj:");
            heading.project = project.empty() ? text : project;
        }
        textRecordSeen = true;
        if (line.startTag() == "Start-Line" && heading.method.empty() && heading.lineNumber.empty()) {
            heading.lineNumber = stripBlanks(line.lineNumber());
            heading.method = stripBlanks(line.observationMethod());
        }
        if (heading.date.empty())
            heading.date = labelled(text, "Date:");
        if (heading.instrument.empty())
            heading.instrument = labelled(text, "Instr:");
    }
    // The first reading from the start, the last reading and the last fore reading
    // from the end: a few lines cut, however long the text.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const MeasurementLine line(lines[i]);
        if (!line.isTextRecord() && line.readingTagLetter() == "R") {
            heading.firstPoint = stripBlanks(line.pointNumber());
            heading.startTime = readingTime(line);
            break;
        }
    }
    bool lastReadingSeen = false;
    for (std::size_t i = lines.size(); i-- > 0 && heading.lastPoint.empty();) {
        const MeasurementLine line(lines[i]);
        if (line.isTextRecord() || line.readingTagLetter() != "R")
            continue;
        if (!lastReadingSeen)
            heading.endTime = readingTime(line);
        lastReadingSeen = true;
        if (line.readingTag() == "Rf")
            heading.lastPoint = stripBlanks(line.pointNumber());
    }
    return heading;
}

Heading completedBy(Heading heading, const Heading& fallback)
{
    for (auto field : {&Heading::project, &Heading::lineNumber, &Heading::method, &Heading::date, &Heading::instrument,
                       &Heading::firstPoint, &Heading::lastPoint, &Heading::startTime, &Heading::endTime})
        if ((heading.*field).empty())
            heading.*field = fallback.*field;
    return heading;
}

void writeHeading(xls::Worksheet& sheet, const Heading& heading, const leveling::Standard* standard)
{
    writeField(sheet, "工程名称", heading.project);
    writeField(sheet, "线路名称", heading.lineNumber);
    writeField(sheet, "观测顺序", heading.method);
    writeField(sheet, "日期", heading.date);
    writeField(sheet, "仪器", heading.instrument);
    writeField(sheet, "测段", span("测自", heading.firstPoint, "至", heading.lastPoint));
    writeField(sheet, "时间", span("", heading.startTime, " — ", heading.endTime));
    std::string held = "未检核";
    if (standard)
        held = standard->limits.name + (standard->mountain ? "（山区）" : "");
    writeField(sheet, "检核标准", held);
}

}  // namespace levara::books
