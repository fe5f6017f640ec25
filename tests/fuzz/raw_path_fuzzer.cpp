// libFuzzer: any bytes, opened as the open command opens a file (decoded, a GSI file
// converted), filtered by the filter of one output and made into that output in
// memory: a field book or table from its template's Workbook stream (read once and
// kept, so no OLE2 container is read or written per input), the route's 高差配赋表 or
// an exchange file. The input's first byte picks the output and whether the text is
// filtered first, so a run covers them all at thousands of inputs a second. A refusal
// naming the file, its line or the workbook's limits is a result; a text whose lines
// lose their origins is a fault.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "books/books.h"
#include "leveling/leveling.h"
#include "records/records.h"

namespace {

using levara::books::WorkbookKind;
using levara::leveling::ExchangeFormat;

// Every workbook but the network table (last in the table), which needs a network.
constexpr std::size_t kWorkbookCount = levara::books::kWorkbookKinds.size() - 1;
WorkbookKind workbookAt(std::size_t i) { return levara::books::kWorkbookKinds[i].kind; }
constexpr std::array kExchangeFormats = {ExchangeFormat::SectionsCsv, ExchangeFormat::Gama, ExchangeFormat::Starnet};
constexpr std::size_t kKinds = kWorkbookCount + kExchangeFormats.size();

// The template's Workbook stream, read from the built template once.
std::string templateStream(WorkbookKind output)
{
    const std::string file = std::string(LEVARA_TEMPLATE_DIR "/") + std::string(levara::books::templateName(output));
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "no template %s: build the templates first\n", file.c_str());
        std::abort();
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return levara::xls::Workbook::fromBytes(bytes.str()).workbookStream();
}

levara::RecordFilter filterFor(std::size_t kind)
{
    return kind < kWorkbookCount ? levara::books::workbookKind(workbookAt(kind)).filter
                                 : levara::RecordFilter::Leveling;
}

void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Every line of the text has an origin in the file, at least line 1.
void checkOrigins(const std::string& text, const levara::LineOrigins& origins)
{
    const levara::TextLines lines = levara::TextLines::viewOf(text);
    if (origins.size() != lines.size())
        fail("a line of the text has no origin");
    for (const levara::LineNumber origin : origins)
        if (!origin.known())
            fail("a line's origin is not a line of the file");
}

// Numbered by their origins, as levara-cli numbers them.
void makeOutput(std::size_t kind, const std::string& stream, const std::string& text,
                const levara::LineOrigins& origins, const levara::leveling::Standard& standard)
{
    levara::TextLines lines = levara::TextLines::viewOfTextAndLineEnd(text);
    lines.numberBy(origins);
    try {
        if (kind >= kWorkbookCount) {
            static_cast<void>(levara::leveling::exchangeText(kExchangeFormats[kind - kWorkbookCount],
                                                             levara::leveling::readSections(lines), lines, nullptr));
            return;
        }
        const WorkbookKind output = workbookAt(kind);
        std::optional<levara::leveling::Adjustment> adjustment;
        if (output == WorkbookKind::AdjustmentTable)
            adjustment = levara::leveling::adjustRoute(levara::leveling::readSections(lines), lines, nullptr,
                                                       levara::leveling::Distribution::ByDistance, &standard);
        if (output == WorkbookKind::AbffbTwoWayBook)
            static_cast<void>(levara::books::reversedWorkText(lines));
        const bool marked = filterFor(kind) == levara::RecordFilter::Leveling;
        static_cast<void>(levara::books::filledWorkbookStream(output, levara::xls::Workbook::fromWorkbookStream(stream),
                                                              lines, marked ? &standard : nullptr,
                                                              adjustment ? &*adjustment : nullptr));
    } catch (const levara::InputError&) {
    } catch (const levara::FileError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::array<std::string, kWorkbookCount> streams = [] {
        std::array<std::string, kWorkbookCount> bytes;
        for (std::size_t i = 0; i < kWorkbookCount; ++i)
            bytes[i] = templateStream(workbookAt(i));
        return bytes;
    }();
    static const levara::leveling::Standard standard =
        levara::leveling::chooseStandard(levara::leveling::builtinLimits(2), false);
    if (size == 0)
        return 0;
    // The first byte: the output, and whether its filter runs on the text first.
    const std::size_t kind = data[0] % kKinds;
    const bool filter = data[0] / kKinds % 2 == 0;
    ++data;
    --size;

    levara::OpenedText opened;
    try {
        opened = levara::openedText({reinterpret_cast<const char*>(data), size}, "fuzz.dat");
    } catch (const levara::FileError&) {
        return 0;  // a GSI file refused
    }
    checkOrigins(opened.text, opened.origins);
    if (opened.warning)
        static_cast<void>(opened.warning->english());
    const std::string& stream = streams[kind < kWorkbookCount ? kind : 0];
    if (!filter) {
        makeOutput(kind, stream, opened.text, opened.origins, standard);
        return 0;
    }
    const levara::TextLines lines = levara::TextLines::viewOfTextAndLineEnd(opened.text);
    const levara::FilteredLines kept = levara::filterLines(filterFor(kind), lines, opened.origins);
    checkOrigins(kept.text, kept.origins);
    makeOutput(kind, stream, kept.text, kept.origins, standard);
    return 0;
}
