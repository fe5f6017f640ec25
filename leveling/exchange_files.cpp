#include "leveling/exchange_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "leveling/network_sections.h"
#include "leveling/route.h"
#include "leveling/start_height.h"
#include "leveling/units.h"

namespace levara::leveling {

namespace {

struct Measured {
    std::string from, to;
    double heightDifference = 0, lengthM = 0;
    int stations = 0;
    LineNumber firstLine;
    std::optional<double> sigmaMm;                // a priori, one run
    const std::filesystem::path* file = nullptr;  // Section::file
};

struct Fixed {
    std::string name;
    double height = 0;
};

std::vector<Measured> measuredSections(const std::vector<Section>& sections, const TextLines& lines,
                                       const Standard* standard)
{
    const std::optional<double> perKm = standard ? randomErrorPerKmMm(*standard) : std::nullopt;
    std::vector<Measured> measured;
    for (const Section& section : sections)
        if (!section.stations.empty())
            measured.push_back({pointName(section.startPoint), pointName(section.endPoint), section.heightDifference,
                                section.length(), section.stationCount(), section.firstLine, std::nullopt,
                                section.file});
    if (perKm)
        for (Measured& m : measured)
            m.sigmaMm = std::sqrt(2.0) * *perKm * std::sqrt(m.lengthM / kMetresPerKilometre);
    if (measured.empty())
        throw inputErrorIn(lines.file(), lastLineNumber(lines),
                           Message(QT_TRANSLATE_NOOP("levara", "the text holds no leveling section to save")));
    return measured;
}

// Every point of the sections, in the order they first appear.
std::vector<std::string> pointsOf(const std::vector<Measured>& sections)
{
    std::vector<std::string> points;
    for (const Measured& section : sections)
        for (const std::string* name : {&section.from, &section.to})
            if (std::find(points.begin(), points.end(), *name) == points.end())
                points.push_back(*name);
    return points;
}

std::vector<Fixed> fixedPoints(const std::vector<Measured>& sections, const std::vector<std::string>& points,
                               const TextLines& lines, const KnownPoints* known)
{
    std::vector<Fixed> fixed;
    if (!known) {
        const RecordedHeight recorded = recordedStartHeight(lines, sections.front().from);
        fixed.push_back({recorded.point, recorded.height});
        return fixed;
    }
    for (const std::string& point : points)
        if (const KnownPoint* given = known->find(point))
            fixed.push_back({point, given->height});
    if (fixed.empty())
        throw FileError(known->file, Message(QT_TRANSLATE_NOOP("levara", "gives no height for any point of the "
                                                                         "leveling sections")));
    return fixed;
}

std::string csv(const std::vector<Measured>& sections)
{
    std::string text = "from,to,dh_m,dist_km,stations\n";
    for (const Measured& s : sections)
        text += csvField(s.from) + "," + csvField(s.to) + "," + decimalText(s.heightDifference) + "," +
                decimalText(s.lengthM / kMetresPerKilometre) + "," + std::to_string(s.stations) + "\n";
    return text;
}

std::string xmlAttribute(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// gama-local as the GNU Gama manual describes it ("XML input data format for
// gama-local": the prologue, <network>, <points-observations>, <point>, and
// <height-differences> with <dh> in metres and dist in kilometres). A <dh>'s stdev
// (mm) is its a-priori standard deviation; given, gama-local weighs by it and not by
// dist (manual, 2.15 "Height differences"). gama-local has no field for a station
// count.
std::string gama(const std::vector<Measured>& sections, const std::vector<std::string>& points,
                 const std::vector<Fixed>& fixed)
{
    std::string text = "<?xml version=\"1.0\" ?>\n"
                       "<gama-local xmlns=\"http://www.gnu.org/software/gama/gama-local\">\n"
                       "<network>\n"
                       "<points-observations>\n";
    for (const std::string& point : points) {
        const auto known = std::find_if(fixed.begin(), fixed.end(), [&](const Fixed& f) { return f.name == point; });
        if (known != fixed.end())
            text += "<point id=\"" + xmlAttribute(point) + "\" z=\"" + decimalText(known->height) + "\" fix=\"z\"/>\n";
        else
            text += "<point id=\"" + xmlAttribute(point) + "\" adj=\"z\"/>\n";
    }
    text += "<height-differences>\n";
    for (const Measured& s : sections)
        text += "<dh from=\"" + xmlAttribute(s.from) + "\" to=\"" + xmlAttribute(s.to) + "\" val=\"" +
                decimalText(s.heightDifference) + "\" dist=\"" + decimalText(s.lengthM / kMetresPerKilometre) +
                (s.sigmaMm ? "\" stdev=\"" + decimalText(std::round(*s.sigmaMm * 1000) / 1000) : std::string()) +
                "\"/>\n";
    return text + "</height-differences>\n</points-observations>\n</network>\n</gama-local>\n";
}

// XML 1.0 carries no character below U+0020 but tab, LF and CR, and an attribute
// turns those into blanks (XML 1.0, 2.2 "Characters" and 3.3.3 "Attribute-Value
// Normalization"), nor U+FFFE and U+FFFF; an empty id names no point.
void checkGamaName(const std::string& name, LineNumber line, const std::filesystem::path* file)
{
    const bool carried =
        !name.empty() &&
        std::none_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }) &&
        name.find("\xEF\xBF\xBE") == std::string::npos && name.find("\xEF\xBF\xBF") == std::string::npos;
    if (!carried)
        throw inputErrorIn(file, line,
                           Message(QT_TRANSLATE_NOOP("levara", "the point name \"%1\" cannot be written in XML "
                                                               "for GNU Gama: it is empty or holds a control "
                                                               "character, U+FFFE or U+FFFF; rename the point"),
                                   excerpt(name)));
}

// STAR*NET joins a leveling record's two points with "-" and ends a field at a blank;
// "'" starts a description and "#" a comment (STAR*NET V6 manual, Example 8).
void checkStarnetName(const std::string& name, LineNumber line, const std::filesystem::path* file)
{
    if (name.empty() || name.find_first_of(" \t-'#!") != std::string::npos || name.front() == '.')
        throw inputErrorIn(file, line,
                           Message(QT_TRANSLATE_NOOP("levara", "the point name \"%1\" cannot be written for "
                                                               "STAR*NET, which joins a section's two points with "
                                                               "\"-\" and ends a name at a blank; rename the point"),
                                   excerpt(name)));
}

// E records fix the known heights ("E BM1 100.00 !"), L records carry each section
// ("L BM1-BM2 1.4521 61": height difference, then the distance), as the STAR*NET
// importer guide shows them; .UNITS sets the linear unit inline (STAR*NET V6 manual,
// "Using Inline Options"). An L record's standard error follows the distance, and
// "'" starts its description (MicroSurvey, "Summary of STAR*NET Input Data Types
// and Inline Options": "L From-To Elev-Diff Distance [Std Error] ['Description]"):
// the description gives the station count.
std::string starnet(const std::vector<Measured>& sections, const std::vector<Fixed>& fixed)
{
    // A Windows program's data file: CR LF lines.
    std::string text = "# Leveling sections from Levara\r\n"
                       "# Units: metres. L: from-to, height difference (m), section length (m), the sum of\r\n"
                       "# the back and fore sight distances[, a-priori standard error (m)] 'station count.\r\n"
                       ".UNITS Meters\r\n";
    for (const Fixed& point : fixed)
        text += "E " + point.name + " " + decimalText(point.height) + " !\r\n";
    for (const Measured& s : sections)
        text += "L " + s.from + "-" + s.to + " " + decimalText(s.heightDifference) + " " + decimalText(s.lengthM) +
                (s.sigmaMm ? " " + decimalText(std::round(*s.sigmaMm * 1000) / 1000000) : std::string()) + " '" +
                std::to_string(s.stations) + " stations\r\n";
    return text;
}

}  // namespace

