// Window search, children, focus, restoring and closing against real
// windows under the test desktop's window manager: our Qt test window,
// xterm, and bare X windows whose titles a test writes byte by byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "desktop_rig.h"
#include "platform/linux/atspi_controls.h"
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_windows.h"
#include "runtime/fixed_text.h"
#include "script/window_pattern.h"

// Last: Xlib's macros (None, Bool) clash with the test framework.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace plorix::platform {
namespace {

using test::Child;
using test::uniqueTitle;
using test::waitForWindow;
using test::waitUntil;

// Bare top-level windows on a connection of the test's own.
class BareWindows {
public:
    BareWindows() : d_(XOpenDisplay(nullptr)) {}
    ~BareWindows() {
        if (d_ != nullptr) XCloseDisplay(d_);
    }
    // A mapped window whose title property holds exactly these bytes.
    ::Window make(const std::string& bytes, const char* property = "_NET_WM_NAME",
                  const char* type = "UTF8_STRING") {
        const ::Window w = XCreateSimpleWindow(d_, DefaultRootWindow(d_), 0, 0, 40, 40, 0, 0, 0);
        setTitle(w, bytes, property, type);
        XMapWindow(d_, w);
        XSync(d_, False);
        return w;
    }
    void setTitle(::Window w, const std::string& bytes, const char* property, const char* type) {
        XChangeProperty(d_, w, XInternAtom(d_, property, False), XInternAtom(d_, type, False), 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<int>(bytes.size()));
        XSync(d_, False);
    }
    ::Window child(::Window parent, const std::string& name, const char* className) {
        const ::Window w = XCreateSimpleWindow(d_, parent, 0, 0, 10, 10, 0, 0, 0);
        XStoreName(d_, w, name.c_str());
        const std::string classHint = std::string("inst") + '\0' + className + '\0';
        XChangeProperty(d_, w, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(classHint.data()),
                        static_cast<int>(classHint.size()));
        XMapWindow(d_, w);
        XSync(d_, False);
        return w;
    }
    void destroy(::Window w) {
        XDestroyWindow(d_, w);
        XSync(d_, False);
    }
    Display* display() { return d_; }

private:
    Display* d_;
};

class X11WindowsTest : public ::testing::Test {
protected:
    void SetUp() override { PLORIX_NEED_DISPLAY(); }
    X11Connection connection;
    X11Windows windows{connection};
};

bool listed(X11Windows& windows, WindowId id) {
    const auto list = windows.topLevelWindows();
    return std::any_of(list.begin(), list.end(), [id](const WindowInfo& w) { return w.id == id; });
}

TEST_F(X11WindowsTest, FindsQtWindowByExactPrefixAndPhrasePatternsInAnyCase) {
    const std::string title = uniqueTitle("Quarterly Report Editor");
    Child app(test::testApp(title));
    const WindowId id = waitForWindow(windows, title);
    ASSERT_NE(id, kNoWindow);
    EXPECT_EQ(windows.processId(id), app.pid());

    const std::string serial = title.substr(title.rfind(' ') + 1);
    EXPECT_EQ(script::findWindow(windows, toUpper(title), ""), id);
    EXPECT_EQ(script::findWindow(windows, "quarterly REPORT *", ""), id);
    EXPECT_EQ(script::findWindow(windows, "*editor " + serial, ""), id);
    EXPECT_EQ(script::findWindow(windows, "Quarterly Report Edit", ""), kNoWindow)
        << "a title's beginning without the asterisk is no match";
}

TEST_F(X11WindowsTest, ListsOnlyTitledClientWindowsNeverTheManagersFrames) {
    BareWindows bare;
    const std::string title = uniqueTitle("Framed");
    const ::Window w = bare.make(title);
    ASSERT_EQ(waitForWindow(windows, title), w) << "the client window's own id, not a frame's";
    const ::Window untitled = bare.make("");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(listed(windows, untitled));
    for (const WindowInfo& info : windows.topLevelWindows()) EXPECT_FALSE(info.title.empty());
}

TEST_F(X11WindowsTest, ConfirmsByChildTextThroughTheAccessibilityBus) {
    if (!AtspiControls::available()) GTEST_SKIP() << "no accessibility bus";
    const std::string title = uniqueTitle("Confirm Me");
    Child without(test::testApp(title, "Proceed"));
    const WindowId first = waitForWindow(windows, title);
    Child with(test::testApp(title, "Cancel"));
    ASSERT_NE(first, kNoWindow);
    WindowId second = kNoWindow;
    ASSERT_TRUE(waitUntil([&] {
        for (const WindowInfo& w : windows.topLevelWindows())
            if (w.title == title && w.id != first) second = w.id;
        return second != kNoWindow;
    }));

    // Qt joins the bus a little after its window shows.
    ASSERT_TRUE(waitUntil([&] { return script::childTextFound(windows.children(second), "cancel"); }))
        << "the button's caption is a control's text";
    const auto controls = windows.children(first);
    EXPECT_TRUE(script::childTextFound(controls, "Proceed"));
    EXPECT_FALSE(script::childTextFound(controls, "Cancel"));
    EXPECT_EQ(script::findWindow(windows, title, "Cancel"), second)
        << "the matching window without the text is passed over";
    EXPECT_EQ(script::findWindow(windows, title, "Nowhere"), kNoWindow);
}

TEST_F(X11WindowsTest, ChildTextsFromX11ChildWindowsWhereTheBusDoesNotKnowTheWindow) {
    BareWindows bare;
    const std::string title = uniqueTitle("Old Style Dialog");
    const ::Window w = bare.make(title);
    bare.child(w, "Cancel", "XmPushButton");
    const ::Window box = bare.child(w, "", "XmForm");
    bare.child(box, "Retry later", "XmPushButton");
    ASSERT_EQ(waitForWindow(windows, title), w);

    const auto controls = windows.children(w);
    ASSERT_EQ(controls.size(), 3u);
    EXPECT_EQ(controls[0].className, "XmPushButton");
    EXPECT_EQ(controls[0].text, "Cancel");
    EXPECT_EQ(controls[1].text, "<>") << "a control without text";
    EXPECT_EQ(controls[2].text, "Retry later") << "grandchildren are listed too";
    EXPECT_EQ(script::findWindow(windows, title, "cancel"), w);
}

TEST_F(X11WindowsTest, ForegroundFollowsActivationAndFocusedTextIsItsTitle) {
    const auto a = test::showTestApp(windows, "Front A");
    const auto b = test::showTestApp(windows, "Front B");
    ASSERT_NE(a.id, kNoWindow);
    ASSERT_NE(b.id, kNoWindow);
    for (const auto* shown : {&a, &b, &a}) {
        ASSERT_TRUE(windows.activate(shown->id));
        EXPECT_TRUE(waitUntil([&] { return windows.foreground() == shown->id; }));
        EXPECT_TRUE(waitUntil([&] { return windows.focusedWindowText() == shown->title; }));
    }
}

TEST_F(X11WindowsTest, ActivatingAMinimizedWindowRestoresIt) {
    const auto shown = test::showTestApp(windows, "Minimized");
    const WindowId id = shown.id;
    ASSERT_NE(id, kNoWindow);
    ASSERT_TRUE(windows.minimize(id));
    auto state = [&] {
        XWindowAttributes a{};
        XGetWindowAttributes(connection.display(), static_cast<::Window>(id), &a);
        return a.map_state;
    };
    ASSERT_TRUE(waitUntil([&] { return state() == IsUnmapped; }));
    EXPECT_TRUE(listed(windows, id)) << "a minimized window can still be found";

    ASSERT_TRUE(windows.restore(id));
    EXPECT_TRUE(waitUntil([&] { return state() == IsViewable; }));
    ASSERT_TRUE(windows.minimize(id));
    ASSERT_TRUE(waitUntil([&] { return state() == IsUnmapped; }));
    ASSERT_TRUE(windows.activate(id));
    EXPECT_TRUE(waitUntil([&] { return state() == IsViewable && windows.foreground() == id; }));
}

TEST_F(X11WindowsTest, CloseAsksTheWindowToCloseAsItsCloseButtonWould) {
    const auto shown = test::showTestApp(windows, "Close Me");
    const WindowId id = shown.id;
    ASSERT_NE(id, kNoWindow);
    ASSERT_TRUE(windows.close(id));
    bool found = false;
    shown.app->lineStarting("final:", &found);
    EXPECT_TRUE(found) << "the program ended the way its close button ends it";
    EXPECT_EQ(shown.app->wait(), 0);
    EXPECT_FALSE(windows.close(id)) << "a window that is gone";
    EXPECT_FALSE(windows.activate(id));
    EXPECT_TRUE(windows.children(id).empty());
}

TEST_F(X11WindowsTest, XtermTitlesOfEveryEncodingReadAsUtf8) {
    const std::string title = uniqueTitle("Grüße aus Köln — 東京");
    Child xterm({"xterm", "-T", title, "-e", "sleep", "30"});
    const WindowId id = waitForWindow(windows, title);
    EXPECT_NE(id, kNoWindow);
    EXPECT_EQ(script::findWindow(windows, "*" + title.substr(title.find("Köln")), ""), id);

    // WM_NAME alone, in the encodings older programs use.
    BareWindows bare;
    const std::string latin1Title = uniqueTitle("Caf\xE9");
    const ::Window latin1 = bare.make(latin1Title, "WM_NAME", "STRING");
    std::string utf8Title = latin1Title;
    utf8Title.replace(utf8Title.find('\xE9'), 1, "\xC3\xA9");
    EXPECT_EQ(waitForWindow(windows, utf8Title), latin1);

    const std::string compound = uniqueTitle("Ærø Ωmega");
    XTextProperty property{};
    char* list[] = {const_cast<char*>(compound.c_str())};
    ASSERT_EQ(Xutf8TextListToTextProperty(bare.display(), list, 1, XCompoundTextStyle, &property), Success);
    const ::Window ct = bare.make(std::string(reinterpret_cast<char*>(property.value), property.nitems),
                                  "WM_NAME", "COMPOUND_TEXT");
    XFree(property.value);
    EXPECT_EQ(waitForWindow(windows, compound), ct);
}

TEST_F(X11WindowsTest, InvalidUtf8AndHugeTitlesAreRepairedAndCut) {
    BareWindows bare;
    const std::string marker = uniqueTitle("Broken");
    const ::Window broken = bare.make(marker + " \xFF\xC3(\xED\xA0\x80 end");
    const std::string longMarker = uniqueTitle("Long");
    const ::Window huge = bare.make(longMarker + std::string(10000, 'x'));

    std::string brokenTitle, hugeTitle;
    ASSERT_TRUE(waitUntil([&] {
        for (const WindowInfo& w : windows.topLevelWindows()) {
            if (w.id == broken) brokenTitle = w.title;
            if (w.id == huge) hugeTitle = w.title;
        }
        return !brokenTitle.empty() && !hugeTitle.empty();
    }));
    EXPECT_EQ(brokenTitle, marker + " \uFFFD\uFFFD(\uFFFD\uFFFD\uFFFD end");
    EXPECT_EQ(hugeTitle.size(), kMaxWindowText);
    EXPECT_EQ(hugeTitle.rfind(longMarker, 0), 0u);
    EXPECT_EQ(script::findWindow(windows, longMarker + "*", ""), huge);
}

TEST_F(X11WindowsTest, WindowsVanishingDuringSearchesAreSkipped) {
    const std::string prefix = uniqueTitle("Vanishing");
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        BareWindows bare;
        for (int round = 0; !stop; ++round) {
            std::vector<::Window> made;
            for (int i = 0; i < 20; ++i) made.push_back(bare.make(prefix + " " + std::to_string(i)));
            for (::Window w : made) bare.destroy(w);
        }
    });
    const std::string steady = uniqueTitle("Steady");
    BareWindows keeper;
    const ::Window kept = keeper.make(steady);
    int searches = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        for (const WindowInfo& w : windows.topLevelWindows()) {
            windows.children(w.id);
            windows.processId(w.id);
        }
        script::findWindow(windows, prefix + "*", "nothing like this");
        ++searches;
    }
    stop = true;
    churn.join();
    EXPECT_GT(searches, 5);
    EXPECT_EQ(waitForWindow(windows, steady), kept) << "the connection is still in order";
}

}  // namespace
}  // namespace plorix::platform
