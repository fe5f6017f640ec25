#pragma once
// A scratch program folder whose temp folder holds the built templates, for the
// benchmarks that save workbooks.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "commands/commands.h"

namespace levara::bench {

class ProgramFolder {
public:
    ProgramFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "levara-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        dir_ = pattern;
        std::filesystem::create_directory(dir_ / "temp");
        for (const auto& entry : std::filesystem::directory_iterator(programDirectory() / "temp"))
            if (entry.path().extension() == ".xls")
                std::filesystem::copy_file(entry.path(), dir_ / "temp" / entry.path().filename());
    }
    ~ProgramFolder() { std::filesystem::remove_all(dir_); }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
};

}  // namespace levara::bench
