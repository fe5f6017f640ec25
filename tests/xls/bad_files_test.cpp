// Files that are not usable workbooks: a clear Error naming the file, never a crash.
#include <gtest/gtest.h>

#include <gsf/gsf.h>

#include <random>

#include "tests/support/test_files.h"
#include "tests/xls/xls_testing.h"
#include "xls/record_ids.h"

namespace levara::xls {
namespace {

using namespace testing;

// An OLE2 file holding the given streams.
std::string oleWith(const std::vector<std::pair<std::string, std::string>>& streams)
{
    gsf_init();
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* root = gsf_outfile_msole_new(memory);
    for (const auto& [name, data] : streams) {
        GsfOutput* child = gsf_outfile_new_child(root, name.c_str(), FALSE);
        gsf_output_write(child, data.size(), reinterpret_cast<const guint8*>(data.data()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    gsf_output_close(GSF_OUTPUT(root));
    g_object_unref(root);
    const std::string bytes(reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory))),
                            std::size_t(gsf_output_size(memory)));
    g_object_unref(memory);
    return bytes;
}

std::string serialize(const std::vector<Record>& list)
{
    std::string stream;
    for (const Record& r : list) {
        stream += char(r.type & 0xFF);
        stream += char(r.type >> 8);
        stream += char(r.body.size() & 0xFF);
        stream += char(r.body.size() >> 8);
        stream += r.body;
    }
    return stream;
}

// The same, with each BOUNDSHEET pointing at its sheet again after records moved.
std::string serializeMoved(std::vector<Record> list)
{
    std::vector<std::size_t> bofs;
    std::size_t position = 0;
    for (const Record& r : list) {
        if (r.type == rec::kBof && position > 0)
            bofs.push_back(position);
        position += 4 + r.body.size();
    }
    std::size_t sheet = 0;
    for (Record& r : list)
        if (r.type == rec::kBoundSheet && sheet < bofs.size())
            for (int k = 0; k < 4; ++k)
                r.body[std::size_t(k)] = char(bofs[sheet] >> (8 * k)), sheet += k == 3;
    return serialize(list);
}

// A small valid workbook stream: strings, numbers, merges, borders, one sheet.
std::string validStream()
{
    Workbook book = Workbook::create({"S"});
    Worksheet& sheet = book.sheet(0);
    for (int row = 1; row <= 40; ++row) {
        sheet.setText(row, 1, "点" + std::to_string(row));
        sheet.setNumber(row, 2, row * 1.25);
        sheet.setNumber(row, 3, row);
        sheet.setNumber(row, 4, row + 1);
    }
    sheet.merge({1, 5, 3, 5});
    sheet.setThinBorders({1, 1, 40, 6});
    std::string stream = book.workbookStream();
    return stream.substr(0, serialize(records(stream)).size());
}

// The message of the Error that reading `stream` gives, after its kind and detail:
// "Damaged 0x00FD@1234: a text cell ...".
std::string failure(const std::string& stream)
{
    try {
        Workbook::fromWorkbookStream(stream);
    } catch (const LimitError& e) {
        ADD_FAILURE() << "a LimitError: " << e.what();
    } catch (const Error& e) {
        return (e.kind() == Error::Kind::Damaged     ? "Damaged "
                : e.kind() == Error::Kind::Biff5     ? "Biff5 "
                : e.kind() == Error::Kind::Encrypted ? "Encrypted "
                                                     : "other ") +
               e.detail() + ": " + e.what();
    }
    return "no error";
}

std::string oleFailure(const std::string& file)
{
    try {
        Workbook::fromBytes(file);
    } catch (const Error& e) {
        return (e.kind() == Error::Kind::NotOle2            ? "NotOle2: "
                : e.kind() == Error::Kind::NoWorkbookStream ? "NoWorkbookStream: "
                : e.kind() == Error::Kind::Biff5            ? "Biff5: "
                : e.kind() == Error::Kind::Damaged          ? "Damaged: "
                                                            : "other: ") +
               std::string(e.what());
    }
    return "no error";
}

std::vector<Record> withChange(std::uint16_t type, const std::function<void(std::string&)>& change)
{
    std::vector<Record> list = records(validStream());
    for (Record& r : list)
        if (r.type == type) {
            change(r.body);
            break;
        }
    return list;
}

TEST(BadWorkbooks, TheContainerIsRefusedWithTheReason)
{
    EXPECT_NE(oleFailure(""), "no error");
    EXPECT_EQ(oleFailure("StationReadings,Reading\n1,1.5\n")
                  .rfind("NotOle2: not an Excel 97-2003 workbook: not an OLE2 "
                         "compound file",
                         0),
              0u);
    EXPECT_EQ(oleFailure(oleWith({{"Other", "x"}}))
                  .rfind("NoWorkbookStream: not an Excel 97-2003 workbook: no "
                         "Workbook stream",
                         0),
              0u);
    EXPECT_EQ(oleFailure(oleWith({{"Book", validStream()}})).rfind("Biff5: an Excel 5.0/95 (BIFF5)", 0), 0u);
    const std::string ole = oleWith({{"WORKBOOK", validStream()}});  // found whatever its case
    EXPECT_NO_THROW(Workbook::fromBytes(ole));
    EXPECT_NE(oleFailure(ole.substr(0, ole.size() / 2)), "no error");
}

TEST(BadWorkbooks, RecordsThatCannotBeTrustedAreRefused)
{
    const auto has = [](const std::string& message, const std::string& part) {
        return message.find(part) != std::string::npos;
    };
    std::vector<Record> biff5 = records(validStream());
    biff5[0].body[1] = 0x05;
    EXPECT_TRUE(has(failure(serialize(biff5)), "Biff5 : the workbook is in the Excel 5.0/95 (BIFF5) format"))
        << failure(serialize(biff5));

    std::vector<Record> encrypted = records(validStream());
    encrypted.insert(encrypted.begin() + 1, Record{rec::kFilePass, 0, std::string(54, '\x01')});
    EXPECT_TRUE(has(failure(serialize(encrypted)), "Encrypted : the workbook is encrypted"));

    std::string lying = validStream();
    lying[lying.size() - 1] = '\x7F';  // the last EOF claims more than is left
    EXPECT_TRUE(has(failure(lying), "Damaged 0x000A@")) << failure(lying);
    EXPECT_TRUE(has(failure(lying), "claims")) << failure(lying);

    std::vector<Record> shortLabel = withChange(rec::kLabelSst, [](std::string& body) { body.resize(8); });
    EXPECT_TRUE(has(failure(serialize(shortLabel)), "Damaged 0x00FD@")) << failure(serialize(shortLabel));
    EXPECT_TRUE(has(failure(serialize(shortLabel)), "too few for its type")) << failure(serialize(shortLabel));

    std::vector<Record> strayString = withChange(rec::kLabelSst, [](std::string& body) { body[6] = '\x50'; });
    EXPECT_TRUE(has(failure(serialize(strayString)), "refers to string")) << failure(serialize(strayString));

    std::vector<Record> lostSheet = withChange(rec::kBoundSheet, [](std::string& body) { body[0] ^= 0x10; });
    EXPECT_TRUE(has(failure(serialize(lostSheet)), "points to no sheet")) << failure(serialize(lostSheet));

    std::vector<Record> shortTable = withChange(rec::kSst, [](std::string& body) { body.resize(body.size() - 3); });
    EXPECT_TRUE(has(failure(serialize(shortTable)), "Damaged SST: the shared string table"))
        << failure(serialize(shortTable));

    std::vector<Record> wideColumns = withChange(rec::kMulRk, [](std::string& body) { body[body.size() - 2] = 9; });
    EXPECT_TRUE(has(failure(serialize(wideColumns)), "column range")) << failure(serialize(wideColumns));

    std::vector<Record> noEof = records(validStream());
    noEof.pop_back();
    EXPECT_TRUE(has(failure(serialize(noEof)), "Damaged EOF: ")) << failure(serialize(noEof));
    EXPECT_TRUE(has(failure(serialize(noEof)), "truncated")) << failure(serialize(noEof));
}

// Damage the fuzzers found: readable, and then written so that it reads back the same.
TEST(BadWorkbooks, OddButReadableStreamsWriteBackReadably)
{
    const auto roundTrip = [](const std::vector<Record>& list) {
        Workbook book = Workbook::fromWorkbookStream(serializeMoved(list));
        const std::string written = book.workbookStream();
        EXPECT_EQ(Workbook::fromWorkbookStream(written).workbookStream(), written);
    };
    // The same text cell twice, the strings of both kept in use.
    std::vector<Record> twice = records(validStream());
    for (std::size_t i = 0; i < twice.size(); ++i)
        if (twice[i].type == rec::kLabelSst) {
            Record copy = twice[i];
            copy.body[6] = 3;  // another string
            twice.insert(twice.begin() + std::ptrdiff_t(i) + 1, copy);
            break;
        }
    roundTrip(twice);
    // EXTSST before the SST, and a second SST.
    std::vector<Record> moved = records(validStream());
    for (std::size_t i = 0; i < moved.size(); ++i)
        if (moved[i].type == rec::kExtSst) {
            const Record ext = moved[i];
            moved.erase(moved.begin() + std::ptrdiff_t(i));
            moved.insert(moved.begin() + 2, ext);
            break;
        }
    for (std::size_t i = 0; i < moved.size(); ++i)
        if (moved[i].type == rec::kSst) {
            moved.insert(moved.begin() + std::ptrdiff_t(i) + 1, moved[i]);
            break;
        }
    roundTrip(moved);
    // No FORMAT or FONT record (every format built in): what an edit adds is written.
    std::vector<Record> bare = records(validStream());
    std::erase_if(bare, [](const Record& r) { return r.type == rec::kFormat || r.type == rec::kFont; });
    Workbook book = Workbook::fromWorkbookStream(serializeMoved(bare));
    book.sheet(0).setNumberFormat({1, 2, 1, 2}, "0.000");
    book.sheet(0).setFontColour({2, 2, 2, 2}, kRedFontColour);
    Workbook saved = Workbook::fromWorkbookStream(book.workbookStream());
    EXPECT_EQ(saved.sheet(0).numberFormat(1, 2), "0.000");
    EXPECT_EQ(saved.sheet(0).fontColour(2, 2), kRedFontColour);
    // No XF at all: nothing to give a cell.
    std::vector<Record> noFormats = records(validStream());
    std::erase_if(noFormats, [](const Record& r) { return r.type == rec::kXf; });
    EXPECT_NE(failure(serialize(noFormats)).find("no cell formats"), std::string::npos);
}

// Every truncation, and random damage, gives a workbook or an Error; run under
// AddressSanitizer this also shows no read outside the bytes.
TEST(BadWorkbooks, TruncatedAndDamagedStreamsNeverCrash)
{
    const std::string stream = validStream();
    for (std::size_t size = 0; size < stream.size(); ++size)
        EXPECT_NE(failure(stream.substr(0, size)), "no error") << size;
    std::mt19937 random(42);
    for (int round = 0; round < 1000; ++round) {
        std::string damaged = stream;
        for (int k = 0; k < 1 + round % 4; ++k)
            damaged[random() % damaged.size()] = char(random());
        try {
            Workbook book = Workbook::fromWorkbookStream(damaged);
            for (std::size_t s = 0; s < book.sheetCount(); ++s)
                for (int row = 1; row <= book.sheet(s).lastRow(); ++row)
                    book.sheet(s).value(row, 1);
            book.workbookStream();
        } catch (const Error&) {
        }
    }
}

}  // namespace
}  // namespace levara::xls
