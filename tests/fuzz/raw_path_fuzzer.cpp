// libFuzzer: any bytes, opened as the open command opens a file (decoded, a GSI file
// converted), reduced by each filter, made into two of the eight outputs in memory
// from the built templates (the input's size picks them, so a run covers all), and
// checked against a standard. A refusal naming the file, its line or
// the workbook's limits is a result; a text whose lines lose their origins is a fault.
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

// Every workbook but the adjustment table, which is made from an adjustment.
constexpr std::size_t kOutputCount = levara::books::kWorkbookKinds.size() - 1;
WorkbookKind outputAt(std::size_t i) { return levara::books::kWorkbookKinds[i].kind; }

std::string templateBytes(WorkbookKind output)
{
    const std::string file = std::string(LEVARA_TEMPLATE_DIR "/") + std::string(levara::books::templateName(output));
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "no template %s: build the templates first\n", file.c_str());
        std::abort();
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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
    for (int origin : origins)
        if (origin < 1)
            fail("a line's origin is not a line of the file");
}

// Numbered by their origins, as levara-cli numbers them.
void makeOutput(WorkbookKind output, const std::string& templateFile, const std::string& text,
                const levara::LineOrigins& origins, const levara::leveling::Standard* standard)
{
    levara::TextLines lines = levara::TextLines::viewOfTextAndLineEnd(text);
    lines.numberBy(origins);
    try {
        if (output == WorkbookKind::AbffbTwoWayBook)
            static_cast<void>(levara::books::reversedWorkText(lines));
        static_cast<void>(
            levara::books::workbookBytes(output, templateFile, lines, "template.xls", "out.xls", standard));
    } catch (const levara::InputError&) {
    } catch (const levara::FileError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::array<std::string, kOutputCount> templates = [] {
        std::array<std::string, kOutputCount> bytes;
        for (std::size_t i = 0; i < kOutputCount; ++i)
            bytes[i] = templateBytes(outputAt(i));
        return bytes;
    }();
    static const levara::leveling::Standard standard =
        levara::leveling::chooseStandard(levara::leveling::builtinLimits(2), false);

    levara::OpenedText opened;
    try {
        opened = levara::openedText({reinterpret_cast<const char*>(data), size}, "fuzz.dat");
    } catch (const levara::FileError&) {
        return 0;  // a GSI file refused
    }
    checkOrigins(opened.text, opened.origins);
    if (opened.warning)
        static_cast<void>(opened.warning->english());

    levara::TextLines lines = levara::TextLines::viewOfTextAndLineEnd(opened.text);
    // A workbook costs a hundred times a filter: each input makes two, the outputs
    // its size picks, one from the text as opened and one from the text reduced.
    const std::size_t unreduced = size % kOutputCount, reduced = size / kOutputCount % kOutputCount;
    makeOutput(outputAt(unreduced), templates[unreduced], opened.text, opened.origins, nullptr);
    for (levara::RecordFilter filter : {levara::RecordFilter::Leveling, levara::RecordFilter::IntermediateSights,
                                        levara::RecordFilter::SinglePoints}) {
        const levara::FilteredLines kept = levara::filterLines(filter, lines, opened.origins);
        checkOrigins(kept.text, kept.origins);
        if (levara::books::workbookKind(outputAt(reduced)).filter == filter)
            makeOutput(outputAt(reduced), templates[reduced], kept.text, kept.origins,
                       filter == levara::RecordFilter::Leveling ? &standard : nullptr);
    }
    lines.numberBy(opened.origins);
    try {
        static_cast<void>(levara::leveling::checkSections(levara::leveling::readSections(lines), standard));
    } catch (const levara::InputError&) {
    }
    return 0;
}
