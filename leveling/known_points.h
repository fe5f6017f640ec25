#pragma once
// The known heights of a route: a known-points file of names and heights in metres,
// one point a line, as a project's benchmark list is kept.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace levara::leveling {

struct KnownPoint {
    std::string name;
    double height = 0;  // m
    int line = 0;       // in its file
};

struct KnownPoints {
    std::filesystem::path file;
    std::vector<KnownPoint> points;

    const KnownPoint* find(std::string_view name) const;
};

// Reads a known-points file: plain text or CSV, each line a name and a height in
// metres separated by a comma, a tab, blanks or a semicolon; "#" starts a comment and
// empty lines are passed over. A UTF-8 file (a BOM or valid UTF-8) is read as UTF-8,
// any other as GB18030. A line whose height is no number, or a name given two
// different heights, throws FileError naming the file and the line and quoting the text.
KnownPoints readKnownPoints(const std::filesystem::path& file);
// The same from the file's bytes; file names it in messages.
KnownPoints parseKnownPoints(std::string_view bytes, const std::filesystem::path& file);

}  // namespace levara::leveling
