#include "commands/work_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace levara {

namespace {

std::filesystem::path homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        *found->pw_dir == '/')
        return found->pw_dir;
    throw Error(
        Message(QT_TRANSLATE_NOOP("levara", "cannot find the home folder for the work files: HOME is not set")));
}

// Private to the user, as the XDG base directories of freedesktop.org ask of the
// folders they make.
void makeFolders(const std::filesystem::path& dir)
{
    std::filesystem::path made;
    for (const auto& part : dir) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST)
            throwFileError(dir, Message(QT_TRANSLATE_NOOP("levara", "cannot make the work folder")), errno);
    }
}

// A folder of the user's own that no one else may write in: another user's, or one
// any user may write in, could have work files planted or swapped in it.
void checkOwnFolder(const std::filesystem::path& dir)
{
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) {
        if (errno == ENOENT)
            throw FileError(dir, Message(QT_TRANSLATE_NOOP("levara", "cannot use the work folder: it is a link "
                                                                     "to nothing; remove it")));
        throwFileError(dir, Message(QT_TRANSLATE_NOOP("levara", "cannot use the work folder")), errno);
    }
    if (!S_ISDIR(st.st_mode))
        throw FileError(dir, Message(QT_TRANSLATE_NOOP("levara", "cannot use the work folder: it is not a folder")));
    if (st.st_uid != ::geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        throw FileError(dir, Message(QT_TRANSLATE_NOOP("levara", "cannot use the work folder: it is not a folder "
                                                                 "of yours that only you may write in")));
}

bool isTemplate(const std::filesystem::path& file, const WorkFolderPaths& temp)
{
    const std::string name = file.filename().string();
    return name.starts_with("exc") && file.extension() == ".xls" && name != temp.workingWorkbook().filename().string();
}

void copyMissingTemplates(const WorkFolderPaths& from, const WorkFolderPaths& to)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(from.dir(), error);
    if (error)
        throwFileError(from.dir(), Message(QT_TRANSLATE_NOOP("levara", "cannot list the templates")), error.value());
    for (const auto& entry : entries) {
        if (!isTemplate(entry.path(), from) || !entry.is_regular_file(error))
            continue;
        const std::filesystem::path copy = to.templateFile(entry.path().filename().string());
        if (!std::filesystem::exists(std::filesystem::symlink_status(copy, error)))
            copyFileReplacing(entry.path(), copy, Flush::ToDisk, Links::Refuse);
    }
}

}  // namespace

std::filesystem::path userDataFolder()
{
    // A relative XDG_DATA_HOME is to be ignored, as an unset one.
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::filesystem::path base =
        data && *data == '/' ? std::filesystem::path(data) : homeFolder() / ".local" / "share";
    return base / "levara";
}

std::filesystem::path workFolderHome(const std::filesystem::path& programDir)
{
    const std::filesystem::path beside = WorkFolderPaths(programDir).dir();
    // Missing, or not a folder: reported as such beside the program, never a reason to
    // make the user's own.
    struct stat st {};
    if (::stat(beside.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return programDir;
    if (::access(beside.c_str(), W_OK | X_OK) == 0)
        return programDir;
    return userDataFolder();
}

LockedWorkFolder::LockedWorkFolder(const std::filesystem::path& programDir)
    : paths_([&] {
          const std::filesystem::path home = workFolderHome(programDir);
          if (home != programDir) {
              makeFolders(WorkFolderPaths(home).dir());
              checkOwnFolder(home);
              checkOwnFolder(WorkFolderPaths(home).dir());
          }
          return WorkFolderPaths(home);
      }()),
      lock_(paths_.lock())
{
    const WorkFolderPaths beside(programDir);
    if (paths_.dir() != beside.dir())
        copyMissingTemplates(beside, paths_);
}

}  // namespace levara
