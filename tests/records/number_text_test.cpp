// Texts to numbers and numbers to texts.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/leading_number.h"
#include "records/number_format.h"
#include "records/typed_number.h"

namespace levara {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1.52345 m", 1.52345},
        {"   1.52345 m  ", 1.52345},
        {"-0.00019 m", -0.00019},
        {"+2.5", 2.5},
        {"1 2 3", 123},  // blanks are skipped wherever they stand
        {"1\t2\n3", 123},
        {"- 1.5", -1.5},
        {".5", 0.5},
        {"1.", 1},
        {"1.2.3", 1.2},
        {"1e3", 1000},
        {"1.5E-2m", 0.015},
        {"2e", 2},  // an exponent without digits is not read
        {"2e+", 2},
        {"1,5", 1},  // "." is always the decimal point
        {"", 0},
        {"m", 0},
        {".", 0},
        {"-", 0},
        {"--1", 0},
        {"\r1", 0},    // only blanks, tabs and line feeds are skipped
        {"1e999", 0},  // beyond a double: no usable number
        {"0012", 12},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(TypedNumber, ReadsOnlyPlainDecimalNumbers)
{
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"12", 12},
        {"0012", 12},
        {"  1.5  ", 1.5},
        {"+1.5", 1.5},
        {"-3", -3},
        {"1.", 1},
        {".5", 0.5},
        {"-.5", -0.5},
        {"1e5", 100000},
        {"1.5E-3", 0.0015},
        {"2e+2", 200},
        {"1.85953 m", std::nullopt},
        {"1-2", std::nullopt},  // a point name, never a date
        {"3/4", std::nullopt},
        {"1,000", std::nullopt},
        {"50%", std::nullopt},
        {"12:30", std::nullopt},
        {"0x1F", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {".", std::nullopt},
        {"+", std::nullopt},
        {"1e", std::nullopt},
        {"e5", std::nullopt},
        {"1 2", std::nullopt},
        {"--1", std::nullopt},
        {"1e999", std::nullopt},  // too large for a number cell
        {"\t1", std::nullopt},
        {"BM1", std::nullopt},
        {"１２", std::nullopt},  // full-width digits are not digits here
    };
    for (const auto& c : cases) {
        const auto value = typedNumber(c.text);
        ASSERT_EQ(value.has_value(), c.value.has_value()) << '"' << c.text << '"';
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.value) << '"' << c.text << '"';
        }
    }
    EXPECT_FALSE(std::signbit(*typedNumber("-0")));
}

// Plain decimals take a short way to their value; it must give the general parser's bits.
TEST(TypedNumber, PlainDecimalsGiveTheGeneralParsersBits)
{
    std::vector<std::string> texts = {"9007199254740992",
                                      "9007199254740993",
                                      "0.9007199254740993",
                                      "1234567890123456789",
                                      "12345678901234567890",
                                      "0.0000000000000000000001",
                                      "0.00000000000000000000001",
                                      "4503599627370497.5",
                                      "0.1",
                                      "0",
                                      "000.000"};
    std::uint64_t state = 12345;
    for (int k = 0; k < 100000; ++k) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        std::string digits = std::to_string(state >> (state % 40));
        const std::size_t point = (state >> 50) % (digits.size() + 1);
        texts.push_back(digits.insert(point, "."));
    }
    for (const std::string& text : texts) {
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(*typedNumber(text)), std::bit_cast<std::uint64_t>(expected)) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(leadingNumber(text)), std::bit_cast<std::uint64_t>(expected)) << text;
    }
}

TEST(FiveDecimalText, RoundsTheDecimalNumberToFivePlaces)
{
    EXPECT_EQ(fiveDecimalText(1.5), "1.50000");
    EXPECT_EQ(fiveDecimalText(100), "100.00000");
    EXPECT_EQ(fiveDecimalText(0), "0.00000");
    EXPECT_EQ(fiveDecimalText(-0.00019), "-0.00019");
    // Half to even, as the decimal number reads: 0.389715 lies a hair below as a double.
    EXPECT_EQ(fiveDecimalText(0.389715), "0.38972");
    EXPECT_EQ(fiveDecimalText(-0.389715), "-0.38972");
    EXPECT_EQ(fiveDecimalText(0.617745), "0.61774");
    EXPECT_EQ(fiveDecimalText(0.6177451), "0.61775");
    EXPECT_EQ(fiveDecimalText(1.000005), "1.00000");
    EXPECT_EQ(fiveDecimalText(99999.999995), "100000.00000");
    EXPECT_EQ(fiveDecimalText(0.1 + 0.2), "0.30000");
    EXPECT_EQ(fiveDecimalText(0.000005), "0.00000");
    EXPECT_EQ(fiveDecimalText(0.000015), "0.00002");
    EXPECT_EQ(fiveDecimalText(-0.000004), "0.00000");  // never "-0.00000"
    EXPECT_EQ(fiveDecimalText(-0.0), "0.00000");
    EXPECT_EQ(fiveDecimalText(1e20), "100000000000000000000.00000");

    EXPECT_EQ(fiveDecimalText(std::string_view("25.321")), "25.32100");
    EXPECT_EQ(fiveDecimalText(std::string_view("1.5")), "1.50000");
    EXPECT_EQ(fiveDecimalText(std::string_view(" 1.5  ")), "1.50000");
    // Not a number: passed on exactly as it stands.
    EXPECT_EQ(fiveDecimalText(std::string_view("1.85953 m   ")), "1.85953 m   ");
    EXPECT_EQ(fiveDecimalText(std::string_view("")), "");
    EXPECT_EQ(fiveDecimalText(std::string_view("1-2")), "1-2");
}

