// The frame as a desktop program: F1's help page, names a screen reader
// can say, and closing into the tray when the user asked for it.

#include <QAccessible>
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>

#include "app/help_key.h"
#include "app/help_window.h"
#include "frame_rig.h"
#include "settings/settings.h"
#include "ui/setup_window.h"

namespace plorix::app::test {
namespace {

class FrameCitizen : public FrameTest {};

TEST_F(FrameCitizen, F1ShowsTheHelpPageAboutTheWindowItWasPressedIn) {
    frame().show();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&frame(), &f1);
    EXPECT_TRUE(frame().help().isVisible());
    EXPECT_EQ(frame().help().currentPage(), "index.html");

    // Over the modal Setup: the part about the tab in front, in a help
    // window that takes keys while Setup is open.
    settings::Settings live;
    ui::Setup setup(live, prompter, {}, &frame());
    setup.tabs()->setCurrentIndex(1);
    EXPECT_EQ(helpPageFor(&setup), "settings.html#general");
    setup.setWindowModality(Qt::ApplicationModal);
    setup.show();
    ASSERT_TRUE(processUntil([&] { return QApplication::activeModalWidget() == &setup; }));
    QApplication::sendEvent(setup.tabs(), &f1);
    HelpWindow& help = frame().help();
    EXPECT_EQ(help.currentPage(), "settings.html");
    EXPECT_EQ(help.browser().source().fragment(), "general");
    ASSERT_TRUE(processUntil([&] { return help.isVisible() && help.windowHandle(); }));
    help.searchField().clear();
    help.searchField().setFocus();
    // Keys as the window system brings them, which a blocked window drops.
    for (const char key : std::string_view("tray")) QTest::keyClick(help.windowHandle(), key);
    EXPECT_EQ(help.searchField().text(), "tray");
    setup.close();
}

TEST_F(FrameCitizen, EveryControlOfTheToolbarAndStatusBarHasAName) {
    frame().show();
    QList<QWidget*> controls = frame().toolbar().findChildren<QWidget*>();
    controls += frame().statusBar()->findChildren<QWidget*>();
    int named = 0;
    for (QWidget* control : controls) {
        if (!qobject_cast<QAbstractButton*>(control) && !qobject_cast<QLineEdit*>(control) &&
            !qobject_cast<QLabel*>(control))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << control->metaObject()->className();
        ++named;
    }
    EXPECT_GE(named, 5);  // the script mark and the four zones at least
}

TEST_F(FrameCitizen, ClosingKeepsTheProgramInTheTrayOnlyWhenAskedAndExitStillEnds) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "no tray on this desktop";
    bool ended = false;
    frame().onClosed([&] { ended = true; });
    frame().show();
    settings::settings().KeepInTray = true;
    frame().close();
    EXPECT_FALSE(ended);
    EXPECT_TRUE(frame().inTray());

    frame().restoreFromTray();
    frame().perform(FrameCommand::Exit);
    EXPECT_TRUE(ended);
    settings::settings().KeepInTray = false;
}

}  // namespace
}  // namespace plorix::app::test
