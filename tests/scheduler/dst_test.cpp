// Changes of the wall clock while the scheduler runs: the two daylight-
// saving changes of a year, a clock set forward or back by the user, and a
// machine woken from suspend. Runs in Europe/Berlin, where the clocks go
// from 02:00 to 03:00 on the last Sunday of March and from 03:00 back to
// 02:00 on the last Sunday of October, both at 01:00 UTC.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>

#include "fire_rig.h"
#include "scheduler/frame_tick.h"
#include "support/zone_scope.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

constexpr const char* kZone = "Europe/Berlin";

// Real time in hundredths since 1970 of a UTC moment.
std::int64_t utc(int year, int month, int day, int hours, int minutes) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hours;
    fields.tm_min = minutes;
    return std::int64_t{timegm(&fields)} * 100;
}

struct ZonedClockHolder {
    plorix::test::ZoneScope zone{kZone};
    ZonedClock zoned;
};

class ClockChanges : protected ZonedClockHolder, public FireRig {
protected:
    ClockChanges() : FireRig(zoned) {
        context.hooks.firing = [this](const Schedule& run) {
            fired[run.DESCRIPTION.str()].push_back(zoned.current());
        };
    }
    void SetUp() override {
        if (!std::filesystem::exists(std::string("/usr/share/zoneinfo/") + kZone))
            GTEST_SKIP() << "time zone data missing (install tzdata)";
    }

    // Ticks at the frame's own pace for `hundredths` of real time.
    void runFor(std::int64_t hundredths) {
        for (std::int64_t elapsed = 0; elapsed < hundredths;) {
            frame.tick();
            const int period = frame.state().timerPeriod;
            zoned.advance(period);
            elapsed += period;
        }
    }

    std::int32_t addDaily(std::string_view description, Date date, Time time) {
        Schedule entry = withType(dailyMessage(description, date, time), "Run Program");
        entry.SKIPIFMISSED = 1;
        entry.WARN = 1;
        return add(entry);
    }
    std::int32_t addQuarterHourly(std::string_view description, Moment first) {
        Schedule entry = custom(15, "minute(s)", first.date, first.time);
        entry.ID = 0;
        entry.TASKTYPE = "Run Program";
        entry.DESCRIPTION = description;
        entry.SKIPIFMISSED = 1;
        return add(entry);
    }

    std::vector<Moment> historyOf(std::string_view description) {
        std::vector<Moment> runs;
        for (const Schedule& record : history())
            if (record.DESCRIPTION == description) runs.push_back({record.DATE, record.TIME});
        return runs;
    }
    bool anySkipped() {
        for (const Schedule& record : history())
            if (record.DESCRIPTION.str().starts_with(kSkippedPrefix)) return true;
        return false;
    }

    FrameTick frame{context};
    std::map<std::string, std::vector<Moment>> fired;
};

TEST_F(ClockChanges, WallMomentsMapOntoTheRealTimeline) {
    const Moment skipped = at(2024, 3, 31, 2, 30);
    EXPECT_EQ(instantsOf(skipped).count, 0);
    EXPECT_EQ(dueInstant(skipped), 171184680000);  // the change: 2024-03-31 01:00 UTC
    const WallInstants repeated = instantsOf(at(2024, 10, 27, 2, 30));
    ASSERT_EQ(repeated.count, 2);
    EXPECT_EQ(repeated.second - repeated.first, kHundredthsPerHour);
    EXPECT_EQ(instantsOf(at(2024, 6, 1, 12, 0)).count, 1);
}

TEST_F(ClockChanges, RunInTheSkippedHourFiresOnceRightAfterTheChange) {
    zoned = ZonedClock(utc(2024, 3, 31, 0, 50));  // 01:50 CET
    const std::int32_t daily = addDaily("Daily 02:30", ymd(2024, 3, 31), hm(2, 30));
    addQuarterHourly("Every 15 minutes", at(2024, 3, 31, 2, 0));
    runFor(30 * kHundredthsPerMinute);  // to 03:20 CEST

    ASSERT_EQ(fired["Daily 02:30"].size(), 1u);
    const Moment when = fired["Daily 02:30"][0];
    EXPECT_EQ(when.date, ymd(2024, 3, 31));
    EXPECT_LT(when.time, makeTime(3, 0, 2));                            // on the first tick after the change
    EXPECT_EQ(programs.size(), 1u + fired["Every 15 minutes"].size());  // nothing skipped
    EXPECT_FALSE(anySkipped());
    EXPECT_TRUE(prompter.shown().empty());  // nothing missed either
    EXPECT_EQ(read(daily).DATE, ymd(2024, 4, 1));
    EXPECT_EQ(read(daily).TIME, hm(2, 30));
    // The quarter-hour runs the clock skipped come due together, once.
    EXPECT_EQ(historyOf("Every 15 minutes"),
              (std::vector<Moment>{at(2024, 3, 31, 2, 0), at(2024, 3, 31, 3, 15)}));
}

