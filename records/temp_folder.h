#pragma once
// The temp folder beside the program: the work files and the workbook templates.
// It must exist; Levara never creates it.
#include <filesystem>
#include <string_view>

namespace levara {

class TempFolder {
public:
    // programDir: the program's own directory.
    explicit TempFolder(std::filesystem::path programDir);

    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path workFile() const { return dir_ / "ooo.txt"; }
    std::filesystem::path reversedWorkFile() const { return dir_ / "ppp.txt"; }
    std::filesystem::path workingWorkbook() const { return dir_ / "excel.xls"; }
    std::filesystem::path templateFile(std::string_view name) const { return dir_ / name; }

    // Holds the folder for one command, so that two Levara processes never
    // spoil each other's work files. Waits while another process holds it.
    class Lock {
    public:
        explicit Lock(const std::filesystem::path& dir);  // throws FileError naming the folder
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        int fd_;
    };
    Lock lock() const { return Lock(dir_); }

private:
    std::filesystem::path dir_;
};

}  // namespace levara
