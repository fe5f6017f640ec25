#pragma once
// The commands of the menu, one per item, named as the menu names them. The window,
// levara-cli and the tests all run them through this class. A command that fails
// throws (levara::Error, levara::xls::Error) with a message for the user; the user's
// files are then left as they were.
#include <filesystem>
#include <string>

#include "books/books.h"
#include "commands/program_dir.h"
#include "records/records.h"
#include "commands/ui.h"

namespace levara {

class Commands {
public:
    // FilePosition: the program's own directory, which holds the temp folder.
    Commands(Ui& ui, std::filesystem::path FilePosition);

    const std::filesystem::path& FilePosition() const { return FilePosition_; }
    const TempFolder& temp() const { return temp_; }

    void open();          // "打开"
    void TXT();           // "原始文本"
    void BFFB();          // "水准线路"
    void rrz();           // "测中间点"
    void dandian();       // "单点测量"
    void bffbEXLE();      // "线路手薄(BFFB)"
    void bbffEXLE();      // "线路手薄(BBFF)"
    void bfbfEXLE();      // "线路手薄(BFBF)"
    void aBFFBwf();       // "线路手薄(aBFFB 双转往返)"
    void aBFFBL();        // "线路手薄(aBFFB 单一线路)"
    void bfEXLE();        // "线路手薄(BF)"
    void rrzEXLX();       // "中间点测量表格"
    void dandianEXCEL();  // "单点测量表格"

    void filter(RecordFilter filter);
    void saveWorkbook(books::Output output);

private:
    Ui& ui_;
    std::filesystem::path FilePosition_;
    TempFolder temp_;
};

// The text the open command shows for a raw file: its non-empty lines, each followed
// by CR LF. Throws FileError naming the file.
std::string readRawText(const std::filesystem::path& file);

// The message shown when a workbook output is saved with another type than EXCEL.
extern const char* const kNotExcelMessage;

}  // namespace levara
