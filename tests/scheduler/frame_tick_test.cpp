// The frame's tick: what it fires, the title, status zones, tray icon and
// timer period it leaves behind, and its guard against running inside
// itself.

#include <gtest/gtest.h>

#include <thread>

#include "data/tables.h"
#include "fire_rig.h"
#include "scheduler/frame_tick.h"
#include "scheduler/wake_plan.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

class Tick : public FireRig {
protected:
    TickHooks recordingHooks() {
        TickHooks hooks;
        hooks.clipboardCheck = [this] {
            ++clipboardChecks;
            return store::ErrorState{};
        };
        hooks.windowMonitorPass = [this] {
            ++monitorPasses;
            return store::ErrorState{};
        };
        hooks.scriptStep = [this]() -> std::optional<std::string> {
            ++scriptSteps;
            return "Send Keystrokes-step " + std::to_string(scriptSteps);
        };
        hooks.trayChanged = [this](const FrameState& state) {
            trayIcons.push_back(state.currentIcon);
            trayTips.push_back(state.trayTip);
        };
        hooks.watchSchedule = true;
        return hooks;
    }

    int clipboardChecks = 0;
    int monitorPasses = 0;
    int scriptSteps = 0;
    std::vector<std::string> trayIcons;
    std::vector<std::string> trayTips;
    FrameTick frame{context, recordingHooks()};
    FrameState& state = frame.state();
};

TEST_F(Tick, PeriodsTitlesAndStatusFollowWhatTheSchedulerIsDoing) {
    EXPECT_EQ(state.timerPeriod, 100);
    add(dailyMessage("Lunch", ymd(2024, 5, 6), hm(12, 0)));
    frame.tick();
    EXPECT_EQ(state.timerPeriod, 125);
    EXPECT_EQ(state.title, "Plorix 98 1.7a");
    EXPECT_EQ(state.statusNext, "Next: Lunch");
    EXPECT_EQ(state.toolbarMark, "");
    EXPECT_EQ(state.statusDate, "Monday, MAY 06,2024");
    EXPECT_EQ(state.statusTime, "9:00AM");

    scriptQueued = true;
    frame.tick();
    EXPECT_EQ(state.timerPeriod, 50);
    EXPECT_EQ(state.toolbarMark, "*");
    EXPECT_EQ(scriptSteps, 1);
    EXPECT_EQ(state.statusNext, "Send Keystrokes-step 1");  // progress instead of the next task

    state.active = false;
    frame.tick();
    EXPECT_EQ(state.timerPeriod, 250);
    EXPECT_EQ(state.title, "Plorix 98 1.7a (Inactive)");
    EXPECT_EQ(state.statusNext, "Inactive");
    EXPECT_EQ(state.toolbarMark, "");
    EXPECT_EQ(scriptSteps, 1);  // no script step while inactive

    EXPECT_EQ(openingPeriod(0), 100);
    EXPECT_EQ(openingPeriod(101), 100);
    EXPECT_EQ(openingPeriod(1), 1);
}

TEST_F(Tick, IconizedFrameNamesTheNextTaskInTitleAndTrayTip) {
    add(dailyMessage("Water the plants", ymd(2024, 5, 6), hm(17, 30)));
    state.iconized = true;
    state.trayShown = true;
    frame.tick();
    EXPECT_EQ(state.title, "Plorix 98 1.7a - Water the plants MAY 06,2024 5:30PM");
    EXPECT_EQ(trayTips, std::vector<std::string>{state.title});

    settings.NoTray = true;
    state.iconized = false;
    frame.tick();
    EXPECT_EQ(state.title, "Plorix 98 1.7a");
    EXPECT_EQ(trayTips.size(), 1u);
}

TEST_F(Tick, NothingEnabledLeavesThePlainTitleAndAnEmptyStatus) {
    Schedule disabled = dailyMessage("Off", ymd(2024, 5, 6));
    disabled.DISABLED = 1;
    add(disabled);
    state.iconized = true;
    state.statusNext = "stale";
    frame.tick();
    EXPECT_EQ(state.title, "Plorix 98 1.7a");
    EXPECT_EQ(state.statusNext, "");
}

