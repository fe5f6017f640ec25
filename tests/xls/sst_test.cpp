// The shared string table: CONTINUE records, 8-bit and 16-bit strings, EXTSST, and
// the table rebuilt from what the cells use.
#include <gtest/gtest.h>

#include "tests/support/readers.h"
#include "tests/support/test_files.h"
#include "tests/support/workbook_files.h"
#include "tests/xls/xls_testing.h"
#include "xls/record_ids.h"
#include "xls/unicode.h"

namespace levara::xls {
namespace {

using namespace testing;
using levara::testing::ScratchDir;

// Strings of every kind and length, so that records end inside characters of both
// widths, inside headers' reach, and a string spans several records.
std::vector<std::string> mixedStrings()
{
    std::vector<std::string> strings;
    for (int i = 0; i < 1500; ++i) {
        const int length = (i * 37) % 3000 + 1;
        std::string text;
        switch (i % 4) {
        case 0:
            for (int k = 0; k < length; ++k)
                text += (k % 3 == 0) ? "测" : (k % 3 == 1 ? "站" : "点");
            break;
        case 1: text = std::string(std::size_t(length), char('a' + i % 26)); break;
        case 2:
            for (int k = 0; k < length; ++k)
                text += "é";
            break;
        default: text = std::string(std::size_t(length), 'z') + "高"; break;
        }
        strings.push_back(std::to_string(i) + ":" + text);
    }
    std::string longest;
    for (int k = 0; k < 32767; ++k)
        longest += "水";
    strings.push_back(longest);
    return strings;
}

struct SstString {
    std::size_t header;  // stream position of its header
    std::size_t length;
    bool wide;
    std::u16string text;
};

// Walks SST and CONTINUE as a reader must, checking the splitting rules on the way.
std::vector<SstString> walkSst(const std::string& stream)
{
    std::vector<Record> parts;
    bool inSst = false;
    for (Record& r : records(stream)) {
        if (r.type == rec::kSst)
            inSst = true;
        else if (r.type != rec::kContinue)
            inSst = false;
        if (inSst)
            parts.push_back(std::move(r));
    }
    std::vector<SstString> strings;
    if (parts.empty())
        return strings;
    std::size_t part = 0, at = 8;
    const std::uint32_t unique = u32(parts[0].body, 4);
    for (std::uint32_t i = 0; i < unique; ++i) {
        if (at == parts[part].body.size())
            ++part, at = 0;
        const std::string& body = parts[part].body;
        // Rich text runs and phonetic data, as spreadsheet applications write them, follow the characters.
        const bool rich = body[at + 2] & 0x08, phonetic = body[at + 2] & 0x04;
        const std::size_t headerSize = 3 + (rich ? 2 : 0) + (phonetic ? 4 : 0);
        EXPECT_LE(at + headerSize, body.size()) << "a string header is split at string " << i;
        SstString s{parts[part].position + 4 + at, u16(body, at), bool(body[at + 2] & 1), {}};
        std::size_t after =
            (rich ? 4 * std::size_t(u16(body, at + 3)) : 0) + (phonetic ? u32(body, at + 3 + (rich ? 2 : 0)) : 0);
        at += headerSize;
        std::size_t left = s.length;
        bool wide = s.wide;
        while (left > 0) {
            if (at == parts[part].body.size()) {
                ++part, at = 0;
                wide = parts[part].body[at++] & 1;  // characters resume after a flag byte
            }
            const std::size_t unit = wide ? 2 : 1;
            const std::size_t fit = std::min(left, (parts[part].body.size() - at) / unit);
            EXPECT_EQ((parts[part].body.size() - at) % unit == 0 || fit == left, true) << "a character is split";
            for (std::size_t k = 0; k < fit; ++k)
                s.text += char16_t(wide ? u16(parts[part].body, at + 2 * k) : std::uint8_t(parts[part].body[at + k]));
            at += fit * unit;
            left -= fit;
        }
        while (after > 0) {
            if (at == parts[part].body.size())
                ++part, at = 0;
            const std::size_t skip = std::min(after, parts[part].body.size() - at);
            at += skip;
            after -= skip;
        }
        strings.push_back(s);
    }
    for (const Record& r : parts)
        EXPECT_LE(r.body.size(), rec::kMaxBody);
    return strings;
}

TEST(SharedStrings, ContinueRecordsSplitOnlyBetweenCharacters)
{
    const std::vector<std::string> texts = mixedStrings();
    ScratchDir scratch;
    Workbook book = Workbook::create({"S"});
    for (std::size_t i = 0; i < texts.size(); ++i)
        book.sheet(0).setText(rowOfValue(i), 1 + int(i % 3), texts[i]);
    book.sheet(0).setText(1600, 4, texts[5]);  // used twice, stored once
    saveWorkbook(book, scratch / "sst.xls");

    const std::string stream = book.workbookStream();
    const std::vector<SstString> strings = walkSst(stream);
    ASSERT_EQ(strings.size(), texts.size());
    EXPECT_GT(recordsOfType(stream, rec::kContinue).size(), 100u);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const bool ascii = texts[i].find_first_not_of("0123456789:abcdefghijklmnopqrstuvwxyz") == std::string::npos;
        const bool latin1 = i % 4 == 2 && i < 1500;
        EXPECT_EQ(strings[i].wide, !(ascii || latin1)) << i;  // 8-bit only when every character allows it
    }

