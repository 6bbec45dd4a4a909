// The desktop program started as a user starts it, on the test desktop:
// its window, the title the tick gives it, the tray, and the frame's place
// kept across a restart.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "frame_rig.h"
#include "program_child.h"
#include "data/process_tables.h"
#include "runtime/prompter.h"
#include "data/open_routine.h"
#include "data/tables/schedule.h"
#include "platform/keyboard.h"
#include "platform/linux/desktop_linux.h"
#include "script/command_line.h"
#include "runtime/ini_file.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "support/served_run.h"

// Last: Xlib's macros would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace plorix::app::test {
namespace {

using plorix::test::lines;
using plorix::test::runProcess;
using plorix::test::TempDir;

bool haveDisplay() {
    const char* d = std::getenv("DISPLAY");
    return d && *d;
}

#define NEED_DISPLAY() \
    if (!haveDisplay()) GTEST_SKIP() << "needs the test desktop (scripts/with-desktop)"

// The first window whose title matches the regular expression, mapped or not.
std::string findWindow(const std::string& pattern) {
    auto found = lines(runProcess({"/usr/bin/xdotool", "search", "--name", pattern}).out);
    return found.empty() ? std::string() : found.front();
}

std::string waitForWindow(const std::string& pattern, double seconds = 20) {
    std::string window;
    waitFor([&] { return !(window = findWindow(pattern)).empty(); }, seconds);
    return window;
}

std::string windowName(const std::string& window) {
    auto name = lines(runProcess({"/usr/bin/xdotool", "getwindowname", window}).out);
    return name.empty() ? std::string() : name.front();
}

// "x,y" of the window's client area on the screen.
std::string windowPosition(const std::string& window) {
    for (const std::string& line : lines(runProcess({"/usr/bin/xdotool", "getwindowgeometry", window}).out)) {
        const auto at = line.find("Position: ");
        if (at != std::string::npos) return line.substr(at + 10, line.find(' ', at + 10) - at - 10);
    }
    return {};
}

// As the window manager's close button asks: a typed Alt+F4 could reach
// the next test's window too.
void closeWindow(const std::string& window) {
    platform::LinuxDesktop desktop(script::splitCommandLine);
    desktop.parts().windows->close(std::stoull(window));
}

std::string plorixTitle() { return "^Plorix 98 1\\.7a$"; }

// Whether a window of ours (class "plorix") sits inside the tray host's
// window (the test desktop's tray host is trayer).
bool iconEmbeddedInTray() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    auto classOf = [&](Window w, bool name) {
        XClassHint hint{};
        std::string text;
        if (XGetClassHint(display, w, &hint)) {
            text = name ? hint.res_name : hint.res_class;
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
        return text;
    };
    std::function<bool(Window, bool)> search = [&](Window w, bool insideTray) {
        if (insideTray && classOf(w, true) == "plorix") return true;
        // trayer's panel is of class "trayer", its leader window of "Trayer".
        std::string hostClass = classOf(w, false);
        std::transform(hostClass.begin(), hostClass.end(), hostClass.begin(), ::tolower);
        const bool tray = insideTray || hostClass == "trayer";
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, w, &root, &parent, &children, &count)) return false;
        bool found = false;
        for (unsigned i = 0; i < count && !found; ++i) found = search(children[i], tray);
        if (children) XFree(children);
        return found;
    };
    const Atom selection = XInternAtom(display, "_NET_SYSTEM_TRAY_S0", False);
    const bool hostRuns = XGetSelectionOwner(display, selection) != 0;
    const bool found = hostRuns && search(DefaultRootWindow(display), false);
    XCloseDisplay(display);
    return found;
}

TEST(FrameStart, WithoutADisplayItSaysSoInOneLine) {
    TempDir dir(false);
    auto r = runProcess({PLORIX_PATH, "-d", dir.path().string()}, {},
                        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}});
    EXPECT_NE(r.status, 0);
    ASSERT_EQ(lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find("display"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "Px97.TPS"));
}

TEST(FrameStart, TheFramesPlaceSurvivesARestart) {
    PLORIX_FILE_RUN_ONLY("the file made on first use");
    NEED_DISPLAY();
    TempDir dir(false);
    std::string stored;
    {
        ProgramChild plorix({PLORIX_PATH, "-d", dir.path().string()});
        const std::string window = waitForWindow(plorixTitle());
        ASSERT_FALSE(window.empty()) << "no window titled \"Plorix 98 1.7a\"";
        EXPECT_TRUE(std::filesystem::exists(dir / "Px97.TPS"));
        const std::string before = windowPosition(window);
        runProcess({"/usr/bin/xdotool", "windowmove", "--sync", window, "233", "177"});
        EXPECT_TRUE(waitFor([&] { return windowPosition(window) != before; }, 5));
        stored = windowPosition(window);
        closeWindow(window);
        EXPECT_EQ(plorix.wait(std::chrono::seconds(20)), 0) << "closing the frame did not end the program";
    }
    const IniFile ini((dir / "POSITION.INI").string());
    EXPECT_GT(ini.getInt("Main", "XPosit"), 200);
    EXPECT_GT(ini.getInt("Main", "YPosit"), 150);
    EXPECT_GT(ini.getInt("Main", "Width"), 0);
    EXPECT_EQ(ini.getString("Main", "Maximize"), "No");

    ProgramChild again({PLORIX_PATH, "-d", dir.path().string()});
    const std::string window = waitForWindow(plorixTitle());
    ASSERT_FALSE(window.empty());
    EXPECT_TRUE(waitFor([&] { return windowPosition(window) == stored; }, 5))
        << windowPosition(window) << " instead of " << stored;
    closeWindow(window);
    EXPECT_EQ(again.wait(std::chrono::seconds(20)), 0);
}

