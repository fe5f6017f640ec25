#pragma once
// Where a user's work files and templates are. The temp folder beside the program,
// as long as this user may write in it (a copy unpacked anywhere); otherwise, as in
// a system install, the user's own: $XDG_DATA_HOME/levara/temp, by default
// ~/.local/share/levara/temp, where Qt's GenericDataLocation puts a "levara" folder
// too. The window and levara-cli both ask here, before every command.
#include <filesystem>

#include "records/records.h"

namespace levara {

// $XDG_DATA_HOME/levara, or ~/.local/share/levara. Throws Error when there is no
// home folder to be found.
std::filesystem::path userDataFolder();

// The folder that holds the temp folder for this user: programDir, or
// userDataFolder(). A temp folder beside the program that is missing stays the
// choice, so that it is reported as missing.
std::filesystem::path workFolderHome(const std::filesystem::path& programDir);

// One command's hold on the work folder: chosen, made when it is the user's own (and
// refused when that is not a folder of the user's that only they may write in),
// locked, and given each template of the program's temp folder it lacks. A template
// already there is never replaced: it may be one the user edited.
class LockedWorkFolder {
public:
    explicit LockedWorkFolder(const std::filesystem::path& programDir);  // throws FileError naming the folder
    const WorkFolderPaths& paths() const { return paths_; }

private:
    WorkFolderPaths paths_;
    WorkFolderPaths::Lock lock_;
};

}  // namespace levara