std::string decimalText(double value)
{
    // Sized for the number whole: "%.9f" of a double may take over 300 digits.
    const double rounded = nineDecimals(value);
    std::string text(std::size_t(std::snprintf(nullptr, 0, "%.9f", rounded)), '\0');
    std::snprintf(text.data(), text.size() + 1, "%.9f", rounded);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string exchangeText(ExchangeFormat format, const std::vector<Section>& sections, const TextLines& lines,
                         const KnownPoints* known, const Standard* standard)
{
    const std::vector<Measured> measured = measuredSections(sections, lines, standard);
    if (format == ExchangeFormat::SectionsCsv)
        return csv(measured);
    if (format == ExchangeFormat::Starnet)
        for (const Measured& s : measured) {
            checkStarnetName(s.from, s.firstLine, s.file);
            checkStarnetName(s.to, s.firstLine, s.file);
        }
    if (format == ExchangeFormat::Gama)
        for (const Measured& s : measured) {
            checkGamaName(s.from, s.firstLine, s.file);
            checkGamaName(s.to, s.firstLine, s.file);
        }
    const std::vector<std::string> points = pointsOf(measured);
    const std::vector<Fixed> fixed = fixedPoints(measured, points, lines, known);
    return format == ExchangeFormat::Gama ? gama(measured, points, fixed) : starnet(measured, fixed);
}

}  // namespace levara::leveling
