#pragma once
// Helpers for the workbook engine's tests: fixtures, the records of a Workbook
// stream, and xlrd.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "xls/workbook_data.h"
#include "xls/xls.h"

namespace levara::xls {

// The engine's data behind a Workbook, for tests that look at what it holds.
struct WorkbookInternals {
    static WorkbookData& data(Workbook& book) { return *book.data_; }
};

}  // namespace levara::xls

namespace levara::xls::testing {

using levara::testing::openWorkbook;
using levara::testing::saveWorkbook;

// The worksheet row (from 1) a test writes the index-th (from 0) of its values in.
inline int rowOfValue(std::size_t index) { return static_cast<int>(index + 1); }

inline std::filesystem::path fixtureDir(const std::string& kind)
{
    return kind == "excel-saved" ? levara::testing::excelSavedDir() : levara::testing::appSavedDir();
}

// Every .xls of a fixture folder ("excel-saved" or "app-saved"), sorted.
inline std::vector<std::filesystem::path> fixtures(const std::string& kind)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(fixtureDir(kind)))
        if (entry.path().extension() == ".xls")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    EXPECT_FALSE(files.empty()) << "no workbooks in " << fixtureDir(kind);
    return files;
}

// The workbooks saved by Excel, then those saved by LibreOffice and Gnumeric.
inline std::vector<std::filesystem::path> allFixtures()
{
    std::vector<std::filesystem::path> files = fixtures("excel-saved");
    for (const auto& file : fixtures("app-saved"))
        files.push_back(file);
    return files;
}

struct Record {
    std::uint16_t type;
    std::size_t position;
    std::string body;
};

inline std::uint16_t u16(const std::string& bytes, std::size_t at)
{
    return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

inline std::uint32_t u32(const std::string& bytes, std::size_t at)
{
    return u16(bytes, at) | std::uint32_t(u16(bytes, at + 2)) << 16;
}

// The records of a Workbook stream up to its zero padding.
inline std::vector<Record> records(const std::string& stream)
{
    std::vector<Record> result;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const std::uint16_t type = u16(stream, at), length = u16(stream, at + 2);
        if (type == 0 && length == 0)
            break;
        result.push_back({type, at, stream.substr(at + 4, length)});
        at += 4 + length;
    }
    return result;
}

inline std::vector<Record> recordsOfType(const std::string& stream, std::uint16_t type)
{
    std::vector<Record> result;
    for (Record& r : records(stream))
        if (r.type == type)
            result.push_back(std::move(r));
    return result;
}

// Runs a Python script with xlrd on the file; returns its output.
inline std::string xlrd(const std::string& script, const std::filesystem::path& file)
{
    std::string output;
    const int status = levara::testing::runProgram(
        {"/usr/bin/python3", "-c",
         "import sys, xlrd\nbook = xlrd.open_workbook(sys.argv[1], formatting_info=True)\n" + script, file.string()},
        &output);
    EXPECT_EQ(status, 0) << output;
    return output;
}

}  // namespace levara::xls::testing
