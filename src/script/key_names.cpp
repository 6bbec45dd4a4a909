#include "script/key_names.h"

#include <array>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/keyboard.h"
#include "runtime/fixed_text.h"

namespace plorix::script {

namespace {

// The vocabulary as data. A row names one key, or a series of keys whose
// names run through digits or letters and whose codes run alongside:
// {"PAD", 0, 9} is PAD0 (code) to PAD9 (code + 9).
enum class Group {
    Base,       // only with a modifier prefix (SHIFTA, CTRLHOME, ALTMOUSELEFT ...)
    KeyDigit,   // KEY0, KEYPAD0 ...
    LetterKey,  // AKEY ... ZKEY
    NameKey,    // BSKEY, F1KEY ...
    Short,      // ENTER, TAB, F1 ...
    Mouse,
    Pause,
};

struct KeyRow {
    Group group;
    std::string_view prefix;
    int from = 0, to = -1;  // series range; to < from: a single name
    bool letters = false;   // the series runs through letters from 'A' + from
    std::string_view suffix;
    int code = 0;
};

using platform::kMouseCentre;
using platform::kMouseCentreDouble;
using platform::kMouseLeft;
using platform::kMouseLeftDouble;
using platform::kMouseRight;
using platform::kMouseRightDouble;

constexpr KeyRow kRows[] = {
    // Base keys (86 names).
    {Group::Base, "", 0, 9, false, "", 48},
    {Group::Base, "PAD", 0, 9, false, "", 96},
    {Group::Base, "", 0, 25, true, "", 65},
    {Group::Base, "F", 1, 12, false, "", 112},
    {Group::Base, "AST", 0, -1, false, "", 106},
    {Group::Base, "PLUS", 0, -1, false, "", 107},
    {Group::Base, "MINUS", 0, -1, false, "", 109},
    {Group::Base, "DECIMAL", 0, -1, false, "", 110},
    {Group::Base, "SLASH", 0, -1, false, "", 111},
    {Group::Base, "BS", 0, -1, false, "", 8},
    {Group::Base, "TAB", 0, -1, false, "", 9},
    {Group::Base, "ENTER", 0, -1, false, "", 13},
    {Group::Base, "PAUSE", 0, -1, false, "", 19},
    {Group::Base, "ESC", 0, -1, false, "", 27},
    {Group::Base, "SPACE", 0, -1, false, "", 32},
    {Group::Base, "PGUP", 0, -1, false, "", 33},
    {Group::Base, "PGDN", 0, -1, false, "", 34},
    {Group::Base, "END", 0, -1, false, "", 35},
    {Group::Base, "HOME", 0, -1, false, "", 36},
    {Group::Base, "LEFT", 0, -1, false, "", 37},
    {Group::Base, "UP", 0, -1, false, "", 38},
    {Group::Base, "RIGHT", 0, -1, false, "", 39},
    {Group::Base, "DOWN", 0, -1, false, "", 40},
    {Group::Base, "PRINT", 0, -1, false, "", 44},
    {Group::Base, "INSERT", 0, -1, false, "", 45},
    {Group::Base, "DELETE", 0, -1, false, "", 46},
    {Group::Base, "MOUSELEFT", 0, -1, false, "", kMouseLeft},
    {Group::Base, "MOUSERIGHT", 0, -1, false, "", kMouseRight},
    {Group::Base, "MOUSECENTER", 0, -1, false, "", kMouseCentre},
    {Group::Base, "MOUSELEFT2", 0, -1, false, "", kMouseLeftDouble},
    {Group::Base, "MOUSERIGHT2", 0, -1, false, "", kMouseRightDouble},
    {Group::Base, "MOUSECENTER2", 0, -1, false, "", kMouseCentreDouble},
    // KEY + digit, KEYPAD + digit.
    {Group::KeyDigit, "KEY", 0, 9, false, "", 48},
    {Group::KeyDigit, "KEYPAD", 0, 9, false, "", 96},
    // Letter + KEY.
    {Group::LetterKey, "", 0, 25, true, "KEY", 65},
    // Name + KEY.
    {Group::NameKey, "AST", 0, -1, false, "KEY", 106},
    {Group::NameKey, "BS", 0, -1, false, "KEY", 8},
    {Group::NameKey, "CAPSLOCK", 0, -1, false, "KEY", 20},
    {Group::NameKey, "DECIMAL", 0, -1, false, "KEY", 110},
    {Group::NameKey, "DELETE", 0, -1, false, "KEY", 46},
    {Group::NameKey, "DOWN", 0, -1, false, "KEY", 40},
    {Group::NameKey, "END", 0, -1, false, "KEY", 35},
    {Group::NameKey, "ENTER", 0, -1, false, "KEY", 13},
    {Group::NameKey, "ESC", 0, -1, false, "KEY", 27},
    {Group::NameKey, "F", 1, 12, false, "KEY", 112},
    {Group::NameKey, "HOME", 0, -1, false, "KEY", 36},
    {Group::NameKey, "INSERT", 0, -1, false, "KEY", 45},
    {Group::NameKey, "LEFT", 0, -1, false, "KEY", 37},
    {Group::NameKey, "MINUS", 0, -1, false, "KEY", 109},
    {Group::NameKey, "PAUSE", 0, -1, false, "KEY", 19},
    {Group::NameKey, "PGDN", 0, -1, false, "KEY", 34},
    {Group::NameKey, "PGUP", 0, -1, false, "KEY", 33},
    {Group::NameKey, "PLUS", 0, -1, false, "KEY", 107},
    {Group::NameKey, "PRINT", 0, -1, false, "KEY", 44},
    {Group::NameKey, "RIGHT", 0, -1, false, "KEY", 39},
    {Group::NameKey, "SLASH", 0, -1, false, "KEY", 111},
    {Group::NameKey, "SPACE", 0, -1, false, "KEY", 32},
    {Group::NameKey, "TAB", 0, -1, false, "KEY", 9},
    {Group::NameKey, "UP", 0, -1, false, "KEY", 38},
    // Short names.
    {Group::Short, "DOWN", 0, -1, false, "", 40},
    {Group::Short, "ENTER", 0, -1, false, "", 13},
    {Group::Short, "ESC", 0, -1, false, "", 27},
    {Group::Short, "F", 1, 12, false, "", 112},
    {Group::Short, "LEFT", 0, -1, false, "", 37},
    {Group::Short, "RIGHT", 0, -1, false, "", 39},
    {Group::Short, "SPACE", 0, -1, false, "", 32},
    {Group::Short, "TAB", 0, -1, false, "", 9},
    {Group::Short, "UP", 0, -1, false, "", 38},
    // Mouse buttons on their own.
    {Group::Mouse, "MOUSELEFT", 0, -1, false, "", kMouseLeft},
    {Group::Mouse, "MOUSERIGHT", 0, -1, false, "", kMouseRight},
    {Group::Mouse, "MOUSECENTER", 0, -1, false, "", kMouseCentre},
    {Group::Mouse, "MOUSELEFT2", 0, -1, false, "", kMouseLeftDouble},
    {Group::Mouse, "MOUSERIGHT2", 0, -1, false, "", kMouseRightDouble},
    {Group::Mouse, "MOUSECENTER2", 0, -1, false, "", kMouseCentreDouble},
    {Group::Pause, "PAUSE", 0, -1, false, "", 0},
};

// The modifier prefixes that combine with every base key; there is no
// form with all three modifiers.
struct Modifier {
    std::string_view prefix;
    int bits;
};
constexpr Modifier kModifiers[] = {
    {"SHIFT", platform::kShiftBit},
    {"CTRL", platform::kCtrlBit},
    {"CTRLSHIFT", platform::kCtrlBit | platform::kShiftBit},
    {"ALT", platform::kAltBit},
    {"ALTSHIFT", platform::kAltBit | platform::kShiftBit},
    {"CTRLALT", platform::kCtrlBit | platform::kAltBit},
};

struct NamedKey {
    std::string name;
    KeyName key;
};

// The names of one row, in order, with their codes.
void expandRow(const KeyRow& row, std::string_view modifierPrefix, int bits, std::vector<NamedKey>& out) {
    const KeyName::Kind kind = row.group == Group::Pause ? KeyName::Kind::Pause : KeyName::Kind::Key;
    auto add = [&](std::string_view middle, int offset) {
        std::string name(modifierPrefix);
        name += row.prefix;
        name += middle;
        name += row.suffix;
        out.push_back({std::move(name), {kind, kind == KeyName::Kind::Key ? row.code + offset + bits : 0}});
    };
    if (row.to < row.from) {
        add("", 0);
        return;
    }
    for (int i = row.from; i <= row.to; ++i) {
        const std::string middle =
            row.letters ? std::string(1, static_cast<char>('A' + i)) : std::to_string(i);
        add(middle, i - row.from);
    }
}

struct Section {
    std::string heading;
    std::vector<NamedKey> names;
};

// Every name in the order the key list shows them.
const std::vector<Section>& sections() {
    static const std::vector<Section> all = [] {
        std::vector<Section> result;
        auto section = [&](std::string heading, Group group, std::string_view prefix, int bits) {
            Section s{std::move(heading), {}};
            for (const KeyRow& row : kRows)
                if (row.group == group) expandRow(row, prefix, bits, s.names);
            result.push_back(std::move(s));
        };
        section("Keys on their own", Group::Short, "", 0);
        section("Keys on their own, with KEY", Group::NameKey, "", 0);
        section("Letters with KEY", Group::LetterKey, "", 0);
        section("Digits and keypad digits", Group::KeyDigit, "", 0);
        section("Mouse buttons (a 2 at the end double-clicks)", Group::Mouse, "", 0);
        section("A pause of one sending interval", Group::Pause, "", 0);
        for (const Modifier& m : kModifiers)
            section("Held with " + std::string(m.prefix), Group::Base, m.prefix, m.bits);
        return result;
    }();
    return all;
}

const std::unordered_map<std::string, KeyName>& vocabulary() {
    static const std::unordered_map<std::string, KeyName> map = [] {
        std::unordered_map<std::string, KeyName> m;
        for (const Section& s : sections())
            for (const NamedKey& k : s.names) m.emplace(k.name, k.key);
        return m;
    }();
    return map;
}

}  // namespace

std::optional<KeyName> lookupKeyName(std::string_view name) {
    // Every name lives in exactly one of the tables its first three letters
    // choose (KEY, CTR, ALT, SHI, or the plain names), so one map answers
    // the same as the dispatch by prefix.
    const auto& map = vocabulary();
    auto it = map.find(toUpper(clip(name)));
    if (it == map.end()) return std::nullopt;
    return it->second;
}

std::string keyCodesText() {
    std::string text =
        "Key names for \"Send Keystrokes\"\r\n"
        "Put a name in square brackets, for example [AltF4] or [ENTER].\r\n"
        "Letter case does not matter. A name that is no key name types the script\r\n"
        "value of that name, or else the name itself.\r\n";
    for (const Section& s : sections()) {
        text += "\r\n" + s.heading + "\r\n";
        for (const NamedKey& k : s.names) {
            // The longest name (CTRLSHIFTMOUSECENTER2) has 21 characters.
            std::string line = "  " + padRight(k.name, 24);
            if (k.key.kind == KeyName::Kind::Key) line += std::to_string(k.key.code);
            text += clip(line) + "\r\n";
        }
    }
    return text;
}

bool writeKeyCodesFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << keyCodesText();
    return static_cast<bool>(out.flush());
}

}  // namespace plorix::script
