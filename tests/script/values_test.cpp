// Script values: the store, the system values, substitution of bracketed
// names, computed values and the comparison of "If Value...".

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "script/expression.h"
#include "script/value_store.h"

namespace plorix::script {
namespace {

class Values : public ::testing::Test {
protected:
    ManualClock clock{Moment{makeDate(3, 1, 2026), makeTime(17, 30, 5)}};
    settings::Settings settings;
    ValueStore values{SystemValueSources{&clock, &settings, [this] { return focus; }}};
    std::string focus;
};

TEST_F(Values, NamesAreOneEntryWhateverTheirCase) {
    values.set("size", "10");
    values.set("SIZE", "20   ");
    EXPECT_EQ(values.entries().size(), 1u);
    EXPECT_EQ(values.get("Size"), "20");
    // Names are cut to 32 characters: a longer one lands on the same entry.
    values.set(std::string(32, 'N') + "TAIL", "cut");
    EXPECT_EQ(values.get(std::string(32, 'n')), "cut");
    values.set("   ", "nothing");  // a blank name stores nothing
    EXPECT_EQ(values.entries().size(), 2u);
    EXPECT_EQ(values.get("NEVER SET"), "");
    EXPECT_EQ(values.get("ÄRGER"), "");
    values.set("Grüße", "non-ASCII names keep their other letters");
    EXPECT_EQ(values.get("GRüSSE"), "");
    EXPECT_EQ(values.get("GRüßE"), "non-ASCII names keep their other letters");
}

TEST_F(Values, SystemValuesComeFromTheClockSettingsAndDesktop) {
    EXPECT_EQ(values.get("date"), "20260301");
    EXPECT_EQ(values.get("TIME"), "173005");
    settings.DateFormat = "d6";
    EXPECT_EQ(values.get("TODAY"), "01/03/2026");
    settings.DateFormat = "t4";  // no date picture
    EXPECT_EQ(values.get("TODAY"), "MAR 01,2026");
    focus = "Untitled - Editor  ";
    EXPECT_EQ(values.get("FOCUS"), "Untitled - Editor");
    values.set("DATE", "19991231");  // stored, but the system answers
    EXPECT_EQ(values.get("DATE"), "20260301");

    // Without a source of its own, FOCUS asks the process's desktop.
    platform::FakeDesktop desktop;
    const auto window = desktop.windows.add("Mail - Inbox");
    desktop.windows.setForeground(window);
    ValueStore plain{SystemValueSources{&clock, &settings, {}}};
    EXPECT_EQ(plain.get("FOCUS"), desktop.windows.focusedWindowText());
}

TEST_F(Values, SubstitutionReplacesNamesThatHaveValues) {
    values.set("FILESIZE", "1024");
    EXPECT_EQ(values.substitute("Size is [FILESIZE] bytes"), "Size is 1024 bytes");
    EXPECT_EQ(values.substitute("[filesize][FILESIZE]"), "10241024");
    EXPECT_EQ(values.substitute("Left [UNSET] alone"), "Left [UNSET] alone");
    EXPECT_EQ(values.substitute("  leading kept, trailing dropped   "), "  leading kept, trailing dropped");
    values.set("PAD", "x");
    EXPECT_EQ(values.substitute("[PAD]   [PAD]"), "x   x");
}

TEST_F(Values, NestedAndUnterminatedBracketsHaveDefinedResults) {
    values.set("B", "bee");
    values.set("A[B", "odd");
    // The first "]" closes the name: "[A[B]" names "A[B".
    EXPECT_EQ(values.substitute("[A[B]]"), "odd]");
    values.set("A[B", "");
    EXPECT_EQ(values.substitute("[A[B]]"), "[Abee]");
    EXPECT_EQ(values.substitute("[[B]]"), "[bee]");
    // Without a "]" the text after the "[" is the name, and used when it has a value.
    EXPECT_EQ(values.substitute("open [B"), "open bee");
    EXPECT_EQ(values.substitute("open [C"), "open [C");
    EXPECT_EQ(values.substitute("[]"), "[]");
    EXPECT_EQ(values.substitute("["), "[");
    EXPECT_EQ(values.substitute("]["), "][");
    // A name of the full 32 characters is closed by its "]"; a "]" further
    // away does not close it, and the 32 characters are the name.
    const std::string name32(32, 'Q');
    values.set(name32, "long");
    EXPECT_EQ(values.substitute("[" + name32 + "]"), "long");
    EXPECT_EQ(values.substitute("[" + name32 + "XYZ]"), "longXYZ]");
    EXPECT_EQ(values.substitute("[" + std::string(40, 'R') + "]"), "[" + std::string(40, 'R') + "]");
}

TEST_F(Values, SubstitutedTextsStopAt255Characters) {
    values.set("BIG", std::string(300, 'x'));
    EXPECT_EQ(values.get("BIG").size(), 255u);
    const std::string text = values.substitute("[BIG][BIG][BIG] tail");
    EXPECT_EQ(text, std::string(255, 'x'));
    EXPECT_EQ(values.substitute(std::string(400, 'y')).size(), 255u);
    // Cut by characters, never inside one.
    EXPECT_EQ(values.substitute(std::string(200, 'a') + std::string(100, '\xC3')).size(), 255u);
    const std::string umlauts = values.substitute(std::string(254, 'a') + "ääää");
    EXPECT_EQ(umlauts, std::string(254, 'a') + "ä");
}

TEST_F(Values, SetValueComputesExpressions) {
    const auto computed = [&](std::string_view text) {
        setComputedValue(values, "R", text);
        return values.get("R");
    };
    EXPECT_EQ(computed("=2*3"), "6");
    EXPECT_EQ(computed("=(1+2)*(10-4)/4"), "4.5");
    EXPECT_EQ(computed("= -7 / 2"), "-3.5");
    EXPECT_EQ(computed("=1/3"), "0.333333333333333");
    EXPECT_EQ(computed("=abs(-2.5) + avg(1, 2, 3)"), "4.5");
    EXPECT_EQ(computed("=sqrt(16)+max(1,5)"), "9");
    EXPECT_EQ(computed("=0*-1"), "0");
    values.set("SIZE", "1024");
    EXPECT_EQ(computed("=[SIZE]/2"), "512");
    EXPECT_EQ(computed("no expression"), "no expression");
    // What cannot be computed is stored as substituted, "=" included.
    EXPECT_EQ(computed("=2*"), "=2*");
    EXPECT_EQ(computed("=(1+2"), "=(1+2");
    EXPECT_EQ(computed("=[SIZE]/0"), "=1024/0");
    EXPECT_EQ(computed("=0/0"), "=0/0");
    EXPECT_EQ(computed("=1e308*10"), "=1e308*10");
    EXPECT_EQ(computed("=2^99999"), "=2^99999");
    EXPECT_EQ(computed("=sqrt(-1)"), "=sqrt(-1)");
    EXPECT_EQ(computed("=1,2"), "=1,2");
    EXPECT_EQ(computed("=[UNSET]+1"), "=[UNSET]+1");
    EXPECT_EQ(computed("="), "=");
}

TEST_F(Values, CompareNumbersWhenEitherIsANumberTextsOtherwise) {
    values.set("DAY", "MONDAY");
    values.set("SIZE", "1024");
    values.set("PRICE", "2.004");
    values.set("OTHER", "1024.00");
    struct Case {
        const char* name;
        const char* op;
        const char* to;
        bool expected;
    };
    const Case cases[] = {
        {"DAY", "=", "MONDAY", true},   {"DAY", "=", "monday", false},  // case counts
        {"DAY", "<", "TUESDAY", true},  {"DAY", "<>", "MONDAY", false},
        {"SIZE", ">", "999", true},     {"SIZE", ">", "1000.5", true},  // numerically, not as text
        {"SIZE", "=", "[OTHER]", true}, {"SIZE", "<>", "0", true},
        {"FILESIZE", ">", "0", false},  {"FILESIZE", "=", "0", false},  // unset is "", not "0"
        {"PRICE", "=", "2", true},      {"PRICE", "<=", "2.00", true},  // two decimal places
        {"PRICE", "=>", "2", true},     {"PRICE", ">=", "2.01", false},
        {"SIZE", "=<", "1024", true},   {"SIZE", "==", "1024", false},  // no such operator
        {"SIZE", "", "1024", false},    {"DAY", " = ", "MONDAY", true},
        {"DAY", "=", "[DAY]", true},    {"DAY", "=", " [DAY]", false},  // only a leading "[" substitutes
    };
    for (const Case& c : cases)
        EXPECT_EQ(values.compare(c.name, c.op, c.to), c.expected) << c.name << ' ' << c.op << ' ' << c.to;
}

}  // namespace
}  // namespace plorix::script
