#include "runtime/ini_file.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "runtime/file_names.h"
#include "runtime/fixed_text.h"
#include "runtime/whole_file.h"

namespace plorix {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One line of the file with its own ending ("\r\n", "\n", or "" for a last
// line without one), so that untouched lines are written back byte for byte.
struct Line {
    std::string text;
    std::string ending;
};

struct Document {
    std::vector<Line> lines;
    std::string newLine = "\r\n";  // the ending given to lines we add

    explicit Document(const std::string& content) {
        std::size_t pos = 0;
        bool endingChosen = false;
        while (pos < content.size()) {
            const std::size_t lf = content.find('\n', pos);
            Line line;
            if (lf == std::string::npos) {
                line.text = content.substr(pos);
                pos = content.size();
                // A last line cut off between CR and LF: the CR is no part of its value.
                if (!line.text.empty() && line.text.back() == '\r') {
                    line.text.pop_back();
                    line.ending = "\r";
                }
            } else {
                line.text = content.substr(pos, lf - pos);
                line.ending = "\n";
                if (!line.text.empty() && line.text.back() == '\r') {
                    line.text.pop_back();
                    line.ending = "\r\n";
                }
                pos = lf + 1;
                if (!endingChosen) newLine = line.ending;
                endingChosen = true;
            }
            lines.push_back(std::move(line));
        }
    }

    std::string serialise() const {
        std::string out;
        for (const Line& line : lines) out += line.text + line.ending;
        return out;
    }

    // The text a reader sees: a byte-order mark before the first line is no part of it.
    std::string_view visible(std::size_t index) const {
        std::string_view text = lines[index].text;
        if (index == 0 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            text.remove_prefix(kByteOrderMark.size());
        return text;
    }

    // Inserts a line at `index`, first completing the ending of the line before
    // it when the file stopped short of one.
    void insert(std::size_t index, std::string text) {
        if (index > 0 && lines[index - 1].ending.size() < 2 && lines[index - 1].ending != "\n")
            lines[index - 1].ending = newLine;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), Line{std::move(text), newLine});
    }
};

// Blanks, tabs and stray CRs (of files cut off or written with CR CR LF)
// surround names and values without being part of them.
std::string_view trimView(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    const auto end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

// "[Name]" gives Name; other lines nothing.
std::optional<std::string_view> sectionOf(std::string_view line) {
    line = trimView(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimView(line.substr(1, close - 1));
}

// "key=value" gives key; comments and lines without "=" nothing.
std::optional<std::string_view> keyOf(std::string_view line) {
    const std::string_view trimmed = trimView(line);
    if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = trimView(line.substr(0, equals));
    if (key.empty()) return std::nullopt;
    return key;
}

// Lines [header, end) of the first section with that name; header = npos when absent.
struct Range {
    std::size_t header = std::string::npos;
    std::size_t end = 0;
};

Range findSection(const Document& doc, std::string_view section) {
    Range range;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const auto name = sectionOf(doc.visible(i));
        if (!name) continue;
        if (range.header != std::string::npos) {
            range.end = i;
            return range;
        }
        if (equalNoCase(*name, trimView(section))) range.header = i;
    }
    range.end = doc.lines.size();
    return range;
}

std::optional<std::size_t> findKey(const Document& doc, Range range, std::string_view key) {
    if (range.header == std::string::npos) return std::nullopt;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto name = keyOf(doc.visible(i));
        if (name && equalNoCase(*name, trimView(key))) return i;
    }
    return std::nullopt;
}

Document load(const std::string& path) {
    return Document(readWholeFile(findFileNoCase(path)).value_or(std::string()));
}

bool storable(std::string_view name, std::string_view forbidden) {
    name = trimView(name);
    return !name.empty() && name.find_first_of(forbidden) == std::string_view::npos;
}

// Adds a name unless the list holds it already in some letter case.
void addOnce(std::vector<std::string>& names, std::string_view name) {
    for (const std::string& known : names)
        if (equalNoCase(known, name)) return;
    names.emplace_back(name);
}

// Read-change-write of one file must not interleave between two threads
// of this process (window positions are saved from several windows).
std::mutex& writeLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    const Document doc = load(path_);
    const auto line = findKey(doc, findSection(doc, section), key);
    if (!line) return std::nullopt;
    const std::string_view text = doc.visible(*line);
    return std::string(trimView(text.substr(text.find('=') + 1)));
}