    // EXTSST: each bucket's first string, by stream position and offset in its record.
    const std::vector<Record> ext = recordsOfType(stream, rec::kExtSst);
    ASSERT_EQ(ext.size(), 1u);
    const std::size_t bucket = u16(ext[0].body, 0);
    EXPECT_EQ(bucket, strings.size() / 128 + 1);  // Excel's size for 1,024 strings and more
    ASSERT_EQ((ext[0].body.size() - 2) / 8, (strings.size() + bucket - 1) / bucket);
    for (std::size_t k = 0; k * bucket < strings.size(); ++k) {
        const std::size_t position = u32(ext[0].body, 2 + 8 * k), offset = u16(ext[0].body, 6 + 8 * k);
        EXPECT_EQ(position, strings[k * bucket].header) << k;
        const std::uint16_t recordType = u16(stream, position - offset);
        EXPECT_TRUE(recordType == rec::kSst || recordType == rec::kContinue) << k;
    }

    Workbook reopened = openWorkbook(scratch / "sst.xls");
    std::string expected;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(reopened.sheet(0).value(rowOfValue(i), 1 + int(i % 3)), Value(texts[i])) << i;
        expected += texts[i] + "\n";
    }
    EXPECT_EQ(xlrd(R"(
sheet = book.sheet_by_index(0)
for r in range()" + std::to_string(texts.size()) +
                       R"():
    sys.stdout.buffer.write((sheet.cell_value(r, r % 3) + "\n").encode())
)",
                   scratch / "sst.xls"),
              expected);
    const auto csv = levara::testing::libreOfficeCsv({scratch / "sst.xls"}, false);
    ASSERT_EQ(csv.size(), 1u);
    ASSERT_GE(csv[0][0].size(), 1500u);
    for (std::size_t i = 0; i < 1500; i += 97)
        EXPECT_NE(csv[0][0][i].find(texts[i]), std::string::npos) << i;
}

// Unused strings go, the others keep their order, new ones follow.
TEST(SharedStrings, RebuiltFromTheCellsInTheTemplatesOrder)
{
    const std::filesystem::path file = fixtureDir("app-saved") / "bffb_book_lo.xls";
    const auto texts = [](Workbook& book) {
        std::vector<std::string> list;
        for (const SstString& s : walkSst(book.workbookStream()))
            list.push_back(utf8FromUtf16(s.text));
        return list;
    };
    Workbook book = openWorkbook(file);
    std::vector<std::string> expected = texts(book);
    Worksheet& sheet = book.sheet(0);
    const std::string dropped = std::get<std::string>(sheet.value(1, 1));
    sheet.setNumber(1, 1, 3);
    sheet.setText(70, 1, "新的字符串");
    sheet.setText(71, 1, "新的字符串");

    expected.erase(std::find(expected.begin(), expected.end(), dropped));
    expected.push_back("新的字符串");
    EXPECT_EQ(texts(book), expected);
}

}  // namespace
}  // namespace levara::xls
