#pragma once
// The paths of a work folder (the run-time "temp" folder): its work files, its
// workbook templates and its lock. The folder must exist; Levara never creates it
// here (commands/work_folder.h chooses, makes and locks it).
#include <filesystem>
#include <string_view>

namespace levara {

class WorkFolderPaths {
public:
    // programDir: the program's own directory.
    explicit WorkFolderPaths(std::filesystem::path programDir);

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
