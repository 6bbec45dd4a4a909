// Script files of arbitrary bytes: reading must end without failing, every
// record read must survive writing and reading again, and every item made
// from a record must give a record of the same action back.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/fixed_text.h"
#include "script/script_file.h"

namespace {

using plorix::script::ScriptFileRecord;

void check(bool condition) {
    if (!condition) std::abort();
}

const std::string& workFile() {
    static const std::string path = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "plorix-fuzz-script-XXXXXX").string();
        check(::mkdtemp(folder.data()) != nullptr);
        static std::string made = folder;
        std::atexit([] { std::filesystem::remove_all(made); });
        return folder + "/fuzz.pxs";
    }();
    return path;
}

ScriptFileRecord clipped(ScriptFileRecord record) {
    record.type = plorix::clip(record.type);
    for (std::string& field : record.fields) field = plorix::clip(field);
    return record;
}

void checkRecord(const ScriptFileRecord& record) {
    check(plorix::characterCount(record.type) <= plorix::script::kScriptTypeWidth);
    std::string line = plorix::script::formatScriptLine(record);
    check(line.size() >= 2 && line.substr(line.size() - 2) == "\r\n");
    line.resize(line.size() - 2);
    ScriptFileRecord again;
    check(plorix::script::parseScriptLine(line, again));
    check(clipped(again) == clipped(record));

    plorix::data::Scripting item;
    if (plorix::script::itemFromRecord(record, item)) {
        ScriptFileRecord back;
        check(plorix::script::recordFromItem(item, back));
        check(plorix::script::isScriptFileAction(back.type));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ScriptFileRecord record;
    if (plorix::script::parseScriptLine(bytes, record)) checkRecord(record);

    const std::string& path = workFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    plorix::script::ScriptFileReader reader;
    check(reader.open(path) == 0);
    std::size_t reads = 0;
    for (;;) {
        const auto read = reader.next(record);
        if (read == plorix::script::ScriptFileReader::Read::End) break;
        check(++reads <= size);
        if (read == plorix::script::ScriptFileReader::Read::Record) checkRecord(record);
    }
    check(reader.bytesRead() == size && reader.percent() == 100);
    return 0;
}
