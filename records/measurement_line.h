#pragma once
// One line of the digital level's raw file, cut at every "|" into fields numbered
// from 0, and the fixed windows that the filters and outputs read. Positions count
// from 1. Files with Chinese names come in two layouts: the level lays a line out in
// GB18030 bytes (a Chinese character takes two columns, the row 119 columns wide),
// others count a character as one position (the row 119 characters long, field 2 31
// characters); a row is read as its layout shows, by columns when it shows neither.
#include <array>
#include <cstddef>
#include <string_view>

namespace levara {

// The characters whose first column is one of first .. first+length-1 of field (an
// ASCII character takes one column, any other two); fewer when the field is shorter,
// empty when it ends before first.
std::string_view slice(std::string_view field, std::size_t first, std::size_t length);

// The same, counting every character as one column.
std::string_view sliceCharacters(std::string_view field, std::size_t first, std::size_t length);

// Removes leading blanks (spaces only); trailing blanks stay.
std::string_view stripLeadingBlanks(std::string_view text);
// Removes leading and trailing blanks (spaces only).
std::string_view stripBlanks(std::string_view text);

// A view of one line; the line's text must outlive it.
class MeasurementLine {
public:
    explicit MeasurementLine(std::string_view line);

    // Fields of the line as split: a line without "|" has one field.
    std::size_t fieldCount() const { return fieldCount_; }
    bool hasField(std::size_t index) const { return index < fieldCount_; }
    // A missing field reads as empty.
    std::string_view field(std::size_t index) const;

    // The windows, stripped of leading blanks unless noted.
    std::string_view startTag() const;         // field 2, from 5, 10 characters
    std::string_view endTag() const;           // field 2, from 5, 8
    std::string_view rejectFlag() const;       // field 2, from 13, 5
    std::string_view pointNumber() const;      // field 2, from 4, 9
    std::string_view widePointNumber() const;  // field 2, from 4, 15, not stripped: point and code
    // Of a reading line: how many readings the level averaged into it, the digit after
    // the time (field 2, character 27); empty when the line records none.
    std::string_view repetitions() const;
    std::string_view time() const;              // field 2, from 19, 8: "hh:mm:ss" on a DiNi M5 row
    std::string_view readingTag() const;        // field 3, from 1, 2
    std::string_view readingTagLetter() const;  // field 3, from 1, 1
    std::string_view reading() const;           // field 3, from 3, 15
    std::string_view distance() const;          // field 4, from 3, 15
    std::string_view heightTag() const;         // field 5, from 1, 1
    std::string_view height() const;            // field 5, from 2, 16
    // Of a text record ("TO"): its text, field 2 from 5, 27 characters; of a
    // "Start-Line" record, read by words as files and programs place them anywhere
    // after it ("Start-Line         BF  0214", "Start-Line      aBFFB     4"): the
    // observation method, the first word after "Start-Line" that names a known one
    // (BF, BFFB, BBFF, BFBF, aBF, aBFFB, any case), and the line number, the word
    // after it; without a known method, none and the last word.
    bool isTextRecord() const;
    std::string_view text() const;
    std::string_view observationMethod() const;
    std::string_view lineNumber() const;

    bool rejected() const { return rejectFlag() == "#####"; }

private:
    struct StartWords {
        std::string_view method, lineNumber;
    };
    StartWords startWords() const;

    // Fields 0 to 5 are the ones read; holding them inline keeps a line free of
    // allocations (the filters cut a million lines a second). Later fields are
    // found when asked for.
    static constexpr std::size_t kHeld = 6;
    std::array<std::string_view, kHeld> fields_{};
    std::size_t fieldCount_ = 0;
    std::string_view rest_;  // the text after field 5's "|", when there is one
    bool ascii_ = true;      // then characters are bytes in every window
    bool byColumns_ = true;  // else windows count characters

    // slice() of field index.
    std::string_view window(std::size_t index, std::size_t first, std::size_t length) const;
};

}  // namespace levara
