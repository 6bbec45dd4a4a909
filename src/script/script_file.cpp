#include "script/script_file.h"

#include "io/exchange_files.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <limits>

#include "io/csv_line.h"
#include "io/exchange_files.h"
#include "runtime/file_names.h"
#include "runtime/fixed_text.h"
#include "script/action_names.h"

namespace plorix::script {

namespace {

// Which item field each of the five parameters carries, per action. Field
// names are those of the Scripting table without the prefix.
struct FileMapping {
    std::string_view action;
    std::array<std::string_view, kScriptFieldCount> fields;
};

constexpr FileMapping kMappings[] = {
    {kCloseProgram, {"COMMAND"}},
    {kDisplayMessage, {"DDEAPPLICATIONNAME", "DDEAPPLICATIONTOPIC"}},
    {kStartProgram, {"COMMAND", "PATH", "DDEAPPLICATIONNAME", "TIMEELAPSED"}},
    {kSendKeystrokes, {"KEYSTROKES"}},
    {kDde, {"DDETYPE", "DDEAPPLICATIONNAME", "DDEAPPLICATIONTOPIC", "DDELINKITEM", "DDECOMMAND"}},
    {kSetFocus, {"FOCUSONWINDOW", "WAITFORWINDOW"}},
    {kWait, {"SECONDSTOWAIT", "WAITFORWINDOW", "DDEAPPLICATIONNAME", "FOCUSONWINDOW"}},
    {kIfWindow, {"WINDOWEXISTANCE", "WINDOWTITLETOCHECKFOR", "FOCUSONWINDOW"}},
    {kIfTimeElapsed, {"IFTIMEELAPSED", "TIMEELAPSED"}},
    {kEndIf, {}},
    {kExitScript, {}},
    {kFileActions, {"DDETYPE", "COMMAND", "PATH"}},
    {kSendEmail, {"EMAILID"}},
    {kSetValue, {"PATH", "COMMAND"}},
    {kIfValue, {"COMMAND", "WINDOWTITLETOCHECKFOR", "WAITFORWINDOW"}},
    {kStartScript, {"COMMAND", "PATH"}},
};

// Both spellings of a DDE item share one mapping; on file they appear as
// "DDE" or as the long name cut to the type's width.
bool isDdeName(std::string_view name, std::size_t width) {
    return name == kDde || name == cutToWidth(kDdeLong, width);
}

const FileMapping* mappingFor(std::string_view name, std::size_t width) {
    if (isDdeName(name, width)) name = kDde;
    for (const FileMapping& m : kMappings)
        if (m.action == name) return &m;
    return nullptr;
}

const store::FieldDesc& scriptingField(std::string_view column) {
    const store::TableSchema& schema = data::Scripting::schema();
    return schema.fields[static_cast<std::size_t>(schema.fieldIndex(column))];
}

// A number as users may have written it: leading blanks, a sign, digits;
// anything else reads as 0, and out-of-range values are held at the limits.
std::int64_t leadingNumber(std::string_view text) {
    text = text.substr(std::min(text.find_first_not_of(' '), text.size()));
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range)
        return !text.empty() && text.front() == '-' ? std::numeric_limits<std::int32_t>::min()
                                                    : std::numeric_limits<std::int32_t>::max();
    if (error != std::errc()) return 0;
    return std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
}

// Length of the valid UTF-8 sequence at text[i], 0 when there is none.
std::size_t utf8SequenceAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, minimum = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, minimum = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, minimum = 0x10000;
    else
        return 0;
    if (i + length > text.size()) return 0;
    unsigned code = lead & (0xFFu >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Files written elsewhere may be in Latin-1: each byte that does not start a
// valid UTF-8 sequence is taken as the Latin-1 character of that value.
std::string asUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = utf8SequenceAt(text, i)) {
            out.append(text.substr(i, n));
            i += n;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i++]);
        out += static_cast<char>(0xC0 | (byte >> 6));
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
    return out;
}

store::ErrorState fileError(int errorNumber) {
    store::ErrorState error;
    error.code = errorNumber == ENOENT || errorNumber == ENOTDIR ? store::kFileNotFound
                 : errorNumber == EACCES || errorNumber == EPERM ? store::kAccessDenied
                                                                 : store::kFileSystemError;
    error.text = store::errorText(error.code);
    if (error.code == store::kFileSystemError) {
        error.driverCode = errorNumber;
        error.driverText = std::strerror(errorNumber);
    }
    return error;
}

}  // namespace

bool isScriptFileAction(std::string_view type) { return mappingFor(clip(type), kScriptTypeWidth) != nullptr; }

bool recordFromItem(const data::Scripting& item, ScriptFileRecord& record) {
    const std::string action = clip(item.ACTION.str());
    const FileMapping* mapping = mappingFor(action, action.size());
    if (mapping == nullptr) return false;
    record = {};
    record.type = cutToWidth(action, kScriptTypeWidth);
    for (std::size_t i = 0; i < kScriptFieldCount; ++i) {
        if (mapping->fields[i].empty()) continue;
        const store::FieldDesc& field = scriptingField(mapping->fields[i]);
        record.fields[i] = store::isText(field.kind)
                               ? cutToWidth(store::fieldText(field, &item).str(), kScriptFieldWidth)
                               : std::to_string(store::fieldInt(field, &item));
    }
    return true;
}

