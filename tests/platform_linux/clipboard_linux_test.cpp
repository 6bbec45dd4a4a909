// The clipboard between two programs: this test (X11 selections, no Qt GUI)
// and our Qt test program (Qt's clipboard), in both directions.

#include <gtest/gtest.h>

#include "desktop_rig.h"
#include "platform/linux/clipboard_linux.h"
#include "support/temp_dir.h"

namespace plorix::platform {
namespace {

using test::Child;

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { PLORIX_NEED_DISPLAY(); }
    // What our Qt program reads from the clipboard.
    std::string readByOther() {
        Child reader({test::testAppPath(), "--clipboard-get"});
        bool found = false;
        std::string text = reader.lineStarting("clip:", &found);
        reader.wait();
        return found ? text : "(none)";
    }
    LinuxClipboard clipboard;
};

TEST_F(ClipboardTest, OurTextReachesAnotherProgram) {
    const std::string text = test::uniqueTitle("Zwischenablage ✓ “quoted”");
    ASSERT_TRUE(clipboard.setText(text));
    EXPECT_EQ(clipboard.text(), text) << "read back from ourselves";
    EXPECT_EQ(readByOther(), text);
}

TEST_F(ClipboardTest, AnotherProgramsTextIsReadAndVanishesWhenItEnds) {
    const std::string text = test::uniqueTitle("from the Qt side é");
    Child owner({test::testAppPath(), "--clipboard-set", text});
    ASSERT_TRUE(test::waitUntil([&] {
        bool found = false;
        owner.lineStarting("set", &found, std::chrono::milliseconds(50));
        return found;
    }));
    EXPECT_EQ(clipboard.text(), text);
    // Our own text once held is given up to the new owner.
    owner.closeInput();
    EXPECT_EQ(owner.wait(), 0);
    EXPECT_TRUE(test::waitUntil([&] { return !clipboard.text().has_value(); }))
        << "X11 keeps no copy of a program's clipboard text";
}

TEST_F(ClipboardTest, LargeTextsArriveWhole) {
    std::string text;
    for (int i = 0; text.size() < 2000000; ++i) text += "line " + std::to_string(i) + " äöü\n";
    test::TempDir folder(false);
    folder.write("large.txt", text);
    // Past the size of an ordinary X request (the server's big requests carry it).
    Child owner({test::testAppPath(), "--clipboard-set-file", (folder / "large.txt").string()});
    bool set = false;
    owner.lineStarting("set", &set);
    ASSERT_TRUE(set);
    const auto got = clipboard.text();
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->size(), text.size());
    EXPECT_TRUE(*got == text);
}

TEST_F(ClipboardTest, TakingTheClipboardFromUsIsNoticed) {
    ASSERT_TRUE(clipboard.setText("ours"));
    const std::string theirs = test::uniqueTitle("theirs");
    Child owner({test::testAppPath(), "--clipboard-set", theirs});
    bool set = false;
    owner.lineStarting("set", &set);
    ASSERT_TRUE(set);
    EXPECT_EQ(clipboard.text(), theirs);
}

}  // namespace
}  // namespace plorix::platform