TEST_F(Tick, EntriesDueTogetherFireOnConsecutiveTicksInKeyOrder) {
    const std::int32_t second = add(dailyMessage("Second", ymd(2024, 5, 6), hm(9, 0)));
    const std::int32_t first = add(dailyMessage("First", ymd(2024, 5, 6), hm(8, 59)));
    const std::int32_t third = add(dailyMessage("Third", ymd(2024, 5, 6), hm(9, 0)));
    std::vector<std::int32_t> order;
    context.hooks.firing = [&](const Schedule& run) { order.push_back(run.ID); };
    for (int i = 0; i < 4; ++i) {
        const TickReport report = frame.tick();
        EXPECT_EQ(report.fired.has_value(), i < 3) << i;
        clock.advance(state.timerPeriod);
    }
    EXPECT_EQ(order, (std::vector<std::int32_t>{first, second, third}));
}

TEST_F(Tick, BoxOpenedByTheTickKeepsTimerEventsOut) {
    // A question's own event loop lets the timer fire again; that tick must
    // not run while the question is open.
    class Reentering final : public Prompter {
    public:
        std::function<void()> whileOpen;
        int message(std::string_view, std::string_view, Icon, ButtonSet, int defaultButton) override {
            if (whileOpen) whileOpen();
            return defaultButton;
        }
        std::unique_ptr<Progress> progress(std::string_view, std::string_view) override {
            return makeSilentProgress();
        }
    } reentering;
    FireContext guarded{clock, reentering, settings, schedule(), scripting(), sound, context.hooks};
    FrameTick guardedFrame(guarded);
    std::vector<bool> nested;
    reentering.whileOpen = [&] { nested.push_back(guardedFrame.tick().ran); };

    Schedule first = withType(dailyMessage("Ask first", ymd(2024, 5, 6)), "Run Program");
    first.USERSKIP = 1;
    add(first);
    add(dailyMessage("Due too", ymd(2024, 5, 6)));
    EXPECT_TRUE(guardedFrame.tick().ran);
    EXPECT_EQ(nested, std::vector<bool>{false});
    EXPECT_TRUE(guardedFrame.tick().fired.has_value());  // the next one fires afterwards
    EXPECT_EQ(reminders.size(), 1u);
}

TEST_F(Tick, TrayIconTurnsWhileAScriptStepsAndComesBackAfterwards) {
    add(dailyMessage("Later", ymd(2024, 5, 7)));
    state.trayShown = true;
    frame.tick();  // the tip takes the title
    trayIcons.clear();
    scriptQueued = true;
    for (int i = 0; i < 5; ++i) frame.tick();
    EXPECT_EQ(trayIcons,
              (std::vector<std::string>{"trayb_ico", "trayc_ico", "trayd_ico", "tray_ico", "trayb_ico"}));
    scriptQueued = false;
    frame.tick();
    EXPECT_EQ(trayIcons.back(), "tray_ico");
    EXPECT_EQ(state.currentIcon, "tray_ico");
    frame.tick();
    EXPECT_EQ(trayIcons.size(), 6u);  // nothing more to change
}

