#include "templates/generator/template_source.h"

#include <charconv>
#include <set>
#include <sstream>

namespace levara::templates {

namespace {

struct Token {
    std::string key;  // before "=", empty for a bare word or text
    std::string value;
    bool quoted = false;  // the value was written in quotes
};

// Where a statement came from, for messages.
struct Place {
    std::filesystem::path file;
    int line = 0;
};

[[noreturn]] void fail(const Place& place, const std::string& message)
{
    throw SourceError(place.file.string() + ":" + std::to_string(place.line) + ": " + message);
}

std::vector<Token> tokenize(const std::string& line, const Place& place)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    const auto blank = [&](std::size_t at) { return line[at] == ' ' || line[at] == '\t' || line[at] == '\r'; };
    while (true) {
        while (i < line.size() && blank(i))
            ++i;
        if (i == line.size() || line[i] == '#')
            return tokens;
        Token token;
        bool sawEquals = false;
        while (i < line.size() && !blank(i)) {
            const char c = line[i];
            if (c == '"') {
                if (token.quoted || !token.value.empty())
                    fail(place, "a text must stand alone or right after \"=\"");
                token.quoted = true;
                for (++i;; ++i) {
                    if (i == line.size())
                        fail(place, "text without its closing quote");
                    if (line[i] == '"')
                        break;
                    if (line[i] == '\\') {
                        if (++i == line.size())
                            fail(place, "text without its closing quote");
                        switch (line[i]) {
                        case 'n': token.value += '\n'; break;
                        case '"': token.value += '"'; break;
                        case '\\': token.value += '\\'; break;
                        default: fail(place, std::string("unknown escape \\") + line[i]);
                        }
                    } else {
                        token.value += line[i];
                    }
                }
                ++i;
            } else if (c == '=' && !sawEquals && !token.quoted) {
                if (token.value.empty())
                    fail(place, "\"=\" without a name before it");
                sawEquals = true;
                token.key = std::move(token.value);
                token.value.clear();
                ++i;
            } else {
                if (token.quoted)
                    fail(place, "text followed by more characters");
                token.value += c;
                ++i;
            }
        }
        if (sawEquals && token.value.empty() && !token.quoted)
            fail(place, "\"" + token.key + "=\" without a value");
        tokens.push_back(std::move(token));
    }
}

double number(const std::string& text, const Place& place, const std::string& what)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        fail(place, what + " must be a number, not \"" + text + "\"");
    return value;
}

int whole(const std::string& text, const Place& place, const std::string& what)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        fail(place, what + " must be a whole number, not \"" + text + "\"");
    return value;
}

int columnNumber(const std::string& letters, const Place& place)
{
    if (letters.empty() || letters.size() > 2)
        fail(place, "\"" + letters + "\" is not a column");
    int column = 0;
    for (char c : letters) {
        if (c < 'A' || c > 'Z')
            fail(place, "\"" + letters + "\" is not a column (capital letters A to IV)");
        column = column * 26 + (c - 'A' + 1);
    }
    if (column > xls::kMaxColumns)
        fail(place, "column " + letters + " is past the last column IV");
    return column;
}

void checkRow(int row, const Place& place)
{
    if (row < 1 || row > xls::kMaxRows)
        fail(place, "row " + std::to_string(row) + " is outside 1 to " + std::to_string(xls::kMaxRows));
}

// "A1"
std::pair<int, int> cellReference(const std::string& text, const Place& place)
{
    std::size_t digits = 0;
    while (digits < text.size() && !(text[digits] >= '0' && text[digits] <= '9'))
        ++digits;
    if (digits == 0 || digits == text.size())
        fail(place, "\"" + text + "\" is not a cell such as A1");
    const int column = columnNumber(text.substr(0, digits), place);
    const int row = whole(text.substr(digits), place, "the row of " + text);
    checkRow(row, place);
    return {row, column};
}

// "A1" or "A1:C2"
xls::Range cellRange(const std::string& text, const Place& place)
{
    const std::size_t colon = text.find(':');
    const auto [firstRow, firstColumn] = cellReference(text.substr(0, colon), place);
    xls::Range range{firstRow, firstColumn, firstRow, firstColumn};
    if (colon != std::string::npos)
        std::tie(range.lastRow, range.lastColumn) = cellReference(text.substr(colon + 1), place);
    if (range.lastRow < range.firstRow || range.lastColumn < range.firstColumn)
        fail(place, "the range " + text + " must run from its top left to its bottom right cell");
    return range;
}