TEST(FrameStart, InactiveSwitchShowsInTheTitle) {
    NEED_DISPLAY();
    TempDir dir(false);
    ProgramChild plorix({PLORIX_PATH, "-d", dir.path().string(), "/I"});
    EXPECT_FALSE(waitForWindow("^Plorix 98 1\\.7a \\(Inactive\\)$").empty());
}

TEST(FrameStart, MinimisedItNamesTheNextTaskInItsTitleAndSitsInTheTray) {
    NEED_DISPLAY();
    TempDir dir;
    const Moment now = SystemClock().current();
    addEntries({reminderEntry("Water the plants", {now.date + 1, makeTime(17, 30)})});
    data::resetProcessTables();
    ProgramChild plorix({PLORIX_PATH, "-d", dir.path().string()});
    const std::string window = waitForWindow(plorixTitle());
    ASSERT_FALSE(window.empty());
    EXPECT_FALSE(iconEmbeddedInTray());
    runProcess({"/usr/bin/xdotool", "windowminimize", "--sync", window});
    const std::string titled = waitForWindow("^Plorix 98 1\\.7a - Water the plants ", 10);
    ASSERT_EQ(titled, window);
    const std::string title = windowName(window);
    EXPECT_TRUE(title.ends_with(" 5:30PM")) << title;
    EXPECT_TRUE(waitFor(iconEmbeddedInTray, 5)) << "no icon of ours in the tray host";
}

// The reminder of a due task is found as a user's script would find it,
// through the platform layer, and its Snooze button stores the "Snooze" entry.
TEST(FrameStart, ADueTaskShowsItsReminderAndSnoozeStoresTheSnoozeEntry) {
    NEED_DISPLAY();
    TempDir dir;
    const Moment due = addHundredths(SystemClock().current(), 3 * kHundredthsPerSecond);
    addEntries({reminderEntry("Dentist at four", due, "Bring the card")});
    data::resetProcessTables();
    ProgramChild plorix({PLORIX_PATH, "-d", dir.path().string()});
    ASSERT_FALSE(waitForWindow(plorixTitle()).empty());

    platform::LinuxDesktop desktop(script::splitCommandLine);
    platform::Windows& windows = *desktop.parts().windows;
    platform::WindowId reminder = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const auto& w : windows.topLevelWindows())
                if (w.title == "Message" && windows.processId(w.id) == plorix.pid()) reminder = w.id;
            return reminder != 0;
        },
        20))
        << "no reminder window titled \"Message\"";

    // Alt+S is the window's "&Snooze", pressed once the window manager has
    // given the reminder the focus (on a busy machine that takes a while).
    ASSERT_TRUE(windows.activate(reminder));
    EXPECT_TRUE(waitFor([&] { return windows.foreground() == reminder; }, 10))
        << "the reminder never had the focus";
    desktop.parts().keyboard->pressKey(platform::kAltBit | 'S');
    auto snoozeEntries = [] {
        std::vector<std::string> found;
        RecordingPrompter quiet;
        store::Table& schedule = data::processTable<data::Schedule>();
        const data::TableUse use(schedule, quiet);
        schedule.setStart(-1);
        while (schedule.next() == store::kNoError) {
            const auto& entry = schedule.rec<data::Schedule>();
            if (entry.CATEGORY == "Snooze")
                found.push_back(entry.DESCRIPTION.str() + "|" + entry.MESSAGE.str());
        }
        return found;
    };
    std::vector<std::string> snoozed;
    EXPECT_TRUE(waitFor([&] { return !(snoozed = snoozeEntries()).empty(); }, 10)) << "no \"Snooze\" entry";
    EXPECT_EQ(snoozed, std::vector<std::string>{"Dentist at four|Bring the card"});
    EXPECT_TRUE(waitFor(
        [&] {
            for (const auto& w : windows.topLevelWindows())
                if (w.id == reminder) return false;
            return true;
        },
        10))
        << "the reminder stayed open after Snooze";
    data::resetProcessTables();
}

}  // namespace
}  // namespace plorix::app::test