TEST_F(Tick, BrowsesHearOnceOfEachTickThatFindsTheScheduleChangedWhoeverChangedIt) {
    int refreshes = 0;
    const int browse = frame.browses().add([&] { ++refreshes; });
    const auto tickTells = [&] {
        const int before = refreshes;
        const bool changed = frame.tick().scheduleChanged;
        EXPECT_EQ(refreshes - before, changed ? 1 : 0);
        return changed;
    };
    EXPECT_FALSE(tickTells());                               // the first look only takes note
    add(dailyMessage("Later", ymd(2024, 5, 6), hm(17, 0)));  // as a window adds, on this thread
    EXPECT_TRUE(tickTells());
    EXPECT_FALSE(tickTells());

    // Another connection (a receive's worker, another station): three
    // changes, one tick, one notice.
    std::thread([] {
        store::Table elsewhere(Schedule::schema());
        RecordingPrompter quiet;
        data::openTable(elsewhere, quiet);
        for (int id = 10; id < 13; ++id) {
            elsewhere.rec<Schedule>() = dailyMessage("Theirs", ymd(2024, 5, 6), hm(18, 0));
            elsewhere.rec<Schedule>().ID = id;
            ASSERT_EQ(elsewhere.add(), store::kNoError);
        }
        elsewhere.close();
    }).join();
    EXPECT_TRUE(tickTells());

    // Another table of the same file, or a change taken back, is none.
    store::Table& todo = data::processTable<data::Todo>();
    data::openTable(todo, prompter);
    todo.rec<data::Todo>().TODO = "Not a task";
    ASSERT_EQ(todo.add(), store::kNoError);
    EXPECT_FALSE(tickTells());
    ASSERT_EQ(schedule().begin(), store::kNoError);
    add(dailyMessage("Taken back", ymd(2024, 5, 6), hm(19, 0)));
    schedule().rollback();
    EXPECT_FALSE(tickTells());

    // A run moves its entry on.
    clock.set(at(2024, 5, 6, 17, 0));
    const TickReport run = frame.tick();
    EXPECT_TRUE(run.fired);
    EXPECT_TRUE(run.scheduleChanged);
    EXPECT_EQ(refreshes, 3);
    frame.browses().remove(browse);
    add(dailyMessage("Unheard", ymd(2024, 5, 6), hm(20, 0)));
    EXPECT_TRUE(frame.tick().scheduleChanged);
    EXPECT_EQ(refreshes, 3);
}

// A clock on which every reading of the steady count comes a second after
// the last: each look at the schedule seems to take a second.
class SlowClock final : public Clock {
public:
    Moment current() const override { return at(2024, 5, 6, 9, 0); }
    std::int64_t steadyHundredths() const override { return steady_ += 100; }

private:
    mutable std::int64_t steady_ = 0;
};
struct SlowClockHolder {
    SlowClock slow;
};
class SlowLooks : SlowClockHolder, public FireRig {
protected:
    SlowLooks() : FireRig(slow) {}
};

TEST_F(SlowLooks, AfterALongLookTheNextWaitsWithTheTicksAtThePeriodAndTellsWhatCameMeanwhile) {
    FrameTick frame(context, {.watchSchedule = true});
    add(dailyMessage("First", ymd(2024, 5, 7)));
    EXPECT_TRUE(frame.tick().scheduleChanged);
    add(dailyMessage("Second", ymd(2024, 5, 7)));
    int ticks = 1;
    while (!frame.tick().scheduleChanged && ticks < 20) {
        EXPECT_TRUE(frame.state().steady);  // no sleep while a look is owed
        ++ticks;
    }
    // The look took a second: the next came some ten seconds later.
    EXPECT_GT(ticks, 2);
    EXPECT_LT(ticks, 20);
}

TEST_F(Tick, InactiveSchedulerOnlyWatchesTheClipboard) {
    Schedule entry = dailyMessage("Held", ymd(2024, 5, 6));
    entry.ADVANCEWARNDATE = ymd(2024, 5, 6);
    entry.ADVANCEWARNTIME = hm(8, 0);
    add(entry);
    settings.MonitorClipboard = true;
    settings.HistoryExpires = 1;
    state.active = false;
    const TickReport report = frame.tick();
    EXPECT_FALSE(report.fired.has_value());
    EXPECT_FALSE(report.warned);
    EXPECT_FALSE(report.historyRemoved);
    EXPECT_EQ(clipboardChecks, 1);
    state.active = true;
    EXPECT_TRUE(frame.tick().fired.has_value());
}

TEST_F(Tick, WindowMonitorTakesAPassOnlyOnTicksThatFireNothing) {
    settings.monitorWindows = true;
    add(dailyMessage("Now", ymd(2024, 5, 6)));
    frame.tick();
    EXPECT_EQ(monitorPasses, 0);
    frame.tick();
    EXPECT_EQ(monitorPasses, 1);
    settings.monitorWindows = false;
    frame.tick();
    EXPECT_EQ(monitorPasses, 1);
}

