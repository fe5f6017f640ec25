#include "records/csv_field.h"

#include "records/message.h"

namespace levara {

std::string csvField(const std::string& text)
{
    std::string field = escapeControls(text);
    // A spreadsheet opening the file takes a field starting with one of these as a
    // formula; a leading apostrophe makes it text, as OWASP's "CSV Injection" page
    // advises (tab and CR are escaped above already).
    if (!field.empty() && (field[0] == '=' || field[0] == '+' || field[0] == '-' || field[0] == '@'))
        field = "'" + field;
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace levara
