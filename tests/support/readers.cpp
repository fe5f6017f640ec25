#include "readers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "test_files.h"

namespace levara::testing {

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The rows of a CSV text: a quoted field may hold line breaks, kept as \n.
std::vector<std::string> csvRows(const std::string& text)
{
    std::vector<std::string> rows;
    bool quoted = false;
    for (const std::string& line : splitLines(text)) {
        if (quoted)
            rows.back() += "\n" + line;
        else
            rows.push_back(line);
        if (std::count(line.begin(), line.end(), '"') % 2 != 0)
            quoted = !quoted;
    }
    return rows;
}

}  // namespace

std::vector<std::string> xlrdSheetText(const std::filesystem::path& file, int sheetIndex, int firstRow, int lastColumn)
{
    std::string output;
    const int status =
        runProgram({"/usr/bin/python3", (sourceDir() / "tests/support/xlrd_sheet_text.py").string(), file.string(),
                    std::to_string(sheetIndex), std::to_string(firstRow), std::to_string(lastColumn)},
                   &output);
    if (status != 0)
        ADD_FAILURE() << "xlrd could not read " << file << ":\n" << output;
    return splitLines(output);
}

std::vector<std::vector<CsvSheet>> libreOfficeCsv(const std::vector<std::filesystem::path>& files, bool asShown)
{
    ScratchDir scratch;
    // A private profile: otherwise the conversion may be handed to a running instance.
    std::vector<std::string> argv = {"soffice",
                                     "-env:UserInstallation=file://" + (scratch / "profile").string(),
                                     "--headless",
                                     "--norestore",
                                     "--convert-to",
                                     std::string("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,") +
                                         (asShown ? "true" : "false") + ",false,false,-1",
                                     "--outdir",
                                     (scratch / "out").string()};
    for (const auto& file : files)
        argv.push_back(file.string());
    std::string output;
    if (runProgram(argv, &output) != 0)
        ADD_FAILURE() << "LibreOffice failed:\n" << output;

    // LibreOffice reports each worksheet it writes, in worksheet order:
    //   convert /path/a.xls using filter : ...
    //   Writing sheet NAME -> /out/a-NAME.csv
    std::vector<std::vector<CsvSheet>> result(files.size());
    int current = -1;
    for (const std::string& line : splitLines(output)) {
        if (line.rfind("convert ", 0) == 0) {
            for (std::size_t i = 0; i < files.size(); ++i)
                if (line.find(files[i].string() + " ") != std::string::npos)
                    current = int(i);
        } else if (line.rfind("Writing sheet ", 0) == 0 && current >= 0) {
            const std::size_t arrow = line.find(" -> ");
            if (arrow != std::string::npos)
                result[std::size_t(current)].push_back(csvRows(readBytes(line.substr(arrow + 4))));
        }
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        if (result[i].empty())
            ADD_FAILURE() << "LibreOffice wrote no CSV for " << files[i] << ":\n" << output;
    return result;
}

}  // namespace levara::testing