TEST_F(Tick, IdleTickLeavesTheNextRunAndWarningAndBusyTicksAskForThePeriod) {
    Schedule warned = dailyMessage("Meeting", ymd(2024, 5, 6), hm(10, 0));
    warned.ADVANCEWARNDATE = ymd(2024, 5, 6);
    warned.ADVANCEWARNTIME = hm(9, 30);
    add(warned);
    frame.tick();
    EXPECT_FALSE(state.steady);
    EXPECT_EQ(state.nextRun, at(2024, 5, 6, 10, 0));
    EXPECT_EQ(state.nextWarning, at(2024, 5, 6, 9, 30));

    // The tick that gives the warning, and the one that fires, did work:
    // whatever else is due comes on the next period, not after a sleep.
    clock.set({ymd(2024, 5, 6), hm(9, 30) + 1});
    frame.tick();
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_TRUE(state.steady);
    frame.tick();
    EXPECT_FALSE(state.steady);
    EXPECT_EQ(state.nextWarning, std::nullopt);
    clock.set(at(2024, 5, 6, 10, 0));
    const TickReport fired = frame.tick();
    EXPECT_TRUE(fired.fired.has_value());
    EXPECT_TRUE(state.steady);
    frame.tick();
    EXPECT_EQ(state.nextRun, at(2024, 5, 7, 10, 0));

    // A monitor polls and an inactive scheduler keeps its period.
    settings.MonitorClipboard = true;
    frame.tick();
    EXPECT_TRUE(state.steady);
    // Told of every copy, the clipboard monitor lets the frame sleep.
    state.clipboardTold = true;
    frame.tick();
    EXPECT_FALSE(state.steady);
    EXPECT_EQ(clipboardChecks, 2);
    settings.MonitorClipboard = false;
    state.active = false;
    frame.tick();
    EXPECT_TRUE(state.steady);
    EXPECT_EQ(state.nextRun, std::nullopt);
}

TEST(WakePlan, EarliestOfTheNextMinuteRunAndWarning) {
    const Date day = makeDate(5, 6, 2024);
    const Moment now{day, makeTime(9, 0) + 1234};  // 9:00:12.34
    EXPECT_EQ(nextMinute(now), (Moment{day, makeTime(9, 1)}));
    EXPECT_EQ(plannedWake(now, std::nullopt, std::nullopt), (Moment{day, makeTime(9, 1)}));
    // A run at 9:00:30 comes before the minute; a warning is due a hundredth
    // after its moment.
    const Moment run{day, makeTime(9, 0) + 3000};
    EXPECT_EQ(plannedWake(now, run, std::nullopt), run);
    const Moment warning{day, makeTime(9, 0) + 2000};
    EXPECT_EQ(plannedWake(now, run, warning), (Moment{day, warning.time + 1}));
    // Later moments do not delay the minute; a moment passed gives now.
    EXPECT_EQ(plannedWake(now, Moment{day + 1, makeTime(9, 0)}, std::nullopt), (Moment{day, makeTime(9, 1)}));
    EXPECT_EQ(plannedWake(now, Moment{day, makeTime(8, 0)}, std::nullopt), now);
    // The last minute of the day wakes at the next day's midnight (history removal).
    EXPECT_EQ(nextMinute({day, makeTime(23, 59) + 5999}), (Moment{day + 1, kMidnight}));
}

TEST_F(Tick, OneShotStatusIsShownOnce) {
    add(dailyMessage("Tea", ymd(2024, 5, 6), hm(16, 0)));
    frame.setOneShotStatus("Message sent to all recipients");
    frame.tick();
    EXPECT_EQ(state.statusNext, "Message sent to all ");
    frame.tick();
    EXPECT_EQ(state.statusNext, "Next: Tea");
}

}  // namespace
}  // namespace plorix::scheduler
