#include "test_files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace levara::testing {

ScratchDir::ScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "levara-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    // Files made read-only by a test must not survive it.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path binaryDir() { return LEVARA_BINARY_DIR; }
std::filesystem::path sourceDir() { return LEVARA_SOURCE_DIR; }

std::filesystem::path makeProgramDir(const ScratchDir& scratch)
{
    const std::filesystem::path program = scratch.path() / "program";
    std::filesystem::create_directories(program / "temp");
    // The built temp folder is also the built programs' work folder: its excel.xls is a work file.
    for (auto& entry : std::filesystem::directory_iterator(binaryDir() / "temp"))
        if (entry.path().extension() == ".xls" && entry.path().filename() != "excel.xls")
            std::filesystem::copy_file(entry.path(), program / "temp" / entry.path().filename());
    return program;
}

std::string readBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::filesystem::path excelSavedDir() { return sourceDir() / "tests/fixtures/excel-saved"; }
std::filesystem::path appSavedDir() { return LEVARA_APP_SAVED_DIR; }

std::vector<std::string> environmentWithLocale(const std::vector<std::string>& settings)
{
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        const std::string_view entry = *variable;
        const std::string_view name = entry.substr(0, entry.find('='));
        if (name != "LANG" && name != "LANGUAGE" && !name.starts_with("LC_"))
            environment.emplace_back(entry);
    }
    environment.insert(environment.end(), settings.begin(), settings.end());
    return environment;
}

int runProgram(const std::vector<std::string>& argv, std::string* output, const std::string& input,
               const std::vector<std::string>* environment)
{
    int outPipe[2], inPipe[2];
    if (pipe(outPipe) != 0 || pipe(inPipe) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, inPipe[1]);
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> variables;
    if (environment) {
        for (const auto& variable : *environment)
            variables.push_back(const_cast<char*>(variable.c_str()));
        variables.push_back(nullptr);
    }
    pid_t pid;
    const int spawned =
        posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environment ? variables.data() : environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(inPipe[0]);
    if (spawned != 0) {
        close(outPipe[0]);
        close(inPipe[1]);
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(spawned));
    }
    std::thread feeder([&] {
        const char* data = input.data();
        std::size_t left = input.size();
        while (left > 0) {
            const ssize_t n = write(inPipe[1], data, left);
            if (n <= 0)
                break;
            data += n;
            left -= std::size_t(n);
        }
        close(inPipe[1]);
    });
    std::string collected;
    char buffer[65536];
    for (ssize_t n; (n = read(outPipe[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        collected.append(buffer, std::size_t(n));
    }
    close(outPipe[0]);
    feeder.join();
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    if (output)
        *output = std::move(collected);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace levara::testing
