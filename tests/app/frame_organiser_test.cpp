// The clipboard saver and the window monitor's log as the frame opens them,
// on the test desktop: text another program puts on the clipboard shows in
// the open history (bytes mislabelled as UTF-8 as Latin-1), a password
// manager's secret never does; the About box leads to the log of window
// titles, which holds the frame's own, only while the monitor is on.

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/about_box.h"
#include "frame_rig.h"
#include "platform/linux/desktop_linux.h"
#include "program_child.h"
#include "script/command_line.h"
#include "ui/browses/browse_clipboard.h"
#include "ui/browses/browse_window_lookup.h"
#include "ui/kit/record_table_model.h"

namespace plorix::app::test {
namespace {

class FrameOnDesktop : public FrameTest {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs the test desktop";
        desktop = std::make_unique<platform::LinuxDesktop>(script::splitCommandLine);
    }
    std::unique_ptr<platform::LinuxDesktop> desktop;
};

TEST_F(FrameOnDesktop, CopiedTextShowsInTheOpenHistoryAndASecretNever) {
    dir.write("px98.INI", "[Settings]\nMonitorClipboard=1\nStartUpClipboardSaver=1\nStartUpSchedule=1\n");
    MainFrame& f = frame();
    f.open();
    auto* history = f.findChild<ui::BrowseClipboard*>();
    ASSERT_NE(history, nullptr);
    // Another program holds the text while the frame's monitor looks (it
    // looks on every third tick).
    auto copy = [&](const char* how, const std::string& text) {
        ProgramChild owner({PLORIX_TESTAPP, how, text});
        ASSERT_FALSE(owner.lineWith("set", std::chrono::seconds(10)).empty());
        for (int i = 0; i < 4; ++i) tick();
    };
    copy("--clipboard-set-secret", "hunter2-passphrase");
    EXPECT_EQ(history->model().rowCount(), 0);
    copy("--clipboard-set", "Meeting notes ✓");
    ASSERT_EQ(history->model().rowCount(), 1);
    EXPECT_EQ(history->model().text(0, 1), "Meeting notes ✓");
    copy("--clipboard-set-latin1", "Grüße aus Köln");
    ASSERT_EQ(history->model().rowCount(), 2);
    EXPECT_EQ(history->model().text(1, 1), "Grüße aus Köln");
}

TEST_F(FrameOnDesktop, TheAboutBoxLeadsToTheWindowLogWhileTheMonitorIsOn) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    std::filesystem::create_directories(dir / "plorix");
    dir.write("plorix/WIN.INI", "[Plorix]\nMonitor Windows=1\n");
    // The monitor takes its pass when the next task is not yet due.
    addEntries({reminderEntry("Next week", {makeDate(5, 13, 2024), makeTime(9, 0)})});
    MainFrame& f = frame();
    f.open();
    // One listing of the desktop, then one title a tick.
    for (int i = 0; i < 12; ++i) tick();
    auto pressWindowLookup = [&] {
        bool enabled = false;
        QTimer::singleShot(200, [&] {
            auto* box = dynamic_cast<AboutBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            enabled = box->windowLogButton()->isEnabled();
            if (enabled)
                box->windowLogButton()->click();
            else
                box->accept();
        });
        f.perform(FrameCommand::About);
        return enabled;
    };
    EXPECT_TRUE(pressWindowLookup());
    auto* log = f.findChild<ui::BrowseWindowLookup*>();
    ASSERT_NE(log, nullptr);
    QStringList titles;
    for (int row = 0; row < log->model().rowCount(); ++row) titles << log->model().text(row, 0);
    EXPECT_TRUE(titles.contains(f.windowTitle())) << titles.join('|').toStdString();
    log->close();

    dir.write("plorix/WIN.INI", "[Plorix]\nMonitor Windows=0\n");
    EXPECT_FALSE(pressWindowLookup());
    if (saved)
        setenv("XDG_CONFIG_HOME", restore.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace plorix::app::test
