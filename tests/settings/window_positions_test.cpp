#include "settings/window_positions.h"

#include <gtest/gtest.h>

#include "runtime/ini_file.h"
#include "support/temp_dir.h"

namespace plorix::settings {
namespace {

// A window as the desktop would report it.
class FakeWindow : public WindowGeometryAccess {
public:
    bool maximized = false;
    bool minimized = false;
    bool resizable = true;
    WindowGeometry normal{100, 80, 640, 480};
    int moves = 0;

    bool isMaximized() const override { return maximized; }
    bool isMinimized() const override { return minimized; }
    bool isResizable() const override { return resizable; }
    WindowGeometry geometry() const override { return normal; }
    void setGeometry(const WindowGeometry& g) override {
        normal = g;
        ++moves;
    }
    void move(int x, int y) override {
        normal.x = x;
        normal.y = y;
        ++moves;
    }
    void maximize() override { maximized = true; }
    void showNormal() override { maximized = false; }
};

class WindowPositionTest : public ::testing::Test {
protected:
    test::TempDir dir;
    IniFile ini{"POSITION.INI"};
};

TEST_F(WindowPositionTest, SavesNormalGeometryAndMaximizedState) {
    FakeWindow w;
    w.maximized = true;
    saveWindowPosition(w, "BrowseMessages");
    EXPECT_FALSE(w.maximized);
    EXPECT_EQ(ini.getString("BrowseMessages", "Maximize"), "Yes");
    EXPECT_EQ(ini.getInt("BrowseMessages", "XPosit"), 100);
    EXPECT_EQ(ini.getInt("BrowseMessages", "YPosit"), 80);
    EXPECT_EQ(ini.getInt("BrowseMessages", "Width"), 640);
    EXPECT_EQ(ini.getInt("BrowseMessages", "Height"), 480);
    EXPECT_EQ(dir.read("POSITION.INI").find("[BrowseMessages]\r\n"), 0u);
}

TEST_F(WindowPositionTest, AWindowClosedWhileMinimisedReopensWhereItWas) {
    FakeWindow w;
    saveWindowPosition(w, "ViewLog");
    w.minimized = true;
    w.normal = {0, 0, 160, 30};
    saveWindowPosition(w, "ViewLog");
    EXPECT_EQ(ini.getString("ViewLog", "Maximize"), "No");

    FakeWindow reopened;
    reopened.normal = {5, 5, 300, 200};
    restoreWindowPosition(reopened, "ViewLog");
    EXPECT_EQ(reopened.normal.x, 100);
    EXPECT_EQ(reopened.normal.y, 80);
    EXPECT_EQ(reopened.normal.width, 640);
    EXPECT_EQ(reopened.normal.height, 480);
    EXPECT_FALSE(reopened.maximized);
}

TEST_F(WindowPositionTest, NothingStoredOrXPositZeroLeavesTheWindowAlone) {
    FakeWindow w;
    restoreWindowPosition(w, "Calendar");
    ini.putString("Calendar", "XPosit", "0");
    ini.putString("Calendar", "YPosit", "50");
    ini.putString("Calendar", "Maximize", "Yes");
    restoreWindowPosition(w, "Calendar");
    EXPECT_EQ(w.moves, 0);
    EXPECT_FALSE(w.maximized);
}

TEST_F(WindowPositionTest, RestoreFollowsTheWindowsKind) {
    ini.putString("Setup", "XPosit", "30");
    ini.putString("Setup", "YPosit", "40");
    ini.putString("Setup", "Width", "500");
    ini.putString("Setup", "Height", "0");
    ini.putString("Setup", "Maximize", "No");

    FakeWindow resizable;  // a size of 0 is no size: the window stays put
    restoreWindowPosition(resizable, "Setup");
    EXPECT_EQ(resizable.moves, 0);

    FakeWindow fixed;  // a fixed window moves and keeps its own size
    fixed.resizable = false;
    restoreWindowPosition(fixed, "Setup");
    EXPECT_EQ(fixed.normal.x, 30);
    EXPECT_EQ(fixed.normal.y, 40);
    EXPECT_EQ(fixed.normal.width, 640);

    ini.putString("Setup", "Maximize", "Yes");
    FakeWindow maximized;  // already maximised: not moved, maximised again
    maximized.maximized = true;
    maximized.resizable = false;
    restoreWindowPosition(maximized, "Setup");
    EXPECT_EQ(maximized.moves, 0);
    EXPECT_TRUE(maximized.maximized);
}

TEST_F(WindowPositionTest, TheFileIsFoundWhateverItsLetterCase) {
    dir.write("position.ini", "[Main]\nXPosit=12\nYPosit=34\nWidth=200\nHeight=100\nMaximize=No\n");
    FakeWindow w;
    restoreWindowPosition(w, "Main");
    EXPECT_EQ(w.normal.x, 12);
    EXPECT_EQ(w.normal.width, 200);
    saveWindowPosition(w, "Main");
    EXPECT_FALSE(std::filesystem::exists(dir / "POSITION.INI"));
}

}  // namespace
}  // namespace plorix::settings
