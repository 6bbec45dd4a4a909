// Window positions of Qt windows: what a window saves when it is closed is
// what the next window of the same section starts from.

#include "ui/window_geometry.h"

#include <gtest/gtest.h>

#include <QDialog>

#include "qt_test_app.h"
#include "runtime/ini_file.h"
#include "support/temp_dir.h"

namespace plorix::ui {
namespace {

class WindowGeometryTest : public ::testing::Test {
protected:
    IniFile positions() const { return IniFile(std::string(settings::kPositionIni)); }
    test::TempDir dir;
};

TEST_F(WindowGeometryTest, PositionSurvivesCloseAndReopen) {
    {
        QWidget first;
        rememberPosition(first, "BrowseTodo");
        first.setGeometry(130, 140, 420, 310);
        first.show();
        first.close();
    }
    EXPECT_EQ(positions().getString("BrowseTodo", "Maximize"), "No");
    EXPECT_EQ(positions().getInt("BrowseTodo", "XPosit"), 130);
    EXPECT_EQ(positions().getInt("BrowseTodo", "YPosit"), 140);
    EXPECT_EQ(positions().getInt("BrowseTodo", "Width"), 420);
    EXPECT_EQ(positions().getInt("BrowseTodo", "Height"), 310);

    QWidget second;
    rememberPosition(second, "BrowseTodo");
    second.show();
    EXPECT_EQ(second.geometry(), QRect(130, 140, 420, 310));
    EXPECT_FALSE(second.isMaximized());
    // Another section is not touched.
    EXPECT_FALSE(positions().find("ViewLog", "XPosit"));
}

TEST_F(WindowGeometryTest, MaximisedWindowKeepsItsNormalPlaceAndReopensMaximised) {
    {
        QWidget first;
        rememberPosition(first, "Main");
        first.setGeometry(50, 60, 300, 200);
        first.show();
        first.showMaximized();
        test::runEvents();
        first.close();
    }
    EXPECT_EQ(positions().getString("Main", "Maximize"), "Yes");
    EXPECT_EQ(positions().getInt("Main", "XPosit"), 50);
    EXPECT_EQ(positions().getInt("Main", "Width"), 300);

    QWidget second;
    rememberPosition(second, "Main");
    EXPECT_TRUE(second.windowState() & Qt::WindowMaximized);
    second.show();
    second.showNormal();
    EXPECT_TRUE(test::waitUntil([&] { return second.geometry() == QRect(50, 60, 300, 200); }))
        << second.geometry().x() << "," << second.geometry().y() << " " << second.geometry().width() << "x"
        << second.geometry().height();
}

TEST_F(WindowGeometryTest, FixedSizeWindowMovesButKeepsItsSize) {
    IniFile ini = positions();
    ini.putString("About", "XPosit", "70");
    ini.putString("About", "YPosit", "80");
    ini.putString("About", "Width", "900");
    ini.putString("About", "Height", "900");
    QWidget fixed;
    fixed.setFixedSize(200, 100);
    rememberPosition(fixed, "About");
    fixed.show();
    EXPECT_EQ(fixed.geometry(), QRect(70, 80, 200, 100));
}

TEST_F(WindowGeometryTest, DialogSavesWhenDoneAndReturnsWhenShownAgain) {
    QDialog dialog;
    rememberPosition(dialog, "Setup");
    dialog.setGeometry(200, 210, 320, 240);
    dialog.show();
    dialog.accept();  // hides without a close event
    EXPECT_EQ(positions().getInt("Setup", "XPosit"), 200);

    positions().putString("Setup", "XPosit", "260");
    dialog.show();
    EXPECT_EQ(dialog.geometry().topLeft(), QPoint(260, 210));
}

}  // namespace
}  // namespace plorix::ui
