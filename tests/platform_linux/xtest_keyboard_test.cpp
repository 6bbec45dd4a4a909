// Typing through XTest into our Qt test window: keystroke texts as the
// "Send Keystrokes" action parses them, characters the keyboard map lacks,
// key combinations and mouse clicks, with what arrived read back from the
// program.

#include <gtest/gtest.h>

#include <thread>

#include "desktop_rig.h"
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"
#include "platform/linux/xtest_keyboard.h"
#include "runtime/clock.h"
#include "script/keystrokes.h"

#include <X11/Xlib.h>  // last: its macros clash with the test framework

namespace plorix::platform {
namespace {

using test::Child;

class XTestKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        PLORIX_NEED_DISPLAY();
        shown = test::showTestApp(windows, "Typing Target");
        app = shown.app.get();
        window = shown.id;
        ASSERT_NE(window, kNoWindow);
        Display* d = connection.display();
        const auto xWindow = static_cast<::Window>(window);
        ASSERT_TRUE(test::waitUntil([&] {
            XWindowAttributes a{};
            return XGetWindowAttributes(d, xWindow, &a) && a.map_state == IsViewable;
        }));
        ASSERT_TRUE(windows.activate(window));
        // The keyboard focus itself, not only the manager's idea of it.
        ASSERT_TRUE(test::waitUntil([&] {
            ::Window focus = 0;
            int revert = 0;
            XGetInputFocus(d, &focus, &revert);
            return windows.foreground() == window && focus == xWindow;
        }));
    }

    // Sends a keystroke text the way the script action does, with short pauses.
    void send(const std::string& keystrokes) {
        script::KeystrokePacing pacing;
        pacing.waitYielding = [](std::int64_t) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        };
        script::sendKeystrokes(keystrokes, 7, {}, keyboard, clock, pacing);
    }

    std::string entered() {
        bool found = false;
        std::string text = app->lineStarting("text:", &found);
        EXPECT_TRUE(found) << "the line edit reported no Enter";
        return text;
    }

    X11Connection connection;
    X11Windows windows{connection};
    XTestKeyboard keyboard{connection};
    SystemClock clock;
    test::ShownTestApp shown;
    Child* app = nullptr;
    WindowId window = kNoWindow;
};

TEST_F(XTestKeyboardTest, KeystrokeTextWithBracketedKeysArrivesAsTyped) {
    send("Hello [ShiftA][ENTER]");
    EXPECT_EQ(entered(), "Hello A");
    send("mixed Case 123 !@#$%^&*()_+{}|:\"<>?~[ENTER]");
    EXPECT_EQ(entered(), "Hello Amixed Case 123 !@#$%^&*()_+{}|:\"<>?~");
}

TEST_F(XTestKeyboardTest, CharactersWithoutAKeyAreTypedThroughATemporaryRemapThatIsUndone) {
    const std::string text = "Grüße, €uro — 日本語 ñ Ω";
    ASSERT_TRUE(keyboard.typeText(text));
    ASSERT_TRUE(keyboard.pressKey(13));
    EXPECT_EQ(entered(), text);
    const KeySym kanji = 0x01000000 + 0x65E5;  // 日
    EXPECT_EQ(XKeysymToKeycode(connection.display(), kanji), 0) << "the borrowed key was given back";
}

TEST_F(XTestKeyboardTest, ModifiersAreHeldForTheKey) {
    send("first draft[CtrlA]final[ENTER]");
    EXPECT_EQ(entered(), "final") << "Ctrl+A selected the draft, typing replaced it";
    send("[ShiftHOME][DELETEKEY]x[LEFT]w[ENTER]");
    EXPECT_EQ(entered(), "wx");
}

TEST_F(XTestKeyboardTest, MouseCodesClickAtThePointer) {
    // The button fills the lower part of the window.
    Display* d = connection.display();
    XWindowAttributes a{};
    XGetWindowAttributes(d, static_cast<::Window>(window), &a);
    XWarpPointer(d, 0, static_cast<::Window>(window), 0, 0, 0, 0, a.width / 2, a.height * 3 / 4);
    XSync(d, False);
    ASSERT_TRUE(keyboard.pressKey(kMouseLeft));
    bool found = false;
    app->lineStarting("clicked", &found);
    EXPECT_TRUE(found);
    ASSERT_TRUE(keyboard.pressKey(kMouseLeftDouble));
    app->lineStarting("clicked", &found);
    EXPECT_TRUE(found);
    app->lineStarting("clicked", &found);
    EXPECT_TRUE(found) << "a double click is two clicks";
}

TEST_F(XTestKeyboardTest, AltF4ClosesTheFocusedWindow) {
    send("bye[AltF4]");
    bool found = false;
    EXPECT_EQ(app->lineStarting("final:", &found), "bye");
    EXPECT_TRUE(found);
    EXPECT_EQ(app->wait(), 0);
}

TEST_F(XTestKeyboardTest, CodesWithoutAKeyAreRefused) {
    EXPECT_FALSE(keyboard.pressKey(0));
    EXPECT_FALSE(keyboard.pressKey(kShiftBit | 255));
}

}  // namespace
}  // namespace plorix::platform
