#include "script/keystrokes.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/fake/fake_keyboard.h"
#include "script/key_names.h"

namespace plorix::script {
namespace {

using Kind = KeyPass::Kind;

KeyPass text(std::string t) { return {Kind::Text, std::move(t), 0}; }
KeyPass key(int code) { return {Kind::Key, {}, code}; }
KeyPass pause() { return {Kind::Pause, {}, 0}; }

std::vector<KeyPass> parse(std::string_view keys, int burst = 7,
                           std::map<std::string, std::string, std::less<>> values = {}) {
    return parseKeystrokes(keys, burst, [values](std::string_view name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    });
}

TEST(KeystrokePasses, PlainTextGoesOutInBurstsBeforeABracket) {
    EXPECT_EQ(parse("Hello[ENTER]"), (std::vector{text("Hello"), key(13)}));
    EXPECT_EQ(parse("abcdefghij[TAB]"), (std::vector{text("abcdefg"), text("hij"), key(9)}));
    // Text after the last bracket goes out whole, trailing blanks removed.
    EXPECT_EQ(parse("abcdefghij"), (std::vector{text("abcdefghij")}));
    EXPECT_EQ(parse("[TAB]abcdefghij   "), (std::vector{key(9), text("abcdefghij")}));
    EXPECT_EQ(parse("abcdefghij[TAB]", 3),
              (std::vector{text("abc"), text("def"), text("ghi"), text("j"), key(9)}));
}

TEST(KeystrokePasses, BlankTextSendsNothing) {
    EXPECT_TRUE(parse("").empty());
    EXPECT_TRUE(parse("     ").empty());
    // Blanks after the last key end the text.
    EXPECT_EQ(parse("[ENTER]   "), (std::vector{key(13)}));
    // Blanks before a bracket are typed.
    EXPECT_EQ(parse("  [ENTER]"), (std::vector{text("  "), key(13)}));
}

TEST(KeystrokePasses, BurstsCountCharactersNotBytes) {
    // Seven two-byte letters fit one pass; a multi-byte character is never split.
    EXPECT_EQ(parse("ÄÖÜäöüßé[ENTER]"), (std::vector{text("ÄÖÜäöüß"), text("é"), key(13)}));
}

TEST(KeystrokePasses, KeyNamesIgnoreLetterCaseAndCarryModifiers) {
    EXPECT_EQ(parse("[AltF4][ctrlaltdelete][ShiftPad0]"), (std::vector{key(1139), key(1582), key(352)}));
    EXPECT_EQ(parse("[CTRLSHIFTTAB][ALTSHIFTTAB][AltB]"),
              (std::vector{key(768 + 9), key(1280 + 9), key(1024 + 66)}));
    EXPECT_EQ(parse("[MouseLeft][mouseright2][ShiftMouseCenter]"),
              (std::vector{key(1), key(6), key(256 + 3)}));
    EXPECT_EQ(parse("[KEY5][KEYPAD9][QKEY][capslockkey][F12KEY][enter   ]"),
              (std::vector{key(53), key(105), key(81), key(20), key(123), key(13)}));
}

TEST(KeystrokePasses, PauseCostsAPassAndSendsNothing) {
    EXPECT_EQ(parse("[PAUSE][ENTER]"), (std::vector{pause(), key(13)}));
    // The PAUSE key itself is only reachable with a modifier or as PAUSEKEY.
    EXPECT_EQ(parse("[PAUSEKEY][SHIFTPAUSE]"), (std::vector{key(19), key(256 + 19)}));
}

TEST(KeystrokePasses, UnknownNamesTypeTheirValueOrThemselves) {
    EXPECT_EQ(parse("[FRED]"), (std::vector{text("FRED")}));
    EXPECT_EQ(parse("[FRED]", 7, {{"FRED", "Frederick Smith"}}), (std::vector{text("Frederick Smith")}));
    // A blank value, or one equal to the name, types the name.
    EXPECT_EQ(parse("[FRED]", 7, {{"FRED", "   "}}), (std::vector{text("FRED")}));
    EXPECT_EQ(parse("[TODAY]", 7, {{"TODAY", "10/31/1959"}}), (std::vector{text("10/31/1959")}));
    // Names that only exist with a modifier are no keys on their own.
    EXPECT_EQ(parse("[HOME][A]"), (std::vector{text("HOME"), text("A")}));
    // Forms the vocabulary lacks.
    EXPECT_EQ(parse("[CTRLALTSHIFTA][SHIFTCAPSLOCK][SHIFTKEY0]"),
              (std::vector{text("CTRLALTSHIFTA"), text("SHIFTCAPSLOCK"), text("SHIFTKEY0")}));
    // Without any value look-up the name is typed.
    EXPECT_EQ(parseKeystrokes("[FRED]", 7, {}), (std::vector{text("FRED")}));
}

TEST(KeystrokePasses, UnclosedBracketTypesTheRestAfterAnEmptyPass) {
    EXPECT_EQ(parse("ab[cd"), (std::vector{text("ab"), pause(), text("cd")}));
    EXPECT_EQ(parse("[a[b"), (std::vector{pause(), text("a"), pause(), text("b")}));
    // The name runs to the first closing bracket.
    EXPECT_EQ(parse("[a[b]c"), (std::vector{text("a[b"), text("c")}));
    EXPECT_EQ(parse("[]x"), (std::vector{pause(), text("x")}));
    EXPECT_EQ(parse("]]x"), (std::vector{text("]]x")}));
}

TEST(KeystrokeDelivery, EachPassWaitsItsDelayThenDelivers) {
    platform::FakeKeyboard keyboard;
    ManualClock clock({100, makeTime(12, 0)});
    std::vector<std::int64_t> waits;
    std::vector<std::size_t> passes;
    KeystrokePacing pacing{60,
                           [&](std::int64_t h) {
                               waits.push_back(h);
                               clock.advance(h);
                           },
                           [&](std::size_t pass) { passes.push_back(pass); }};
    sendKeystrokes("Hi[PAUSE][AltF4]there", 7, {}, keyboard, clock, pacing);
    using E = platform::FakeKeyboard;
    EXPECT_EQ(keyboard.events(), (std::vector{E::typed("Hi"), E::key(1139), E::typed("there")}));
    EXPECT_EQ(waits, (std::vector<std::int64_t>(4, 60)));
    EXPECT_EQ(passes, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(clock.now(), makeTime(12, 0) + 240);
}

TEST(KeystrokeDelivery, NoPauseThatWouldRunPastMidnight) {
    platform::FakeKeyboard keyboard;
    ManualClock clock({100, kHundredthsPerDay - 50});
    int waits = 0;
    KeystrokePacing pacing{50, [&](std::int64_t) { ++waits; }, {}};
    sendKeystrokes("[ENTER]", 7, {}, keyboard, clock, pacing);
    EXPECT_EQ(waits, 0);
    clock.set({100, kHundredthsPerDay - 51});
    sendKeystrokes("[ENTER]", 7, {}, keyboard, clock, pacing);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(keyboard.events().size(), 2u);
}

TEST(KeyNames, TheKeyListNamesEveryKeyWithItsCode) {
    const std::string list = keyCodesText();
    // Every line of a key section is "name code" (or PAUSE alone), and each
    // name looks up to the code listed.
    std::size_t names = 0;
    std::size_t start = 0;
    bool inSection = false;
    while (start < list.size()) {
        const std::size_t end = list.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        const std::string line = list.substr(start, end - start);
        start = end + 2;
        if (line.empty()) {
            inSection = true;
            continue;
        }
        if (!inSection || line.rfind("  ", 0) != 0) continue;
        const std::size_t gap = line.find(' ', 2);
        const std::string name = line.substr(2, gap == std::string::npos ? std::string::npos : gap - 2);
        const std::optional<KeyName> found = lookupKeyName(name);
        ASSERT_TRUE(found) << name;
        if (found->kind == KeyName::Kind::Key) {
            EXPECT_EQ(std::to_string(found->code), line.substr(line.find_last_of(' ') + 1)) << name;
        }
        ++names;
    }
    // 6 x 86 modifier forms, 20 digit names, 26 letter names, 35 name+KEY,
    // 20 short names, 6 mouse names and PAUSE.
    EXPECT_EQ(names, 6u * 86 + 20 + 26 + 35 + 20 + 6 + 1);
}

}  // namespace
}  // namespace plorix::script