TEST(NineDecimals, TakesTheBinaryNoiseOffComputedValues)
{
    const struct {
        double computed;
        double stored;
    } cases[] = {
        {0.6000000000000014, 0.6},
        {(0 + (30.1 + 30.12) / 2) - (29.5 + 29.52) / 2, 0.6},
        {(1.52345 - 1.52349) * 1000, -0.04},
        {(0.80253 + 0.80254) / 2, 0.802535},  // a half at the sixth decimal, exactly
        {(-0.53722 - 0.53723) / 2, -0.537225},
        {-3.552713678800501e-15, 0},
        {4e-10, 0},
        {6e-10, 1e-9},
        {-2.2e-13, 0},
        {12345678.1234567891, 12345678.123456789},  // past the exact range: by its decimal text
        {1e300, 1e300},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nineDecimals(c.computed), c.stored) << c.computed;
        if (c.stored == 0) {
            EXPECT_FALSE(std::signbit(nineDecimals(c.computed))) << c.computed;  // never -0
        }
        EXPECT_EQ(nineDecimals(nineDecimals(c.computed)), nineDecimals(c.computed));
    }
    EXPECT_FALSE(std::signbit(nineDecimals(-0.0)));
    EXPECT_TRUE(std::isnan(nineDecimals(std::nan(""))));
}

// A mean of two readings ends in a half of the last decimal shown: rounded to the
// even digit as its exact decimal reads, whichever side of it the double lies.
TEST(HalfEvenText, RoundsTheNineDecimalFormHalfToEven)
{
    const struct {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {(0.80253 + 0.80254) / 2, 5, "0.80254"},  // 0.802535: up to the even 4
        {(0.80252 + 0.80253) / 2, 5, "0.80252"},  // 0.802525: down to the even 2
        {(-0.53722 - 0.53723) / 2, 5, "-0.53722"},
        {0.389715, 5, "0.38972"},  // a hair below 0.389715 as a double: still up
        {0.20009000000000015, 5, "0.20009"},
        {-0.000005, 5, "0.00000"},  // never "-0.00000"
        {0.0000051, 5, "0.00001"},
        {2.5, 0, "2"},
        {1234567.0000045, 5, "1234567.00000"},
        {0.125, 2, "0.12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(halfEvenText(c.value, c.decimals), c.text) << c.value;
}

TEST(SignedNumberText, PutsTheSignPositionFirst)
{
    EXPECT_EQ(signedNumberText(12), " 12");
    EXPECT_EQ(signedNumberText(-3), "-3");
    EXPECT_EQ(signedNumberText(1.5), " 1.5");
    EXPECT_EQ(signedNumberText(0), " 0");
    EXPECT_EQ(signedNumberText(-0.0), " 0");
    EXPECT_EQ(signedNumberText(0.5), " .5");
    EXPECT_EQ(signedNumberText(-0.25), "-.25");
    EXPECT_EQ(signedNumberText(100), " 100");
    EXPECT_EQ(signedNumberText(1000000), " 1000000");
    EXPECT_EQ(signedNumberText(0.1 + 0.2), " .3");
    EXPECT_EQ(signedNumberText(1e20), " 1E+20");
    EXPECT_EQ(signedNumberText(-1.25e-7), "-1.25E-07");
    // What it writes reads back as the same number.
    for (double value : {12.0, -3.0, 1.5, 0.5, 123456.789, -0.001})
        EXPECT_DOUBLE_EQ(*typedNumber(signedNumberText(value)), value);
}

}  // namespace
}  // namespace levara
