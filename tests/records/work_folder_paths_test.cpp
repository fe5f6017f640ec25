// The temp folder and the lock that keeps two Levara processes apart.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "records/error.h"
#include "records/work_folder_paths.h"
#include "tests/support/test_files.h"

namespace levara {
namespace {

TEST(WorkFolderPaths, MissingFolderIsNamed)
{
    testing::ScratchDir scratch;
    const WorkFolderPaths temp(scratch.path());
    try {
        const auto lock = temp.lock();
        FAIL() << "locked a folder that does not exist";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), scratch / "temp");
        EXPECT_NE(std::string(error.what()).find("missing"), std::string::npos);
    }
    std::ofstream(scratch / "temp") << "a file, not a folder";
    EXPECT_THROW(temp.lock(), FileError);
}

TEST(WorkFolderPaths, SecondProcessWaitsForTheLock)
{
    testing::ScratchDir scratch;
    std::filesystem::create_directory(scratch / "temp");
    const WorkFolderPaths temp(scratch.path());
    const auto marker = scratch / "temp" / "child-done";

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        try {
            const auto lock = temp.lock();
            if (write(ready[1], "L", 1) != 1)
                _exit(2);
            usleep(300'000);
            std::ofstream(marker) << "done";
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    close(ready[1]);
    char signal = 0;
    ASSERT_EQ(read(ready[0], &signal, 1), 1);  // the child holds the lock now
    close(ready[0]);
    {
        const auto lock = temp.lock();
        // Only reachable after the child let go, so its work is complete.
        EXPECT_TRUE(std::filesystem::exists(marker));
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace levara