bool itemFromRecord(const ScriptFileRecord& record, data::Scripting& item) {
    const std::string type = clip(record.type);
    const FileMapping* mapping = mappingFor(type, kScriptTypeWidth);
    if (mapping == nullptr) {
        item.ACTION = type;
        return false;
    }
    item.ACTION = mapping->action;
    for (std::size_t i = 0; i < kScriptFieldCount; ++i) {
        if (mapping->fields[i].empty()) continue;
        const store::FieldDesc& field = scriptingField(mapping->fields[i]);
        if (store::isText(field.kind))
            store::setFieldText(field, &item, record.fields[i]);
        else
            store::setFieldInt(field, &item, leadingNumber(record.fields[i]));
    }
    return true;
}

std::string formatScriptLine(const ScriptFileRecord& record) {
    io::CsvLineWriter writer;
    writer.append(cutToWidth(record.type, kScriptTypeWidth), io::CsvForm::Text);
    for (const std::string& field : record.fields)
        writer.append(cutToWidth(field, kScriptFieldWidth), io::CsvForm::Text);
    return writer.line() + "\r\n";
}

bool parseScriptLine(std::string_view line, ScriptFileRecord& record) {
    if (line.find('\0') != std::string_view::npos) return false;
    io::CsvLineReader reader(line);
    ScriptFileRecord parsed;
    std::string field;
    for (std::size_t index = 0; reader.next(field) != io::CsvLineReader::kNone; ++index) {
        if (index == 0)
            parsed.type = cutToWidth(asUtf8(field), kScriptTypeWidth);
        else if (index <= kScriptFieldCount)
            parsed.fields[index - 1] = cutToWidth(asUtf8(field), kScriptFieldWidth);
    }
    if (reader.unbalanced()) return false;
    record = std::move(parsed);
    return true;
}

int ScriptFileReader::open(const std::string& path) {
    in_.close();
    in_.clear();
    bytesRead_ = 0;
    size_ = 0;
    error_ = {};
    const std::string name = normaliseSeparators(path);
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec)) {
        error_ = fileError(EISDIR);
        return error_.code;
    }
    errno = 0;
    in_.open(name, std::ios::binary);
    if (!in_) {
        error_ = fileError(errno != 0 ? errno : ENOENT);
        return error_.code;
    }
    const auto size = std::filesystem::file_size(name, ec);
    size_ = ec ? 0 : static_cast<std::uint64_t>(size);
    return 0;
}

ScriptFileReader::Read ScriptFileReader::next(ScriptFileRecord& record) {
    for (;;) {
        if (!in_.is_open() || in_.peek() == std::char_traits<char>::eof()) return Read::End;
        // Read up to the line end without holding more than a line's worth,
        // whatever the file holds.
        std::string line;
        bool tooLong = false;
        for (int c; (c = in_.get()) != std::char_traits<char>::eof();) {
            ++bytesRead_;
            if (c == '\n') break;
            if (line.size() <= kMaxScriptLine)
                line += static_cast<char>(c);
            else
                tooLong = true;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (tooLong || line.size() > kMaxScriptLine || !parseScriptLine(line, record)) {
            error_ = {};
            error_.code = store::kRecordNotFound;
            error_.text = tooLong || line.size() > kMaxScriptLine
                              ? "Line longer than " + std::to_string(kMaxScriptLine) + " characters"
                              : "Not a script file line";
            return Read::Error;
        }
        if (!clip(record.type).empty() || std::any_of(record.fields.begin(), record.fields.end(),
                                                      [](const std::string& f) { return !clip(f).empty(); }))
            return Read::Record;
        // A blank line: passed over.
    }
}

int ScriptFileReader::percent() const {
    if (size_ == 0) return 100;
    return static_cast<int>(std::min<std::uint64_t>(100, bytesRead_ * 100 / size_));
}

int ScriptFileWriter::open(const std::string& path) {
    error_ = {};
    const std::string file = normaliseSeparators(path);
    if (std::string why = io::protectedFile(file, io::Replacement::Export); !why.empty()) {
        error_.code = store::kAccessDenied;
        error_.text = std::move(why);
        return error_.code;
    }
    if (const int error = out_.open(file, true)) {
        error_ = fileError(error);
        return error_.code;
    }
    return 0;
}

int ScriptFileWriter::append(const ScriptFileRecord& record) {
    const std::string line = formatScriptLine(record);
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), out_.stream()) != line.size() ||
        std::fflush(out_.stream()) != 0) {
        error_ = fileError(errno != 0 ? errno : EIO);
        return error_.code;
    }
    return 0;
}

int ScriptFileWriter::close() {
    if (const int error = out_.commit()) {
        error_ = fileError(error);
        return error_.code;
    }
    return 0;
}

void ScriptFileWriter::discard() { out_.discard(); }

}  // namespace plorix::script
