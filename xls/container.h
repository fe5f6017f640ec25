#pragma once
// The OLE2 compound file around the Workbook stream, through libgsf. Every other
// stream and storage (SummaryInformation, CompObj, ...) is kept to be written back.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace levara::xls {

struct OleEntry {
    std::string name;
    bool storage = false;
    std::array<std::uint8_t, 16> classId{};
    std::string data;  // a stream's bytes
    std::vector<OleEntry> children;
};

struct OleFile {
    std::array<std::uint8_t, 16> classId{};  // of the root storage
    std::vector<OleEntry> entries;           // the root's children other than the Workbook stream
};

// Throws Error: not an OLE2 file, no Workbook stream, BIFF5.
OleFile readOle(std::string_view file, std::string& workbookStream);
// The whole compound file: the Workbook stream first, then the kept entries. The
// stream is let go once the container holds it, before the file is copied out.
std::string writeOle(const OleFile& ole, std::string workbookStream);

// The class id of an Excel workbook, for new files.
OleFile newExcelOle();

}  // namespace levara::xls