// "A" or "A-C"; "4" or "4-5" when numbers is true.
std::pair<int, int> span(const std::string& text, bool numbers, const Place& place)
{
    const std::size_t dash = text.find('-');
    const auto one = [&](const std::string& part) {
        if (!numbers)
            return columnNumber(part, place);
        const int row = whole(part, place, "a row");
        checkRow(row, place);
        return row;
    };
    const int first = one(text.substr(0, dash));
    const int last = dash == std::string::npos ? first : one(text.substr(dash + 1));
    if (last < first)
        fail(place, "\"" + text + "\" runs backwards");
    return {first, last};
}

bool flag(const Token& token, const Place& place)
{
    if (token.key.empty())
        return true;
    if (token.value == "yes")
        return true;
    if (token.value == "no")
        return false;
    fail(place, token.key + " must be yes or no, not \"" + token.value + "\"");
}

void needValue(const Token& token, const Place& place)
{
    if (token.key.empty())
        fail(place, "\"" + token.value + "\" needs a value (" + token.value + "=...)");
}

class Parser {
public:
    TemplateSource result;

    void parseText(const std::string& text, const std::filesystem::path& file)
    {
        if (!including_.insert(std::filesystem::weakly_canonical(file)).second)
            throw SourceError(file.string() + ": includes itself");
        std::istringstream lines(text);
        Place place{file, 0};
        for (std::string line; std::getline(lines, line);) {
            ++place.line;
            if (place.line == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
                line.erase(0, 3);
            const std::vector<Token> tokens = tokenize(line, place);
            if (!tokens.empty())
                statement(tokens, place);
        }
        including_.erase(std::filesystem::weakly_canonical(file));
    }

private:
    void statement(const std::vector<Token>& tokens, const Place& place)
    {
        const Token& word = tokens.front();
        if (!word.key.empty() || word.quoted)
            fail(place, "a statement begins with its name (style, sheet, cell, ...)");
        const std::string& name = word.value;
        if (name == "include")
            include(tokens, place);
        else if (name == "style")
            style(tokens, place);
        else if (name == "sheet")
            sheet(tokens, place);
        else if (name == "page")
            page(tokens, place);
        else if (name == "freeze")
            freeze(tokens, place);
        else if (name == "columns")
            columns(tokens, place);
        else if (name == "rows")
            rows(tokens, place);
        else if (name == "cell")
            cell(tokens, place);
        else if (name == "name")
            definedName(tokens, place);
        else
            fail(place, "unknown statement \"" + name + "\"");
    }

    void include(const std::vector<Token>& tokens, const Place& place)
    {
        if (tokens.size() != 2 || !tokens[1].quoted)
            fail(place, "include takes one file name in quotes");
        const std::filesystem::path file = place.file.parent_path() / tokens[1].value;
        std::string text;
        try {
            text = readFile(file);
        } catch (const levara::FileError& error) {
            fail(place, error.what());
        }
        parseText(text, file);
    }

    void style(const std::vector<Token>& tokens, const Place& place)
    {
        if (tokens.size() < 2 || !tokens[1].key.empty() || tokens[1].quoted)
            fail(place, "style needs a name");
        const std::string& name = tokens[1].value;
        if (result.styles.count(name))
            fail(place, "style " + name + " is defined twice");
        xls::CellStyle style;
        std::size_t i = 2;
        if (i < tokens.size() && tokens[i].key.empty() && !tokens[i].quoted && tokens[i].value == "like") {
            if (i + 1 == tokens.size())
                fail(place, "like needs the name of a style");
            style = knownStyle(tokens[i + 1].value, place);
            i += 2;
        }
        for (; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            const std::string& setting = t.key.empty() ? t.value : t.key;
            if (setting == "font") {
                needValue(t, place);
                style.font.name = t.value;
            } else if (setting == "size") {
                needValue(t, place);
                style.font.points = number(t.value, place, "size");
                if (style.font.points < 1 || style.font.points > 409)
                    fail(place, "size must lie between 1 and 409 points");
            } else if (setting == "bold") {
                style.font.bold = flag(t, place);
            } else if (setting == "italic") {
                style.font.italic = flag(t, place);
            } else if (setting == "underline") {
                style.font.underline = flag(t, place);
            } else if (setting == "wrap") {
                style.wrap = flag(t, place);
            } else if (setting == "border") {
                style.thinBorders = flag(t, place);
            } else if (setting == "format") {
                needValue(t, place);
                style.numberFormat = t.value;
            } else if (setting == "align") {
                needValue(t, place);
                style.horizontal = horizontal(t.value, place);
            } else if (setting == "valign") {
                needValue(t, place);
                style.vertical = vertical(t.value, place);
            } else {
                fail(place, "unknown style setting \"" + setting + "\"");
            }
        }
        result.styles.emplace(name, style);
    }

    void sheet(const std::vector<Token>& tokens, const Place& place)
    {
        if (tokens.size() != 2 || !tokens[1].quoted || tokens[1].value.empty())
            fail(place, "sheet takes its name in quotes");
        // Excel refuses a workbook whose sheet names break its rules.
        const std::string& name = tokens[1].value;
        if (name.find_first_of("[]:*?/\\") != std::string::npos || name.front() == '\'' || name.back() == '\'')
            fail(place, "a sheet name may not hold [ ] : * ? / \\ nor begin or end with '");
        std::size_t units = 0;
        for (unsigned char c : name)
            units += (c & 0xC0) != 0x80 ? ((c & 0xF8) == 0xF0 ? 2 : 1) : 0;
        if (units > 31)
            fail(place, "a sheet name has at most 31 characters");
        for (const SheetSource& other : result.sheets)
            if (other.name == tokens[1].value)
                fail(place, "two sheets are named " + other.name);
        result.sheets.push_back(SheetSource{});
        result.sheets.back().name = tokens[1].value;
    }

    void page(const std::vector<Token>& tokens, const Place& place)
    {
        xls::PageSetup& setup = currentSheet(place).page;
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            needValue(t, place);
            if (t.key == "paper") {
                if (t.value == "a4")
                    setup.paperSize = 9;
                else if (t.value == "a3")
                    setup.paperSize = 8;
                else if (t.value == "letter")
                    setup.paperSize = 1;
                else
                    fail(place, "paper must be a4, a3 or letter");
            } else if (t.key == "orientation") {
                if (t.value != "portrait" && t.value != "landscape")
                    fail(place, "orientation must be portrait or landscape");
                setup.landscape = t.value == "landscape";
            } else if (t.key == "margins") {
                margins(t.value, setup, place);
            } else if (t.key == "fit") {
                if (t.value != "width")
                    fail(place, "fit can only be width");
                setup.fitToPageWidth = true;
            } else if (t.key == "scale") {
                setup.scale = whole(t.value, place, "scale");
                if (setup.scale < 10 || setup.scale > 400)
                    fail(place, "scale must lie between 10 and 400 percent");
            } else if (t.key == "center") {
                if (t.value != "horizontal")
                    fail(place, "center can only be horizontal");
                setup.centerHorizontally = true;
            } else if (t.key == "titles") {
                std::tie(setup.repeatFirstRow, setup.repeatLastRow) = span(t.value, true, place);
            } else if (t.key == "header") {
                setup.header = t.value;
            } else if (t.key == "footer") {
                setup.footer = t.value;
            } else {
                fail(place, "unknown page setting \"" + t.key + "\"");
            }
        }
        if (setup.fitToPageWidth && setup.scale != 100)
            fail(place, "a page is either scaled or fitted to its width, not both");
    }

