#pragma once
// A text's sections for adjustment software: a CSV table, GNU Gama's gama-local XML
// and STAR*NET leveling records. Every section with stations goes out as measured, a
// forward/return pair as its two sections; the known heights are fixed, or, without a
// known-points file, the start's height recorded in the text.
#include <string>
#include <vector>

#include "leveling/known_points.h"
#include "leveling/sections.h"
#include "records/records.h"

namespace levara::leveling {

enum class ExchangeFormat {
    SectionsCsv,  // from,to,dh_m,dist_km,stations
    Gama,         // gama-local XML
    Starnet,      // STAR*NET E and L records
};

// The file's text, UTF-8. Throws InputError naming the line when the text holds no
// section, or for STAR*NET a point name it cannot carry; FileError naming the
// known-points file when it knows no point of the sections; InputError as
// recordedStartHeight when there is none and no file.
std::string exchangeText(ExchangeFormat format, const std::vector<Section>& sections, const TextLines& lines,
                         const KnownPoints* known);

// A value in its shortest decimal form at most nine decimals long: "0.61774", "-2.5", "0".
std::string decimalText(double value);

}  // namespace levara::leveling
