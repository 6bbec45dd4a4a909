// The idle sleep when the clock is set forward past a due run: the run
// fires at once, once, and the sleep is planned again.
//
// A test may not set the machine's clock (builds and other tests run beside
// it). The wall clock is moved instead through the process's time zone,
// which the system clock reads it through, and the kernel's word that the
// clock was set is delivered through the wake timer.

#include <gtest/gtest.h>

#include <QDateTime>
#include <thread>

#include "app/scheduler_engine.h"
#include "app/tick_driver.h"
#include "data/process_tables.h"
#include "frame_rig.h"
#include "platform/linux/wake_timer.h"
#include "settings/settings.h"
#include "support/zone_scope.h"

namespace plorix::app::test {
namespace {

using namespace std::chrono_literals;

TEST(ClockChange, AClockSetForwardPastADueRunFiresItOnceAndTheSleepIsPlannedAgain) {
    testApplication();
    plorix::test::TempDir dir;
    plorix::test::ZoneScope zone("UTC0");
    settings::settings() = settings::Settings{};
    // Far from a minute's start: the minute's own wake-up must not be what
    // fires the run.
    while (QDateTime::currentDateTime().time().second() > 35 ||
           QDateTime::currentDateTime().time().second() < 1)
        std::this_thread::sleep_for(500ms);
    const SystemClock clock;
    addEntries({reminderEntry("In an hour", addHundredths(clock.current(), 3600 * 100))});

    RecordingPrompter prompter;
    int fired = 0;
    {
        SchedulerEngine engine(
            clock, prompter,
            {.showReminder = [](const auto&, auto) {}, .firing = [&](const data::Schedule&) { ++fired; }});
        TickDriver driver(engine, {}, {});
        driver.sleepWhenIdle(QString::fromStdString(dir.path().string()));
        ASSERT_NE(driver.wakeTimer(), nullptr) << "no real-time timer here";
        driver.start();
        ASSERT_TRUE(processUntil([&] { return driver.sleeping(); }, 10));

        // Two hours on: the run lies an hour behind the wall clock.
        zone.set("XXX-2");
        driver.wakeTimer()->clockWasSet();
        EXPECT_TRUE(processUntil([&] { return fired == 1 && driver.sleeping(); }, 5)) << fired;
        processUntil([] { return false; }, 2);
        EXPECT_EQ(fired, 1);
        EXPECT_TRUE(driver.sleeping());
        driver.stop();
    }
    data::resetProcessTables();
    data::resetUseCounts();
    settings::settings() = settings::Settings{};
}

}  // namespace
}  // namespace plorix::app::test