    void freeze(const std::vector<Token>& tokens, const Place& place)
    {
        if (tokens.size() != 2 || !tokens[1].key.empty())
            fail(place, "freeze takes the number of rows to keep in view");
        const int rows = whole(tokens[1].value, place, "freeze");
        if (rows < 0 || rows >= xls::kMaxRows)
            fail(place, "freeze must keep between 0 and 65,535 rows in view");
        currentSheet(place).frozenRows = rows;
    }

    void columns(const std::vector<Token>& tokens, const Place& place)
    {
        SheetSource& sheet = currentSheet(place);
        if (tokens.size() < 3 || !tokens[1].key.empty())
            fail(place, "columns needs the columns (A or A-C) and a width");
        ColumnFormat format;
        std::tie(format.first, format.last) = span(tokens[1].value, false, place);
        bool hasWidth = false;
        for (std::size_t i = 2; i < tokens.size(); ++i) {
            const Token& t = tokens[i];
            needValue(t, place);
            if (t.key == "width") {
                format.width = number(t.value, place, "width");
                if (format.width <= 0 || format.width > 255)
                    fail(place, "width must lie between 0 and 255 characters");
                hasWidth = true;
            } else if (t.key == "style") {
                knownStyle(t.value, place);
                format.style = t.value;
            } else {
                fail(place, "unknown column setting \"" + t.key + "\"");
            }
        }
        if (!hasWidth)
            fail(place, "columns needs width=");
        sheet.columns.push_back(format);
    }

