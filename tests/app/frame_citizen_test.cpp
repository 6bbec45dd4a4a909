// The frame as a desktop program: F1's help page, names a screen reader
// can say, and closing into the tray when the user asked for it.

#include <QAccessible>
#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QSystemTrayIcon>

#include "app/help_key.h"
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

    settings::Settings live;
    ui::Setup setup(live, prompter, {}, &frame());
    EXPECT_EQ(helpPageFor(&setup), "settings.html");
    QApplication::sendEvent(setup.tabs(), &f1);
    EXPECT_EQ(frame().help().currentPage(), "settings.html");
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
