#pragma once
#include <filesystem>

namespace levara {

// The directory of the running program, links resolved: the temp
// folder lives beside the program itself, not beside a link to it.
std::filesystem::path programDirectory();

}  // namespace levara