std::string IniFile::getString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
    auto value = find(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

int IniFile::getInt(std::string_view section, std::string_view key, int fallback) const {
    const auto value = find(section, key);
    if (!value) return fallback;
    std::string_view digits = *value;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    long long number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || number < INT_MIN || number > INT_MAX) return fallback;
    return static_cast<int>(number);
}

bool IniFile::putString(std::string_view section, std::string_view key, std::string_view value) {
    if (!storable(section, "]\r\n") || !storable(key, "=\r\n") || trimView(key).front() == '[' ||
        trimView(key).front() == ';')
        return false;
    std::string cleanValue(value);
    for (char& c : cleanValue)
        if (c == '\r' || c == '\n') c = ' ';

    std::lock_guard guard(writeLock());
    const std::string path = findFileNoCase(path_);
    const std::string before = readWholeFile(path).value_or(std::string());
    Document doc(before);
    const Range range = findSection(doc, section);
    if (const auto line = findKey(doc, range, key)) {
        // Keep the key as the file spells it, and anything before the "=".
        std::string& text = doc.lines[*line].text;
        text = text.substr(0, text.find('=') + 1) + cleanValue;
    } else if (range.header != std::string::npos) {
        // New keys go after the section's last non-blank line, so a blank
        // line separating it from the next section stays where it is.
        std::size_t at = range.end;
        while (at > range.header + 1 && trimView(doc.lines[at - 1].text).empty()) --at;
        doc.insert(at, std::string(trimView(key)) + "=" + cleanValue);
    } else {
        if (!doc.lines.empty() && !trimView(doc.visible(doc.lines.size() - 1)).empty())
            doc.insert(doc.lines.size(), "");
        doc.insert(doc.lines.size(), "[" + std::string(trimView(section)) + "]");
        doc.insert(doc.lines.size(), std::string(trimView(key)) + "=" + cleanValue);
    }
    const std::string after = doc.serialise();
    return after == before || writeFileAtomically(path, after);
}

bool IniFile::putInt(std::string_view section, std::string_view key, long long value) {
    return putString(section, key, std::to_string(value));
}

bool IniFile::removeKey(std::string_view section, std::string_view key) {
    std::lock_guard guard(writeLock());
    const std::string path = findFileNoCase(path_);
    Document doc(readWholeFile(path).value_or(std::string()));
    const auto line = findKey(doc, findSection(doc, section), key);
    if (!line) return true;
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*line));
    return writeFileAtomically(path, doc.serialise());
}

bool IniFile::removeSection(std::string_view section) {
    std::lock_guard guard(writeLock());
    const std::string path = findFileNoCase(path_);
    Document doc(readWholeFile(path).value_or(std::string()));
    const Range range = findSection(doc, section);
    if (range.header == std::string::npos) return true;
    doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(range.header),
                    doc.lines.begin() + static_cast<std::ptrdiff_t>(range.end));
    return writeFileAtomically(path, doc.serialise());
}

std::vector<std::string> IniFile::sections() const {
    const Document doc = load(path_);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        const auto name = sectionOf(doc.visible(i));
        if (!name) continue;
        addOnce(names, *name);
    }
    return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    const Document doc = load(path_);
    const Range range = findSection(doc, section);
    std::vector<std::string> names;
    if (range.header == std::string::npos) return names;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto name = keyOf(doc.visible(i));
        if (!name) continue;
        addOnce(names, *name);
    }
    return names;
}

std::string winIniPath() {
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.config";
    } else {
        base = ".config";
    }
    return base + "/plorix/WIN.INI";
}

}  // namespace plorix
