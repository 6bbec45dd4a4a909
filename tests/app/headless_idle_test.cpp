// plorix --headless asleep between minutes: a task another program adds a
// few seconds ahead wakes it, fires once and not before its moment; with
// the clipboard monitor on, what the clipboard holds at the start is kept at
// once, and a copy in another program wakes it and is kept.

#include <gtest/gtest.h>

#include <QDateTime>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "program_child.h"
#include "support/temp_dir.h"

namespace plorix::app::test {
namespace {

using namespace std::chrono_literals;

std::int64_t nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

TEST(HeadlessIdle, ATaskAddedFiveSecondsAheadFiresOnceAtItsMomentBeforeTheNextMinute) {
    plorix::test::TempDir dir;
    const std::string folder = dir.path().string();
    // Far enough from a minute's start that the minute's own wake-up cannot
    // be what fires the task.
    while (QDateTime::currentDateTime().time().second() > 40 ||
           QDateTime::currentDateTime().time().second() < 1)
        std::this_thread::sleep_for(500ms);
    ProgramChild plorix({PLORIX_PATH, "--headless", "-d", folder},
                        {{"DISPLAY", ""}, {"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent"}});
    std::this_thread::sleep_for(3s);  // past the opening ticks: asleep until the minute

    const QDateTime due = QDateTime::currentDateTime().addSecs(5);
    const QString dueTime = due.toString("HH:mm:ss");
    const std::string add = std::string("'") + PLORIX_CLI_PATH + "' -d '" + folder +
                            "' add Schedule SCH:DESCRIPTION=Soon 'SCH:TASKTYPE=Display Message' "
                            "SCH:SCHEDULETYPE=Once SCH:DATE=" +
                            due.toString("yyyy-MM-dd").toStdString() + " SCH:TIME=" + dueTime.toStdString() +
                            " SCH:MESSAGE=now >/dev/null";
    ASSERT_EQ(std::system(add.c_str()), 0);
    const std::int64_t dueMs =
        QDateTime(due.date(), QTime::fromString(dueTime, "HH:mm:ss")).toMSecsSinceEpoch();
    const QDateTime minute = QDateTime(due.date(), QTime(due.time().hour(), due.time().minute())).addSecs(60);
    const auto untilMinute = std::chrono::milliseconds(minute.toMSecsSinceEpoch() - nowMs() - 500);

    EXPECT_EQ(plorix.lineWith("Soon", untilMinute), "Soon: now") << plorix.output();
    EXPECT_GE(nowMs(), dueMs);
    // The next ticks find it done: no second run.
    EXPECT_EQ(plorix.lineWith("Soon", 3s), "") << plorix.output();
    EXPECT_EQ(plorix.terminate(), 0);
}

TEST(HeadlessIdle, ACopyInAnotherProgramWakesTheSleepAndIsKeptAtOnce) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs the test desktop";
    plorix::test::TempDir dir;
    const std::string folder = dir.path().string();
    const std::string cli = std::string("'") + PLORIX_CLI_PATH + "' -d '" + folder + "' ";
    ASSERT_EQ(std::system((cli + "settings MonitorClipboard 1 >/dev/null").c_str()), 0);
    while (QDateTime::currentDateTime().time().second() > 40 ||
           QDateTime::currentDateTime().time().second() < 1)
        std::this_thread::sleep_for(500ms);
    auto kept = [&](const std::string& text) {
        return std::system((cli + "list Clipboard | grep -q '" + text + "'").c_str()) == 0;
    };
    std::optional<ProgramChild> before(
        std::in_place,
        std::vector<std::string>{PLORIX_TESTAPP, "--clipboard-set", "Copied before the start"});
    ASSERT_FALSE(before->lineWith("set", 10s).empty());
    // The tick trace goes to standard error; it is read with the output.
    ProgramChild plorix({"/bin/sh", "-c", "exec \"$0\" --headless -d \"$1\" 2>&1", PLORIX_PATH, folder},
                        {{"PLORIX_TICK_TRACE", "1"}});
    // Reads past the opening ticks.
    EXPECT_EQ(plorix.lineWith("no such line", 3s), "");
    // Asleep: the monitor no longer keeps the frame ticking.
    EXPECT_EQ(plorix.lineWith("plorix-tick", 2s), "") << plorix.output();
    // The opening ticks kept what the clipboard held (a look that wakes it).
    EXPECT_TRUE(kept("Copied before the start")) << plorix.output();
    EXPECT_EQ(plorix.lineWith("no such line", 1s), "");  // past that tick

    ProgramChild owner({PLORIX_TESTAPP, "--clipboard-set", "Copied while asleep"});
    ASSERT_FALSE(owner.lineWith("set", 10s).empty());
    before.reset();
    EXPECT_NE(plorix.lineWith("plorix-tick", 3s), "") << plorix.output();
    EXPECT_TRUE(waitFor([&] { return kept("Copied while asleep"); }, 3)) << plorix.output();
    EXPECT_EQ(plorix.terminate(), 0);
}

}  // namespace
}  // namespace plorix::app::test
