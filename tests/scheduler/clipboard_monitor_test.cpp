// The clipboard saver's monitor step against a fake clipboard and a real
// Clipboard table; the signature; what "&Run" starts.

#include "scheduler/clipboard_monitor.h"

#include <gtest/gtest.h>

#include "monitor_rig.h"
#include "settings/settings.h"

namespace plorix::scheduler {
namespace {

using V = std::vector<std::string>;

class ClipboardMonitorTest : public test::MonitorRig<data::Clipboard, ClipboardMonitor> {
protected:
    void SetUp() override {
        MonitorRig::SetUp();
        saved = settings::settings();
        settings::settings().MultiUser = false;
        settings::settings().MaxClipboardEntries = 50;
    }
    void TearDown() override { settings::settings() = saved; }

    // Puts the text on the clipboard and runs the monitor until it has
    // looked at the clipboard once more.
    void copy(std::optional<std::string> text) {
        desktop.clipboard.content = std::move(text);
        const int before = desktop.clipboard.reads;
        for (int i = 0; i < 4 && desktop.clipboard.reads == before; ++i) {
            clock.advance(125);
            monitor.step();
        }
        ASSERT_EQ(desktop.clipboard.reads, before + 1);
    }
    // The saved texts in capture order (by user, save mark, moment).
    V entries() {
        V out;
        table.setStart(data::keys::Clipboard::KEYCLIPDATE);
        while (table.next() == store::kNoError)
            out.push_back(table.rec<data::Clipboard>().CLIPCONTENTS.str());
        return out;
    }
    void keep(const std::string& text) {
        table.setStart(-1);
        while (table.next() == store::kNoError) {
            if (table.rec<data::Clipboard>().CLIPCONTENTS == text) {
                table.rec<data::Clipboard>().CLIPKEEP = 1;
                ASSERT_EQ(table.put(), store::kNoError);
                return;
            }
        }
        FAIL() << "no entry " << text;
    }

