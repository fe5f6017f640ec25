// The files for adjustment software read back by independent readers: Python's
// xml.etree and csv modules.
#include <gtest/gtest.h>

#include "leveling/leveling.h"
#include "records/records.h"
#include "tests/leveling/routes.h"
#include "tests/support/test_files.h"

namespace levara::testing {
namespace {

// Forward and return runs between A and P1, then P1 to B; the start height recorded.
const std::vector<HandSection> kSections = {{"A", "P1", 0.4, 400, 4},
                                            {"P1", "A", -0.402, 420, 4},
                                            {"P1", "B&<\"", 0.6, 590, 5}};

// Each section as "from to dh dist_km stations" with Python's repr of the numbers.
const char* const kReader = R"(
import csv, sys, xml.etree.ElementTree as ET
ns = {"g": "http://www.gnu.org/software/gama/gama-local"}
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "{%s}gama-local" % ns["g"], root.tag
for p in root.iterfind("g:network/g:points-observations/g:point", ns):
    print("point", p.get("id"), p.get("z"), p.get("fix"), p.get("adj"))
for dh in root.iterfind("g:network/g:points-observations/g:height-differences/g:dh", ns):
    print("dh", dh.get("from"), dh.get("to"), float(dh.get("val")), float(dh.get("dist")), dh.get("stdev"))
with open(sys.argv[2], newline="", encoding="utf-8") as f:
    rows = list(csv.DictReader(f))
for r in rows:
    print("csv", r["from"], r["to"], float(r["dh_m"]), float(r["dist_km"]), int(r["stations"]))
)";

TEST(ExchangeFiles, ReadBackByPythonWithEverySection)
{
    ScratchDir scratch;
    const std::string text = routeText(kSections, "10.00000");
    const TextLines lines = TextLines::viewOf(text);
    const std::vector<leveling::Section> sections = leveling::readSections(lines);
    // 二等: M_Δ 1.0 mm, one run √2 · 1.0 · √L mm.
    const leveling::Standard second = leveling::chooseStandard(leveling::builtinLimits(2), false);
    writeBytes(scratch / "net.xml",
               leveling::exchangeText(leveling::ExchangeFormat::Gama, sections, lines, nullptr, &second));
    writeBytes(scratch / "sections.csv",
               leveling::exchangeText(leveling::ExchangeFormat::SectionsCsv, sections, lines, nullptr));
    std::string output;
    ASSERT_EQ(runProgram({"/usr/bin/python3", "-c", kReader, (scratch / "net.xml").string(),
                          (scratch / "sections.csv").string()},
                         &output),
              0)
        << output;
    EXPECT_EQ(output, "point A 10 z None\n"
                      "point P1 None None z\n"
                      "point B&<\" None None z\n"
                      "dh A P1 0.4 0.4 0.894\n"
                      "dh P1 A -0.402 0.42 0.917\n"
                      "dh P1 B&<\" 0.6 0.59 1.086\n"
                      "csv A P1 0.4 0.4 4\n"
                      "csv P1 A -0.402 0.42 4\n"
                      "csv P1 B&<\" 0.6 0.59 5\n");
}

TEST(ExchangeFiles, StarnetFixesTheKnownPointsAndRefusesNamesItCannotCarry)
{
    const std::string text = routeText({{"A", "P1", 0.4, 400, 4}, {"P1", "B", -0.12345, 590, 5}});
    const TextLines lines = TextLines::viewOf(text);
    const leveling::KnownPoints known = leveling::parseKnownPoints("B 11.5\nA 10\nC 3\n", "known.txt");
    EXPECT_EQ(leveling::exchangeText(leveling::ExchangeFormat::Starnet, leveling::readSections(lines), lines, &known),
              "# Leveling sections from Levara\r\n"
              "# Units: metres. L: from-to, height difference (m), section length (m), the sum of\r\n"
              "# the back and fore sight distances[, a-priori standard error (m)] 'station count.\r\n"
              ".UNITS Meters\r\n"
              "E A 10 !\r\n"
              "E B 11.5 !\r\n"
              "L A-P1 0.4 400 '4 stations\r\n"
              "L P1-B -0.12345 590 '5 stations\r\n");
    // 四等: M_Δ 5.0 mm, one run √2 · 5.0 · √0.4 = 4.472 mm.
    const leveling::Standard fourth = leveling::chooseStandard(leveling::builtinLimits(4), false);
    EXPECT_NE(leveling::exchangeText(leveling::ExchangeFormat::Starnet, leveling::readSections(lines), lines, &known,
                                     &fourth)
                  .find("L A-P1 0.4 400 0.004472 '4 stations\r\n"),
              std::string::npos);

    const std::string dashed = routeText({{"BM-1", "P1", 0.4, 400, 4}});
    const TextLines dashedLines = TextLines::viewOf(dashed);
    try {
        leveling::exchangeText(leveling::ExchangeFormat::Starnet, leveling::readSections(dashedLines), dashedLines,
                               &known);
        FAIL() << "no error";
    } catch (const InputError& error) {
        EXPECT_EQ(error.message().english(),
                  "line 1: the point name \"BM-1\" cannot be written for STAR*NET, which joins a section's two points "
                  "with \"-\" and ends a name at a blank; rename the point");
    }
}

// Point names a hostile raw file may hold: each export gives a file its reader takes
// (the GNU Gama file valid against Gama's schema) or refuses the name with its line.
struct HostileName {
    std::string label, name;
    bool gamaRefuses;
    std::string csvField;  // the name as the sections file writes it
};

void PrintTo(const HostileName& c, std::ostream* out) { *out << c.label; }

class HostileNameTest : public ::testing::TestWithParam<HostileName> {};

TEST_P(HostileNameTest, GivesValidFilesOrARefusalWithItsLine)
{
    ScratchDir scratch;
    const std::string text = routeText({{"A", "P1", 0.4, 400, 4}, {"P1", GetParam().name, 0.6, 590, 5}}, "10");
    const TextLines lines = TextLines::viewOf(text);
    const std::vector<leveling::Section> sections = leveling::readSections(lines);
    const LineNumber line = sections.back().firstLine;
    try {
        writeBytes(scratch / "net.xml",
                   leveling::exchangeText(leveling::ExchangeFormat::Gama, sections, lines, nullptr));
        EXPECT_FALSE(GetParam().gamaRefuses);
        std::string output;
        EXPECT_EQ(runProgram({"xmllint", "--noout", "--schema",
                              (sourceDir() / "tests/fixtures/gama/gama-local.xsd").string(),
                              (scratch / "net.xml").string()},
                             &output),
                  0)
            << output;
    } catch (const InputError& error) {
        EXPECT_TRUE(GetParam().gamaRefuses) << error.what();
        EXPECT_EQ(error.line(), line);
        EXPECT_NE(std::string(error.what()).find("cannot be written in XML for GNU Gama"), std::string::npos);
    }
    const std::string csv = leveling::exchangeText(leveling::ExchangeFormat::SectionsCsv, sections, lines, nullptr);
    EXPECT_NE(csv.find("\nP1," + GetParam().csvField + ",0.6,"), std::string::npos) << csv;
}

INSTANTIATE_TEST_SUITE_P(
    Names, HostileNameTest,
    ::testing::Values(HostileName{"Control", "B\x01", true, "B\\x01"},
                      HostileName{"Escape", "\x1b[2J", true, "\\x1b[2J"}, HostileName{"Tab", "B\tC", true, "B\\tC"},
                      HostileName{"NotACharacter", "B\xEF\xBF\xBE", true, "B\xEF\xBF\xBE"},
                      HostileName{"Formula", "=1+2", false, "'=1+2"}, HostileName{"Plus", "+B", false, "'+B"},
                      HostileName{"Minus", "-B", false, "'-B"}, HostileName{"At", "@B", false, "'@B"},
                      HostileName{"Markup", "<&'\">", false, "\"<&'\"\">\""}),
    [](const ::testing::TestParamInfo<HostileName>& info) { return info.param.label; });

}  // namespace
}  // namespace levara::testing
