#include "tests/support/printed_pdf.h"

#include <sstream>
#include <stdexcept>

#include "tests/support/test_files.h"

namespace levara::testing {

std::vector<std::filesystem::path> printToPdf(const std::filesystem::path& scratch,
                                              const std::vector<std::filesystem::path>& workbooks)
{
    std::vector<std::string> argv = {"soffice",      "-env:UserInstallation=file://" + (scratch / "profile").string(),
                                     "--headless",   "--norestore",
                                     "--convert-to", "pdf",
                                     "--outdir",     (scratch / "pdf").string()};
    std::vector<std::filesystem::path> pdfs;
    for (const std::filesystem::path& workbook : workbooks) {
        argv.push_back(workbook.string());
        pdfs.push_back(scratch / "pdf" / workbook.filename().replace_extension(".pdf"));
    }
    std::string output;
    if (runProgram(argv, &output) != 0)
        throw std::runtime_error("LibreOffice could not convert the workbooks: " + output);
    return pdfs;
}

std::vector<std::string> printedPages(const std::filesystem::path& pdf)
{
    std::string output;
    if (runProgram({"pdftotext", "-layout", pdf.string(), "-"}, &output) != 0)
        throw std::runtime_error("pdftotext could not read " + pdf.string() + ": " + output);
    std::vector<std::string> pages;
    std::istringstream in(output);
    for (std::string page; std::getline(in, page, '\f');)
        if (page.find_first_not_of(" \n") != std::string::npos)
            pages.push_back(page);
    return pages;
}

std::vector<std::string> linesOf(const std::string& page)
{
    std::vector<std::string> lines;
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

}  // namespace levara::testing
