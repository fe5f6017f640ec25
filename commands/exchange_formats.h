#pragma once
// Every file for adjustment software Levara saves, and all that is known of each: the
// one table the window's menu, levara-cli and Commands::saveSectionsFile read.
#include <array>
#include <string_view>

#include "commands/ui.h"
#include "leveling/leveling.h"

namespace levara {

struct ExchangeFormatInfo {
    leveling::ExchangeFormat format;
    std::string_view cliName;  // levara-cli --save NAME
    const char* caption;       // the menu item's, and levara-cli's help
    const char* objectName;    // the menu item's, and the save dialog's proposed name's tag
    int fileType;              // the save dialog's (ui.h)
    bool knownHeights;         // a known-points file applies
    // STAR*NET reads the system's code page, GB18030's subset on a Chinese Windows; CSV
    // and XML are UTF-8.
    bool gb18030;
};

// In levara-cli's order, after the workbooks.
inline constexpr std::array<ExchangeFormatInfo, 3> kExchangeFormats = {{
    {leveling::ExchangeFormat::SectionsCsv, "sections-csv", "测段数据(CSV)", "sectionsCsv", kCsvFilter, false, false},
    {leveling::ExchangeFormat::Gama, "gama", "GNU Gama (XML)", "gamaXml", kXmlFilter, true, false},
    {leveling::ExchangeFormat::Starnet, "starnet", "STAR*NET", "starnet", kDatFilter, true, true},
}};

const ExchangeFormatInfo& exchangeFormat(leveling::ExchangeFormat format);

}  // namespace levara
