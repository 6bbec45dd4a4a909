#pragma once
// Script files (".pxs"): one comma-separated line per script item, six
// quoted fields (the action name and five parameters), CR LF line ends.
// Export, import and the "Start Script" item all read and write them here.

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "io/replacing_file.h"
#include "store/error.h"
#include "data/tables/scripting.h"

namespace plorix::script {

inline constexpr std::size_t kScriptTypeWidth = 20;
inline constexpr std::size_t kScriptFieldWidth = 80;
inline constexpr std::size_t kScriptFieldCount = 5;
// The longest line the reader takes; a longer one is a read error.
inline constexpr std::size_t kMaxScriptLine = 16000;
inline constexpr std::string_view kScriptFileExtension = ".pxs";

struct ScriptFileRecord {
    std::string type;                                   // the action name, at most 20 characters
    std::array<std::string, kScriptFieldCount> fields;  // at most 80 characters each
    friend bool operator==(const ScriptFileRecord&, const ScriptFileRecord&) = default;
};

// The record of an item by the parameter mapping; false (record untouched)
// for an action that script files do not carry.
bool recordFromItem(const data::Scripting& item, ScriptFileRecord& record);

// Fills an item from a record: SCR:ACTION from the type (a DDE type becomes
// "DDE") and the mapped fields; other fields are left as they are. False
// when the type is no action that script files carry; the action is then
// the type as written and no parameter is mapped.
bool itemFromRecord(const ScriptFileRecord& record, data::Scripting& item);

// Whether a file type names an action the file format knows.
bool isScriptFileAction(std::string_view type);

// One line, CR LF included.
std::string formatScriptLine(const ScriptFileRecord& record);
// Reads one line (without its line end). Missing fields are empty, fields
// beyond the sixth are ignored, fields are cut to their widths, and bytes
// that are not UTF-8 are taken as Latin-1 characters. False for a line that
// is no script record: an unclosed quote or a NUL byte.
bool parseScriptLine(std::string_view line, ScriptFileRecord& record);

// Reads a script file record by record, reporting how far it has got.
class ScriptFileReader {
public:
    enum class Read { Record, End, Error };

    // 0, or the store's code for the failure (2 file not found, 5 access
    // denied, 90 other); error() tells more.
    int open(const std::string& path);
    // The next record; blank lines are passed over. After Error the reader
    // stands after the bad line.
    Read next(ScriptFileRecord& record);
    const store::ErrorState& error() const { return error_; }

    std::uint64_t bytesRead() const { return bytesRead_; }
    std::uint64_t size() const { return size_; }
    // bytesRead against size, at most 100.
    int percent() const;

private:
    std::ifstream in_;
    std::uint64_t bytesRead_ = 0;
    std::uint64_t size_ = 0;
    store::ErrorState error_;
};

// Appends records to a script file, creating it when missing. The records
// go to a copy of the file that replaces it when closed, so a failed export
// leaves the file as it was. A data, settings or log file of the program is
// refused (5).
class ScriptFileWriter {
public:
    int open(const std::string& path);           // 0, or 5 / 90 as for the reader
    int append(const ScriptFileRecord& record);  // 0 or 90
    int close();                                 // 0 or 90: the file replaced
    void discard();                              // the file left as it was
    const store::ErrorState& error() const { return error_; }

private:
    io::ReplacingFile out_;
    store::ErrorState error_;
};

}  // namespace plorix::script
