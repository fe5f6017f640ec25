// GB18030 in and out: the encoding of raw files, work files and saved text.
#include <gtest/gtest.h>

#include <string>

#include "records/text_codec.h"

namespace levara {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(Gb18030, ChineseTextRoundTrips)
{
    const std::string utf8 = "水准线路 BM1|Rb 1.5 m|测中间点";
    const std::string gb = encodeGb18030(utf8);
    EXPECT_EQ(gb.substr(0, 4), "\xCB\xAE\xD7\xBC");  // 水准 in code page 936
    EXPECT_EQ(decodeGb18030(gb), utf8);
}

TEST(Gb18030, FourByteSequencesAndCharactersBeyondTheBasicPlaneRoundTrip)
{
    // U+0080 and U+20AC... have four-byte forms; U+1F600 lies beyond the basic plane.
    const std::string utf8 = "\xC2\x80 \xE2\x82\xAC \xF0\x9F\x98\x80 \xE4\xB8\x80";
    const std::string gb = encodeGb18030(utf8);
    EXPECT_EQ(gb.substr(0, 4), "\x81\x30\x81\x30");
    EXPECT_NE(gb.find("\x94\x39\xFC\x36"), std::string::npos);  // U+1F600
    EXPECT_EQ(decodeGb18030(gb), utf8);
    // The same character many times and among ASCII: remembered conversions agree.
    std::string many;
    for (int k = 0; k < 1000; ++k)
        many += "点" + std::to_string(k) + "\xF0\x9F\x98\x80";
    EXPECT_EQ(decodeGb18030(encodeGb18030(many)), many);
}

TEST(Gb18030, AsciiIsUntouched)
{
    std::string ascii;
    for (int c = 0; c < 128; ++c)
        ascii += static_cast<char>(c);
    EXPECT_EQ(decodeGb18030(ascii), ascii);
    EXPECT_EQ(encodeGb18030(ascii), ascii);
    EXPECT_EQ(decodeGb18030(""), "");
}

TEST(Gb18030, BytesThatDoNotDecodeBecomeReplacementCharacters)
{
    EXPECT_EQ(decodeGb18030("a\200b"), "a" + kReplacement + "b");
    EXPECT_EQ(decodeGb18030("a\377b"), "a" + kReplacement + "b");
    // A lead byte followed by a byte that cannot continue it: the ASCII byte survives.
    EXPECT_EQ(decodeGb18030("\x81\nx"), kReplacement + "\nx");
    EXPECT_EQ(decodeGb18030("\x81\x30\x41"), kReplacement + "0A");
    // A sequence cut off by the end of the file is one bad character.
    EXPECT_EQ(decodeGb18030("ab\xD6"), "ab" + kReplacement);
    EXPECT_EQ(decodeGb18030("ab\x81\x30\x81"), "ab" + kReplacement);
    EXPECT_EQ(decodeGb18030("\xD6\xD0\xD6"), "中" + kReplacement);
    // Every byte value in every position: no crash, and what comes out encodes and
    // decodes back unchanged.
    std::string all;
    for (int a = 0; a < 256; ++a)
        for (int b : {0x00, 0x30, 0x40, 0x7F, 0x80, 0x81, 0xFE, 0xFF})
            all += {static_cast<char>(a), static_cast<char>(b)};
    const std::string decoded = decodeGb18030(all);
    EXPECT_EQ(decodeGb18030(encodeGb18030(decoded)), decoded);
}

TEST(Gb18030, InvalidUtf8BecomesQuestionMarks)
{
    EXPECT_EQ(encodeGb18030("a\377b"), "a?b");
    EXPECT_EQ(encodeGb18030("a\200b"), "a?b");             // stray continuation byte
    EXPECT_EQ(encodeGb18030("\xC0\xAF"), "??");            // overlong "/"
    EXPECT_EQ(encodeGb18030("\xED\xA0\x80"), "???");       // surrogate
    EXPECT_EQ(encodeGb18030("\xF4\x90\x80\x80"), "????");  // beyond U+10FFFF
    EXPECT_EQ(encodeGb18030("ab\xE4\xB8"), "ab?");         // cut off at the end
    EXPECT_EQ(encodeGb18030("\344\270a"), "?a");
}

}  // namespace
}  // namespace levara

namespace levara {
namespace {

struct Decoding {
    std::string name;
    std::string bytes;
    std::string utf8;
    TextEncoding encoding;
    std::size_t replaced;
    std::size_t firstReplaced;  // byte offset in utf8
};

void PrintTo(const Decoding& c, std::ostream* out) { *out << c.name; }

class DecodeTextTest : public ::testing::TestWithParam<Decoding> {};

TEST_P(DecodeTextTest, TheMarkOrTheBytesChooseTheEncoding)
{
    const DecodedText decoded = decodeText(GetParam().bytes);
    EXPECT_EQ(decoded.utf8, GetParam().utf8);
    EXPECT_EQ(decoded.encoding, GetParam().encoding);
    EXPECT_EQ(decoded.replaced.count, GetParam().replaced);
    if (GetParam().replaced > 0) {
        EXPECT_EQ(decoded.replaced.first, GetParam().firstReplaced);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DecodeTextTest,
    ::testing::Values(Decoding{"Ascii", "KD1 BM1|1.5\r\n", "KD1 BM1|1.5\r\n", TextEncoding::Gb18030, 0, 0},
                      Decoding{"Gb18030", "\xCB\xAE\xD7\xBC", "水准", TextEncoding::Gb18030, 0, 0},
                      // Valid UTF-8 too, but as two characters of two bytes: GB18030 it stays.
                      Decoding{"Gb18030ThatIsUtf8", "a\xCB\xAE\xD7\xBC", "a水准", TextEncoding::Gb18030, 0, 0},
                      Decoding{"Utf8", "a水准点", "a水准点", TextEncoding::Utf8, 0, 0},
                      Decoding{"Utf8WithMark", "\xEF\xBB\xBF水\xFF", "水" + kReplacement, TextEncoding::Utf8, 1, 3},
                      Decoding{"Utf16Le", std::string("\xFF\xFEK\0\x34\x6C\x3D\xD8\x00\xDE", 10), "K水\xF0\x9F\x98\x80",
                               TextEncoding::Utf16Le, 0, 0},
                      Decoding{"Utf16BeBroken", std::string("\xFE\xFF\xD8\x3D\0K\0", 7),
                               kReplacement + "K" + kReplacement, TextEncoding::Utf16Be, 2, 0},
                      Decoding{"Gb18030Broken", "ab\x81\r\n\xFF", "ab" + kReplacement + "\r\n" + kReplacement,
                               TextEncoding::Gb18030, 2, 2}),
    [](const ::testing::TestParamInfo<Decoding>& info) { return info.param.name; });

}  // namespace
}  // namespace levara