    void rows(const std::vector<Token>& tokens, const Place& place)
    {
        SheetSource& sheet = currentSheet(place);
        if (tokens.size() != 3 || !tokens[1].key.empty() || tokens[2].key != "height")
            fail(place, "rows takes the rows (4 or 4-5) and height=POINTS");
        RowHeight height;
        std::tie(height.first, height.last) = span(tokens[1].value, true, place);
        height.points = number(tokens[2].value, place, "height");
        if (height.points <= 0 || height.points > 409)
            fail(place, "height must lie between 0 and 409 points");
        sheet.rows.push_back(height);
    }

    void cell(const std::vector<Token>& tokens, const Place& place)
    {
        SheetSource& sheet = currentSheet(place);
        if (tokens.size() < 3 || tokens.size() > 4 || !tokens[1].key.empty() || !tokens[2].key.empty() ||
            tokens[2].quoted || (tokens.size() == 4 && !tokens[3].quoted))
            fail(place, "cell takes a cell or range, a style and optionally a text in quotes");
        CellEntry entry;
        entry.range = cellRange(tokens[1].value, place);
        knownStyle(tokens[2].value, place);
        entry.style = tokens[2].value;
        if (tokens.size() == 4) {
            if (tokens[3].value.size() > xls::kMaxTextLength)
                fail(place, "the text is too long for a cell");
            entry.text = tokens[3].value;
        }
        sheet.cells.push_back(std::move(entry));
    }

    void definedName(const std::vector<Token>& tokens, const Place& place)
    {
        SheetSource& sheet = currentSheet(place);
        if (tokens.size() != 3 || !tokens[1].quoted || tokens[1].value.empty() || !tokens[2].key.empty() ||
            tokens[2].quoted)
            fail(place, "name takes a name in quotes and a cell, a range or a number");
        NameEntry entry;
        entry.name = tokens[1].value;
        const std::string& target = tokens[2].value;
        if (!target.empty() && ((target[0] >= '0' && target[0] <= '9') || target[0] == '-' || target[0] == '.'))
            entry.number = number(target, place, "the name's value");
        else
            entry.range = cellRange(target, place);
        for (const NameEntry& other : sheet.names)
            if (other.name == entry.name)
                fail(place, "the sheet names " + entry.name + " twice");
        sheet.names.push_back(std::move(entry));
    }

    SheetSource& currentSheet(const Place& place)
    {
        if (result.sheets.empty())
            fail(place, "this belongs to a sheet: start one with sheet \"NAME\"");
        return result.sheets.back();
    }

    const xls::CellStyle& knownStyle(const std::string& name, const Place& place) const
    {
        const auto found = result.styles.find(name);
        if (found == result.styles.end())
            fail(place, "no style named " + name + " is defined above");
        return found->second;
    }

    static xls::HorizontalAlignment horizontal(const std::string& value, const Place& place)
    {
        if (value == "general")
            return xls::HorizontalAlignment::General;
        if (value == "left")
            return xls::HorizontalAlignment::Left;
        if (value == "center")
            return xls::HorizontalAlignment::Center;
        if (value == "right")
            return xls::HorizontalAlignment::Right;
        fail(place, "align must be general, left, center or right");
    }

    static xls::VerticalAlignment vertical(const std::string& value, const Place& place)
    {
        if (value == "top")
            return xls::VerticalAlignment::Top;
        if (value == "center")
            return xls::VerticalAlignment::Center;
        if (value == "bottom")
            return xls::VerticalAlignment::Bottom;
        fail(place, "valign must be top, center or bottom");
    }

    static void margins(const std::string& value, xls::PageSetup& setup, const Place& place)
    {
        std::vector<double> cm;
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = value.find(',', start);
            cm.push_back(number(value.substr(start, comma - start), place, "a margin"));
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        if (cm.size() != 4)
            fail(place, "margins are LEFT,RIGHT,TOP,BOTTOM in centimetres");
        for (double m : cm)
            if (m < 0 || m > 20)
                fail(place, "a margin must lie between 0 and 20 cm");
        // The workbook keeps margins in inches.
        setup.leftMargin = cm[0] / 2.54;
        setup.rightMargin = cm[1] / 2.54;
        setup.topMargin = cm[2] / 2.54;
        setup.bottomMargin = cm[3] / 2.54;
    }

    std::set<std::filesystem::path> including_;
};

}  // namespace

TemplateSource parseTemplate(const std::string& text, const std::filesystem::path& file)
{
    Parser parser;
    parser.parseText(text, file);
    if (parser.result.sheets.empty())
        throw SourceError(file.string() + ": defines no sheet");
    return std::move(parser.result);
}

TemplateSource parseTemplateFile(const std::filesystem::path& file) { return parseTemplate(readFile(file), file); }

}  // namespace levara::templates
