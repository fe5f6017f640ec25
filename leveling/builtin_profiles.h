#pragma once
// The built-in limits profiles, leveling/profiles/*.json, compiled in by CMake
// (leveling/CMakeLists.txt) so that the program needs no file to check against them.
#include <array>
#include <string_view>

namespace levara::leveling {

struct BuiltinProfile {
    std::string_view file;  // its name in leveling/profiles
    std::string_view json;
};

// 一等, 二等, 三等, 四等.
extern const std::array<BuiltinProfile, 4> kBuiltinProfiles;

inline const BuiltinProfile& builtinProfile(int order) { return kBuiltinProfiles.at(std::size_t(order - 1)); }

}  // namespace levara::leveling
