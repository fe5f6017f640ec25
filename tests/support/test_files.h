#pragma once
// Files and programs for tests: a scratch folder, the fixture workbooks, child processes.
#include <filesystem>
#include <string>
#include <vector>

namespace levara::testing {

// A new empty folder, removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A program folder as Levara expects it: a temp folder holding the built templates.
// Returns the program folder.
std::filesystem::path makeProgramDir(const ScratchDir& scratch);

std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);

// Workbooks saved by Excel, from xlrd's test data (tests/fixtures/excel-saved).
std::filesystem::path excelSavedDir();
// Workbooks saved by LibreOffice ("*_lo.xls") and Gnumeric ("*_gnm.xls"), made for
// this test run by the app_saved_workbooks test (tests/fixtures/make_app_saved.sh).
std::filesystem::path appSavedDir();

// Runs argv (no shell), returns the exit code and fills output with stdout and stderr.
// environment ("NAME=value" each) replaces this process's when given.
int runProgram(const std::vector<std::string>& argv, std::string* output = nullptr, const std::string& input = {},
               const std::vector<std::string>* environment = nullptr);

// This process's environment without its locale variables (LANG, LANGUAGE, LC_*),
// and with `settings` ("NAME=value" each): a program's language chosen by the test.
std::vector<std::string> environmentWithLocale(const std::vector<std::string>& settings);

// The built programs and templates.
std::filesystem::path binaryDir();
std::filesystem::path sourceDir();

}  // namespace levara::testing
