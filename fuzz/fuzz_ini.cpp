// INI files of arbitrary bytes: reading must not fail, and writing one value
// must leave every other readable value as it was.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "runtime/fixed_text.h"
#include "runtime/ini_file.h"

namespace {

using Values = std::map<std::pair<std::string, std::string>, std::string>;

// Everything a reader can see, keyed by upper-cased section and key.
Values readAll(const plorix::IniFile& ini) {
    Values values;
    for (const std::string& section : ini.sections())
        for (const std::string& key : ini.keys(section))
            values[{plorix::toUpper(section), plorix::toUpper(key)}] = ini.getString(section, key);
    return values;
}

void check(bool condition) {
    if (!condition) std::abort();
}

const std::string& workFile() {
    static const std::string path = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "plorix-fuzz-ini-XXXXXX").string();
        check(::mkdtemp(folder.data()) != nullptr);
        static std::string made = folder;
        std::atexit([] { std::filesystem::remove_all(made); });
        return folder + "/fuzz.ini";
    }();
    return path;
}

// Writes one value, then checks it reads back and nothing else moved.
void putAndCheck(plorix::IniFile& ini, const std::string& section, const std::string& key) {
    const Values before = readAll(ini);
    if (!ini.putString(section, key, "fuzz value")) return;
    check(ini.getString(section, key) == "fuzz value");
    Values after = readAll(ini);
    after.erase({plorix::toUpper(plorix::trim(section)), plorix::toUpper(plorix::trim(key))});
    for (const auto& [name, value] : after) {
        const auto old = before.find(name);
        check(old == before.end() || old->second == value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = workFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    plorix::IniFile ini(path);
    const auto sections = ini.sections();
    ini.getInt("Settings", "Debug", 0);
    if (!sections.empty()) {
        const auto keys = ini.keys(sections.front());
        if (!keys.empty()) putAndCheck(ini, sections.front(), keys.front());
        putAndCheck(ini, sections.back(), "FuzzNewKey");
        ini.removeKey(sections.front(), keys.empty() ? "x" : keys.back());
    }
    putAndCheck(ini, "Fuzz New Section", "Key");
    ini.removeSection(sections.empty() ? "Settings" : sections.back());
    std::filesystem::remove(path);
    return 0;
}