    settings::Settings saved;
};

TEST_F(ClipboardMonitorTest, LooksAtTheClipboardOnTheFourthCallThenEveryThird) {
    desktop.clipboard.content = "hello";
    std::vector<int> reads;
    for (int i = 0; i < 10; ++i) {
        monitor.step();
        reads.push_back(desktop.clipboard.reads);
    }
    EXPECT_EQ(reads, (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 3}));
    const auto& entry = table.rec<data::Clipboard>();
    EXPECT_EQ(entries(), V{"hello"});
    EXPECT_EQ(entry.CLIPHASHKEY, "HELLO");
    EXPECT_EQ(entry.CLIPDATE, 80000);
    EXPECT_EQ(entry.USER, "");
    EXPECT_EQ(entry.CLIPKEEP, 0);
}

TEST_F(ClipboardMonitorTest, ATakenClipboardIsLookedAtOnTheNextCallThenEveryThirdAgain) {
    desktop.clipboard.content = "copied";
    monitor.step();
    monitor.taken();
    monitor.step();
    EXPECT_EQ(desktop.clipboard.reads, 1);
    EXPECT_EQ(entries(), V{"copied"});
    for (int i = 0; i < 3; ++i) monitor.step();
    EXPECT_EQ(desktop.clipboard.reads, 2);
}

TEST_F(ClipboardMonitorTest, ATextIsSavedOnceAndAgainOnlyWhenItsSignatureIsGone) {
    copy("Meeting at ten");
    copy("Meeting at ten");
    copy("Other text");
    copy("meeting, at TEN!");  // the same letters: refused by the signature key
    EXPECT_EQ(entries(), (V{"Meeting at ten", "Other text"}));
    // Empty, blank, a line break first, nothing at all: not saved.
    copy("");
    copy("   ");
    copy("\nstarts with a line break");
    copy(std::nullopt);
    EXPECT_EQ(entries().size(), 2u);
    // Without letters the signature is blank and, for a blank user, outside
    // the key: such texts are always saved.
    copy("12345");
    copy("678");
    EXPECT_EQ(entries().size(), 4u);
    // A text past 4,096 characters is cut, and seen once.
    copy(std::string(5000, 'x'));
    copy(std::string(5000, 'x'));
    EXPECT_EQ(entries().size(), 5u);
    EXPECT_EQ(entries().back().size(), kClipTextCharacters);
}

TEST_F(ClipboardMonitorTest, TrimmingStopsAtTheLimitAndAtTheFirstSavedEntry) {
    settings::settings().MaxClipboardEntries = 3;
    copy("first");
    copy("second");
    copy("third");
    copy("fourth");
    EXPECT_EQ(entries(), (V{"second", "third", "fourth"}));

    keep("second");
    copy("fifth");
    // "third" is the oldest unsaved one; "second" has the mark.
    EXPECT_EQ(entries(), (V{"fourth", "fifth", "second"}));
    keep("fourth");
    copy("sixth");
    copy("seventh");
    // Saved entries come after the others, in capture order.
    EXPECT_EQ(entries(), (V{"seventh", "second", "fourth"}));

    // The entry holding the current clipboard text is never trimmed.
    settings::settings().MaxClipboardEntries = 1;
    copy("seventh again");
    EXPECT_EQ(entries(), (V{"seventh again", "second", "fourth"}));
}

TEST_F(ClipboardMonitorTest, TextMarkedSecretIsLeftOutUnlessTheUserWantsIt) {
    desktop.clipboard.secret = true;
    copy("correct horse battery staple");
    EXPECT_EQ(entries(), V{});
    settings::settings().IgnoreSecretClipboard = false;
    copy("kept on purpose");
    EXPECT_EQ(entries(), V{"kept on purpose"});
}

TEST_F(ClipboardMonitorTest, EntriesPastTheirAgeGoButSavedOnesStay) {
    int changes = 0;
    monitor.setOnChange([&] { ++changes; });
    copy("old, saved");
    keep("old, saved");
    copy("old");
    clock.set({80002, 100});
    copy("recent");
    settings::settings().ClipboardExpires = 3;
    clock.set({80004, 100});
    copy("today");  // four days after "old": past three
    EXPECT_EQ(entries(), (V{"recent", "today", "old, saved"}));
    EXPECT_EQ(changes, 4);
    // A new day is enough, without a new text.
    clock.set({80006, 100});
    copy("today");
    EXPECT_EQ(entries(), (V{"today", "old, saved"}));
    // Zero keeps every entry however old.
    settings::settings().ClipboardExpires = 0;
    clock.set({80100, 100});
    copy("much later");
    EXPECT_EQ(entries().size(), 3u);
}

TEST_F(ClipboardMonitorTest, MultiUserEntriesCarryTheUser) {
    settings::settings().MultiUser = true;
    settings::settings().UserID = "ana";
    copy("shared");
    EXPECT_EQ(table.rec<data::Clipboard>().USER, "ana");
}

TEST(ClipSignature, LettersOnlyUpperCasedAtMostForty) {
    EXPECT_EQ(clipSignature("abc"), "ABC");
    EXPECT_EQ(clipSignature("Hello, World 42!"), "HELLOWORLD");
    EXPECT_EQ(clipSignature("12,34 - 56!"), "");
    EXPECT_EQ(clipSignature("caf\xC3\xA9 na\xC3\xAFve"), "CAFNAVE");
    EXPECT_EQ(clipSignature(std::string(50, 'q')), std::string(40, 'Q'));
}

TEST(ClipRun, AddressesAndPathsFoundInTheText) {
    EXPECT_EQ(clipRunTargets("see http://example.org/a?b more words").commands, V{"http://example.org/a?b"});
    EXPECT_EQ(clipRunTargets("/usr/bin/editor.exe").commands, V{"/usr/bin/editor.exe"});
    EXPECT_EQ(clipRunTargets("run C:\\tools\\x.EXE now").commands, V{"C:\\tools\\x.EXE"});
    EXPECT_EQ(clipRunTargets("open \"C:\\Program Files\\app.exe\" please").commands,
              V{"C:\\Program Files\\app.exe"});
    EXPECT_EQ(clipRunTargets("write to MAILTO:ana@example.org\tnow").commands, V{"MAILTO:ana@example.org"});
    // One text can start several things, in the fixed order.
    EXPECT_EQ(clipRunTargets("x.lnk http://a.b/c.exe").commands,
              (V{"http://a.b/c.exe", "http://a.b/c.exe", "x.lnk"}));
    const auto web = clipRunTargets("www.example.org  ");
    EXPECT_TRUE(web.commands.empty());
    EXPECT_EQ(web.webAddress, "http://www.example.org");
    EXPECT_EQ(clipRunTargets("WWW.example.org").webAddress, "");
    EXPECT_EQ(clipRunTargets("nothing to run").commands, V{});
}

}  // namespace
}  // namespace plorix::scheduler
