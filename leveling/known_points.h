#pragma once
// The known heights of a route: a known-points file of names and heights in metres,
// one point a line, as a project's benchmark list is kept.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.h"

namespace levara::leveling {

struct KnownPoint {
    std::string name;
    double height = 0;  // m
    LineNumber line;    // in its file
};

struct KnownPoints {
    std::filesystem::path file;
    std::vector<KnownPoint> points;
    // The points by name, as the reader fills it (a list made by hand is searched from
    // the start): open addressing, each slot 32 bits of the name's hash and 1 + the
    // point's place, 0 when empty. Flat, so a list of a million points is indexed and
    // searched without a node or a copy of a name per point.
    std::vector<std::uint64_t> byName;
    // How many of points byName holds: a point pushed by hand makes find search them all.
    std::size_t indexed = 0;

    const KnownPoint* find(std::string_view name) const;
    // Adds a point not given before, indexed, and returns it; a point given before is
    // returned as it was.
    const KnownPoint& add(KnownPoint point);
};

// Reads a known-points file: plain text or CSV, each line a name and a height in
// metres separated by a comma, a tab, blanks or a semicolon, and perhaps a separator
// after the height; "#" starts a comment and empty lines are passed over. A name in
// double quotes may hold blanks, separators and "#" ("" stands for a quote in it). A
// file with a UTF-16 BOM is read as UTF-16, a UTF-8 file (a BOM or valid UTF-8) as
// UTF-8, any other as GB18030. A file over kMaxKnownPointsFileSize, a line whose height
// is no number or beyond ±kLargestHeightM, or a name given two different heights,
// throws FileError naming the file and the line and quoting (the start of) the text.
KnownPoints readKnownPoints(const std::filesystem::path& file);
// The same from the file's bytes; file names it in messages.
KnownPoints parseKnownPoints(std::string_view bytes, const std::filesystem::path& file);

}  // namespace levara::leveling
