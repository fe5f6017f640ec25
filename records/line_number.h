#pragma once
// The number of a line in a text or a file, from 1, as messages and marks give it.
#include <compare>
#include <cstddef>
#include <ostream>
#include <string>

namespace levara {

class LineNumber {
public:
    // No line: a place that is not in a text.
    constexpr LineNumber() = default;
    // A number read or counted as such (a line of a file, from 1).
    constexpr explicit LineNumber(int number) : number_(number) {}
    // The number of the line at index (from 0) of a text: the one place a line's
    // index becomes its number.
    static constexpr LineNumber ofIndex(std::size_t index) { return LineNumber(static_cast<int>(index) + 1); }

    constexpr int value() const { return number_; }
    std::string text() const { return std::to_string(number_); }
    // The lines just after and before it.
    constexpr LineNumber next() const { return LineNumber(number_ + 1); }
    constexpr LineNumber previous() const { return LineNumber(number_ - 1); }
    // Whether it names a line.
    constexpr bool known() const { return number_ > 0; }
    constexpr explicit operator bool() const { return known(); }

    friend constexpr auto operator<=>(LineNumber, LineNumber) = default;
    friend std::ostream& operator<<(std::ostream& out, LineNumber line) { return out << line.number_; }

private:
    int number_ = 0;
};

}  // namespace levara
