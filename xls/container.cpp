#include "xls/container.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <strings.h>

#include "xls/gsf_library.h"
#include "xls/xls.h"

namespace levara::xls {

namespace {

// What libgsf says through GLib's log while this thread reads or writes a container:
// kept for the engine's error rather than printed on stderr beside the program's own
// line. Other GLib logging goes to GLib's own writer as before.
thread_local std::string* logKept = nullptr;

// Loaded by readOle and writeOle before anything below runs.
const GsfLibrary& gsf() { return gsfLibrary(); }

GLogWriterOutput keepLog(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer)
{
    if (!logKept)
        return gsfLibrary().logWriterDefault(level, fields, count, nullptr);
    for (gsize i = 0; i < count; ++i) {
        if (std::strcmp(fields[i].key, "MESSAGE") != 0 || !fields[i].value)
            continue;
        const auto* text = static_cast<const char*>(fields[i].value);
        if (!logKept->empty())
            logKept->append("; ");
        std::string line = fields[i].length < 0 ? std::string(text) : std::string(text, std::size_t(fields[i].length));
        // One line: libgsf breaks its longer remarks.
        std::replace(line.begin(), line.end(), '\n', ' ');
        logKept->append(line);
    }
    return G_LOG_WRITER_HANDLED;
}

// libgsf, loaded and started once.
const GsfLibrary& startGsf()
{
    const GsfLibrary& gsf = gsfLibrary();
    static std::once_flag once;
    std::call_once(once, [&] {
        gsf.logSetWriterFunc(keepLog, nullptr, nullptr);
        gsf.init();
    });
    return gsf;
}

class LogKept {
public:
    LogKept() : outer_(logKept) { logKept = &text_; }
    ~LogKept() { logKept = outer_; }
    LogKept(const LogKept&) = delete;
    LogKept& operator=(const LogKept&) = delete;
    const std::string& text() const { return text_; }

private:
    std::string* outer_;
    std::string text_;
};

// Releases a GObject on scope exit.
template <typename T>
struct Ref {
    T* object = nullptr;
    explicit Ref(T* o) : object(o) {}
    ~Ref()
    {
        if (object)
            gsfLibrary().objectUnref(object);
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
};

std::string readStream(GsfInput* input, const char* name)
{
    const gsf_off_t size = gsf().inputSize(input);
    if (size < 0)
        throw Error(Error::Kind::Damaged, name, std::string("cannot read the ") + name + " stream");
    std::string data(std::size_t(size), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        const std::size_t chunk = std::min<std::size_t>(data.size() - done, 1 << 20);
        if (!gsf().inputRead(input, chunk, reinterpret_cast<guint8*>(data.data() + done)))
            throw Error(Error::Kind::Damaged, name, std::string("the ") + name + " stream is truncated or damaged");
        done += chunk;
    }
    return data;
}

void readChildren(GsfInfile* storage, std::vector<OleEntry>& entries, int depth)
{
    if (depth > 32)
        throw Error(Error::Kind::Damaged, "OLE2", "the compound file nests storages too deeply");
    const int count = gsf().infileNumChildren(storage);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf().infileNameByIndex(storage, i);
        Ref<GsfInput> child(gsf().infileChildByIndex(storage, i));
        if (!child.object || !name)
            throw Error(Error::Kind::Damaged, "OLE2", "the compound file has an unreadable entry");
        OleEntry entry;
        entry.name = name;
        auto* instance = reinterpret_cast<GTypeInstance*>(child.object);
        auto* childStorage = reinterpret_cast<GsfInfile*>(child.object);
        if (gsf().isA(instance, gsf().infileType()) && gsf().infileNumChildren(childStorage) >= 0) {
            entry.storage = true;
            if (gsf().isA(instance, gsf().infileMsoleType()))
                gsf().infileMsoleGetClassId(reinterpret_cast<GsfInfileMSOle*>(child.object), entry.classId.data());
            readChildren(childStorage, entry.children, depth + 1);
        } else {
            entry.data = readStream(child.object, name);
        }
        entries.push_back(std::move(entry));
    }
}

void writeStream(GsfOutfile* parent, const std::string& name, std::string_view data)
{
    Ref<GsfOutput> child(gsf().outfileNewChild(parent, name.c_str(), FALSE));
    if (!child.object)
        throw Error(Error::Kind::Unwritable, name, "cannot add " + name + " to the compound file");
    if (!data.empty() && !gsf().outputWrite(child.object, data.size(), reinterpret_cast<const guint8*>(data.data())))
        throw Error(Error::Kind::Unwritable, name, "cannot write " + name + " to the compound file");
    if (!gsf().outputClose(child.object))
        throw Error(Error::Kind::Unwritable, name, "cannot finish " + name + " in the compound file");
}

void writeEntry(GsfOutfile* parent, const OleEntry& entry)
{
    if (!entry.storage) {
        writeStream(parent, entry.name, entry.data);
        return;
    }
    Ref<GsfOutput> child(gsf().outfileNewChild(parent, entry.name.c_str(), TRUE));
    if (!child.object)
        throw Error(Error::Kind::Unwritable, entry.name, "cannot add " + entry.name + " to the compound file");
    gsf().outfileMsoleSetClassId(reinterpret_cast<GsfOutfileMSOle*>(child.object), entry.classId.data());
    for (const OleEntry& grandChild : entry.children)
        writeEntry(reinterpret_cast<GsfOutfile*>(child.object), grandChild);
    if (!gsf().outputClose(child.object))
        throw Error(Error::Kind::Unwritable, entry.name, "cannot finish " + entry.name + " in the compound file");
}

OleFile readOleLogged(std::string_view file, std::string& workbookStream)
{
    Ref<GsfInput> input(
        gsf().inputMemoryNew(reinterpret_cast<const guint8*>(file.data()), gsf_off_t(file.size()), FALSE));
    GError* error = nullptr;
    Ref<GsfInfile> ole(gsf().infileMsoleNew(input.object, &error));
    if (!ole.object) {
        const std::string reason = error && error->message ? error->message : "unknown reason";
        if (error)
            gsf().errorFree(error);
        throw Error(Error::Kind::NotOle2, "",
                    "not an Excel 97-2003 workbook: not an OLE2 compound file (" + reason + ")");
    }
    OleFile result;
    gsf().infileMsoleGetClassId(reinterpret_cast<GsfInfileMSOle*>(ole.object), result.classId.data());
    std::vector<OleEntry> entries;
    readChildren(ole.object, entries, 0);

    bool found = false, biff5 = false;
    for (OleEntry& entry : entries) {
        if (!entry.storage && strcasecmp(entry.name.c_str(), "Workbook") == 0 && !found) {
            workbookStream = std::move(entry.data);
            found = true;
            continue;
        }
        if (!entry.storage && strcasecmp(entry.name.c_str(), "Book") == 0)
            biff5 = true;
        result.entries.push_back(std::move(entry));
    }
    if (!found && biff5)
        throw Error(Error::Kind::Biff5, "",
                    "an Excel 5.0/95 (BIFF5) workbook; only Excel 97-2003 (BIFF8) workbooks can be used");
    if (!found)
        throw Error(Error::Kind::NoWorkbookStream, "", "not an Excel 97-2003 workbook: no Workbook stream in the file");
    return result;
}

}  // namespace

OleFile readOle(std::string_view file, std::string& workbookStream)
{
    startGsf();
    const LogKept log;
    try {
        return readOleLogged(file, workbookStream);
    } catch (const Error& error) {
        if (log.text().empty())
            throw;
        // What libgsf found is the detail the user may need.
        const std::string detail = error.detail().empty() ? log.text() : error.detail() + "; " + log.text();
        throw Error(error.kind(), detail, std::string(error.what()) + " (" + log.text() + ")");
    }
}

std::string writeOle(const OleFile& ole, std::string workbookStream)
{
    startGsf();
    const LogKept log;
    Ref<GsfOutput> memory(gsf().outputMemoryNew());
    {
        Ref<GsfOutfile> root(gsf().outfileMsoleNew(memory.object));
        if (!root.object)
            throw Error(Error::Kind::Unwritable, "OLE2", "cannot make the compound file");
        gsf().outfileMsoleSetClassId(reinterpret_cast<GsfOutfileMSOle*>(root.object), ole.classId.data());
        writeStream(root.object, "Workbook", workbookStream);
        std::string().swap(workbookStream);
        for (const OleEntry& entry : ole.entries)
            writeEntry(root.object, entry);
        if (!gsf().outputClose(reinterpret_cast<GsfOutput*>(root.object)))
            throw Error(Error::Kind::Unwritable, "OLE2", "cannot finish the compound file");
    }
    const gsf_off_t size = gsf().outputSize(memory.object);
    const guint8* bytes = gsf().outputMemoryGetBytes(reinterpret_cast<GsfOutputMemory*>(memory.object));
    // Closing the compound file closed the memory output under it too.
    return std::string(reinterpret_cast<const char*>(bytes), std::size_t(size));
}

OleFile newExcelOle()
{
    // 00020820-0000-0000-C000-000000000046, as stored (little-endian fields).
    OleFile ole;
    ole.classId = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    return ole;
}

}  // namespace levara::xls
