#pragma once
// Workbooks as a checker reads them on paper: turned into PDF by LibreOffice in one run
// and read back as pdftotext lays out the pages.
#include <filesystem>
#include <string>
#include <vector>

namespace levara::testing {

// Converts the workbooks to PDF in one LibreOffice run (its profile in
// scratch/profile) and gives each one's PDF (in scratch/pdf), in their order. Throws
// std::runtime_error with LibreOffice's output when it fails.
std::vector<std::filesystem::path> printToPdf(const std::filesystem::path& scratch,
                                              const std::vector<std::filesystem::path>& workbooks);

// The text of each page that prints anything, as pdftotext -layout lays it out.
// Throws std::runtime_error when pdftotext fails.
std::vector<std::string> printedPages(const std::filesystem::path& pdf);

// The lines of a page.
std::vector<std::string> linesOf(const std::string& page);

// The words of a printed line, split at blanks.
std::vector<std::string> words(const std::string& line);

}  // namespace levara::testing