TEST_F(ClockChanges, RunInTheRepeatedHourFiresOnce) {
    zoned = ZonedClock(utc(2024, 10, 26, 23, 50));  // 01:50 CEST
    const std::int32_t daily = addDaily("Daily 02:30", ymd(2024, 10, 27), hm(2, 30));
    addQuarterHourly("Every 15 minutes", at(2024, 10, 27, 2, 0));
    runFor(150 * kHundredthsPerMinute);  // to 03:20 CET

    ASSERT_EQ(fired["Daily 02:30"].size(), 1u);
    EXPECT_EQ(read(daily).DATE, ymd(2024, 10, 28));
    // Each wall moment once: the second pass through 02:00-03:00 adds none.
    EXPECT_EQ(
        historyOf("Every 15 minutes"),
        (std::vector<Moment>{at(2024, 10, 27, 2, 0), at(2024, 10, 27, 2, 15), at(2024, 10, 27, 2, 30),
                             at(2024, 10, 27, 2, 45), at(2024, 10, 27, 3, 0), at(2024, 10, 27, 3, 15)}));
    EXPECT_FALSE(anySkipped());
}

TEST_F(ClockChanges, ClockSetForwardByHoursTakesTheOverduePathOnce) {
    zoned = ZonedClock(utc(2024, 6, 3, 7, 0));  // 09:00 CEST
    const std::int32_t daily = addDaily("Daily 10:00", ymd(2024, 6, 3), hm(10, 0));
    runFor(30 * kHundredthsPerMinute);
    zoned.jump(3 * kHundredthsPerHour);  // 12:30
    runFor(10 * kHundredthsPerMinute);
    EXPECT_EQ(fired["Daily 10:00"].size(), 1u);
    EXPECT_TRUE(programs.empty());
    EXPECT_EQ(historyOf("(Skipped) Daily 10:00"), std::vector<Moment>{at(2024, 6, 3, 10, 0)});
    EXPECT_EQ(logLabels(), std::vector<std::string>{"Overdue task skipped"});
    EXPECT_EQ(read(daily).DATE, ymd(2024, 6, 4));
}

TEST_F(ClockChanges, ClockSetBackRepeatsNothing) {
    zoned = ZonedClock(utc(2024, 6, 3, 9, 50));  // 11:50 CEST
    Schedule hourly = custom(1, "hour(s)", ymd(2024, 6, 3), hm(12, 0));
    hourly.ID = 0;
    hourly.TASKTYPE = "Run Program";
    hourly.DESCRIPTION = "Hourly";
    const std::int32_t id = add(hourly);
    runFor(20 * kHundredthsPerMinute);                           // 12:00 fires
    zoned.jump(-3 * kHundredthsPerHour);                         // 09:10
    runFor(3 * kHundredthsPerHour + 55 * kHundredthsPerMinute);  // to 13:05
    EXPECT_EQ(historyOf("Hourly"), (std::vector<Moment>{at(2024, 6, 3, 12, 0), at(2024, 6, 3, 13, 0)}));
    EXPECT_EQ(read(id).TIME, hm(14, 0));
}

TEST_F(ClockChanges, MachineWokenAfterTheDueMomentTakesTheMissedPathOnce) {
    zoned = ZonedClock(utc(2024, 6, 3, 21, 50));  // 23:50 CEST
    Schedule nightly = withType(dailyMessage("Nightly", ymd(2024, 6, 3), hm(23, 55)), "Run Program");
    nightly.WARN = 1;
    const std::int32_t id = add(nightly);
    runFor(2 * kHundredthsPerMinute);
    zoned.jump(8 * kHundredthsPerHour);  // asleep until 07:52
    runFor(5 * kHundredthsPerMinute);
    EXPECT_EQ(prompter.titles(), std::vector<std::string>{"Missed Task"});
    EXPECT_EQ(fired["Nightly"].size(), 1u);
    EXPECT_TRUE(programs.empty());  // the question's default is No
    // Day-based repetitions move to the first day after the day it fired.
    EXPECT_EQ(read(id).DATE, ymd(2024, 6, 5));
    EXPECT_EQ(read(id).TIME, hm(23, 55));
}

}  // namespace
}  // namespace plorix::scheduler
