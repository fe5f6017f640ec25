// make_template SOURCE.tpl OUTPUT.xls: builds one workbook template from its
// readable source (see template_source.h) with Levara's own workbook engine.
#include <cstdio>
#include <exception>
#include <map>

#include "records/records.h"
#include "templates/generator/template_source.h"
#include "xls/xls.h"

namespace levara::templates {
namespace {

// Cell formats are added on first use, so unused styles leave no trace in the file
// and the same source always gives the same bytes.
class Styles {
public:
    Styles(const TemplateSource& source, xls::Workbook& book) : source_(source), book_(book) {}

    xls::StyleId operator()(const std::string& name)
    {
        auto found = ids_.find(name);
        if (found == ids_.end())
            found = ids_.emplace(name, book_.addStyle(source_.styles.at(name))).first;
        return found->second;
    }

private:
    const TemplateSource& source_;
    xls::Workbook& book_;
    std::map<std::string, xls::StyleId> ids_;
};

void buildSheet(const SheetSource& source, xls::Worksheet& sheet, Styles& styles)
{
    sheet.setPageSetup(source.page);
    if (source.frozenRows > 0)
        sheet.freezeRows(source.frozenRows);
    for (const ColumnFormat& column : source.columns) {
        std::optional<xls::StyleId> style;
        if (column.style)
            style = styles(*column.style);
        sheet.setColumns(column.first, column.last, column.width, style);
    }
    for (const RowHeight& rows : source.rows)
        for (int row = rows.first; row <= rows.last; ++row)
            sheet.setRowHeight(row, rows.points);
    for (const CellEntry& cell : source.cells) {
        const xls::Range& r = cell.range;
        const xls::StyleId style = styles(cell.style);
        // Every cell of a merged block carries the style, so its borders draw whole.
        for (int row = r.firstRow; row <= r.lastRow; ++row)
            for (int column = r.firstColumn; column <= r.lastColumn; ++column)
                sheet.setStyle(row, column, style);
        sheet.merge(r);
        if (cell.text)
            sheet.setText(r.firstRow, r.firstColumn, *cell.text);
    }
    for (const NameEntry& name : source.names) {
        if (name.range)
            sheet.defineName(name.name, *name.range);
        else
            sheet.defineName(name.name, name.number);
    }
}

xls::Workbook buildWorkbook(const TemplateSource& source)
{
    std::vector<std::string> names;
    for (const SheetSource& sheet : source.sheets)
        names.push_back(sheet.name);
    xls::Workbook book = xls::Workbook::create(names);
    Styles styles(source, book);
    for (std::size_t i = 0; i < source.sheets.size(); ++i)
        buildSheet(source.sheets[i], book.sheet(i), styles);
    return book;
}

}  // namespace
}  // namespace levara::templates

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_template SOURCE.tpl OUTPUT.xls\n");
        return 2;
    }
    try {
        const auto source = levara::templates::parseTemplateFile(argv[1]);
        levara::replaceFile(argv[2], levara::templates::buildWorkbook(source).toBytes());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_template: %s\n", error.what());
        return 1;
    }
    return 0;
}
