// Writes the fuzzers' seed corpora: workbooks the engine makes, and the test
// fixtures (whole files for the OLE2 fuzzer, their Workbook streams for the stream
// fuzzer).
//
// usage: xls_fuzz_seeds STREAM_DIR OLE_DIR [FIXTURE_DIR...]
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "xls/container.h"
#include "xls/xls.h"

namespace {

namespace fs = std::filesystem;
using namespace levara::xls;

void write(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Without the zero padding: shorter inputs fuzz faster.
std::string trimmed(std::string stream)
{
    const std::size_t end = stream.find_last_not_of('\0');
    stream.resize(end == std::string::npos ? 0 : end + 1);
    return stream;
}

std::vector<std::pair<std::string, Workbook>> madeWorkbooks()
{
    std::vector<std::pair<std::string, Workbook>> books;
    books.emplace_back("empty", Workbook::create({"Sheet1"}));

    Workbook book = Workbook::create({"往测", "返测"});
    CellStyle heading;
    heading.font.bold = true;
    heading.thinBorders = true;
    heading.numberFormat = "0.00000";
    Worksheet& sheet = book.sheet(0);
    sheet.setColumns(1, 10, 9.5, book.addStyle(heading));
    sheet.setRowHeight(1, 24);
    PageSetup setup;
    setup.repeatFirstRow = 1;
    setup.repeatLastRow = 5;
    setup.fitToPageWidth = true;
    setup.footer = "&C第 &P 页";
    sheet.setPageSetup(setup);
    sheet.freezeRows(5);
    for (int k = 0; k < 40; ++k) {
        const int row = 6 + 3 * k;
        sheet.setNumber(row, 1, k + 1);
        sheet.setText(row, 2, "BM" + std::to_string(k));
        sheet.setNumber(row + 1, 3, 1.52345 + k);
        sheet.setNumber(row + 2, 4, 30.1);
        sheet.merge({row, 1, row + 2, 1});
        sheet.setThinBorders({row, 1, row + 2, 10});
    }
    std::string longText;
    for (int k = 0; k < 5000; ++k)
        longText += k % 2 ? "水" : "a";
    book.sheet(1).setText(1, 1, longText);
    book.sheet(1).setText(2, 1, std::string(9000, 'b'));
    books.emplace_back("stations", std::move(book));
    return books;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: xls_fuzz_seeds STREAM_DIR OLE_DIR [FIXTURE_DIR...]\n";
        return 2;
    }
    const fs::path streams = argv[1], oles = argv[2];
    fs::create_directories(streams);
    fs::create_directories(oles);
    for (auto& [name, book] : madeWorkbooks()) {
        write(streams / (name + ".bin"), trimmed(book.workbookStream()));
        write(oles / (name + ".xls"), book.toBytes());
    }
    for (int i = 3; i < argc; ++i) {
        std::size_t found = 0;
        for (const auto& entry : fs::directory_iterator(argv[i])) {
            if (entry.path().extension() != ".xls")
                continue;
            ++found;
            std::ifstream in(entry.path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            write(oles / entry.path().filename(), bytes.str());
            try {
                std::string stream;
                readOle(bytes.str(), stream);
                write(streams / (entry.path().stem().string() + ".bin"), stream);
            } catch (const Error&) {
            }
        }
        // A missing fixture folder would only thin the corpus, silently.
        if (found == 0) {
            std::cerr << "xls_fuzz_seeds: no workbooks in " << argv[i] << '\n';
            return 1;
        }
    }
    return 0;
}
