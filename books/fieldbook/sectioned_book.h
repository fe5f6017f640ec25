#pragma once
// A field book of one or several leveling lines: each line's station blocks from row 6
// down, with several lines each closed by its own summary, and the whole book's summary
// with the sign-off row after the last. A text of one line has the book's summary only.
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "books/fieldbook/marks.h"
#include "books/fieldbook/section_summary.h"
#include "leveling/leveling.h"
#include "xls/xls.h"

namespace levara::books {

// The first row of the first station block.
inline constexpr int kFirstBlockRow = 6;

// One leveling line of a book.
struct BookSection {
    const leveling::Section* section = nullptr;
    int index = 0;  // in the sections the marks were found for
    std::optional<double> startHeight;
};

// Writes a station's block on rows rowBase+5 to rowBase+7, and tells how tall it will
// be there once written.
struct BlockWriter {
    std::function<void(xls::Worksheet&, int rowBase, const leveling::Station&, const BookSection&)> write;
    std::function<double(const xls::Worksheet&, int rowBase, const leveling::Station&)> height;
};

struct BookFrame {
    SummaryLayout layout;
    int lastColumn;
};

// The book's sections in the order of the sections read, index by index.
std::vector<BookSection> bookSections(const std::vector<leveling::Section>& sections);

// The start height of each section as the text records it, by the one rule of
// leveling::startHeightIndex asked from after the previous section's stations; none
// before a section without stations.
void fillStartHeights(std::vector<BookSection>& sections, const TextLines& text);

// Throws InputError when the blocks and summaries pass the last row of a worksheet,
// naming the first station too many by the line its book read first. book: nullptr for
// a single book, else leveling::kForwardBook or leveling::kReturnBook, which reads its
// lines last first.
void checkSectionsFit(std::span<const BookSection> sections, const BookMarks* marks, const char* book = nullptr);

// The blocks, the summaries and the page breaks that keep each block whole and each
// summary with the block before it. Where the page setup leaves room for them, each
// printed page closes with its own check rows (kPageCheck) below its last block,
// unless the page holds exactly the stations of a summary on it, whose check rows say
// the same.
void writeSectionedBook(xls::Worksheet& sheet, std::span<const BookSection> sections, const BookMarks* marks,
                        const BookFrame& frame, const BlockWriter& writeBlock);

}  // namespace levara::books
