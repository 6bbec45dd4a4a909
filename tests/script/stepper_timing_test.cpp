// How scripts are laid out in time and how waits move them.

#include <gtest/gtest.h>

#include "script/item_description.h"
#include "script_rig.h"

namespace plorix::script {
namespace {

using namespace test;

class StepperTiming : public ::testing::Test, protected ScriptRig {};

TEST_F(StepperTiming, EmptyScriptQueuesOneEndMarkerThatRunsAndLeaves) {
    ASSERT_TRUE(stepper.queueScript({}, "empty"));
    EXPECT_EQ(queuedActions(), std::vector<std::string>{"**End**"});
    runToEnd();
    EXPECT_EQ(executed, std::vector<std::string>{"**End**"});
    EXPECT_EQ(logged, std::vector<std::string>{"Script|**End**"});
    EXPECT_EQ(stepper.takeProgressText(), "Script Completed");
    EXPECT_EQ(stepper.takeProgressText(), std::nullopt);  // read once
}

TEST_F(StepperTiming, ItemsAreSpacedByTheDelayAndTestsCostNoTime) {
    const std::int64_t load = now();
    stepper.queueScript({setValue("A", "1"), ifValue("A", "=", "1"), setValue("B", "2"), endIf()}, "s");
    const auto& q = queue.items();
    EXPECT_EQ(q[0].due, load + 3 * kDelay);  // two delays of start, one of its own
    EXPECT_EQ(q[1].due, load + 3 * kDelay);
    EXPECT_EQ(q[2].due, load + 4 * kDelay);
    EXPECT_EQ(q[3].due, load + 4 * kDelay);
    EXPECT_EQ(q[4].due, load + 4 * kDelay);  // the end marker
    // The wall-clock stamp says the same moment.
    EXPECT_EQ((Moment{q[0].RUNDATE, q[0].RUNTIME}), addHundredths(clock.current(), 3 * kDelay));

    // Nothing runs before it is due; the status shows what comes within a second.
    stepper.step();
    EXPECT_EQ(stepper.takeProgressText(), std::nullopt);  // 1.5 s ahead: left alone
    clock.advance(3 * kDelay);
    stepper.step();
    EXPECT_TRUE(executed.empty());  // due, but not yet past due
    EXPECT_EQ(stepper.takeProgressText(), "Set Value-A = 1");
    clock.advance(1);
    stepper.step();
    EXPECT_EQ(executed, std::vector<std::string>{"Set Value"});
}

TEST_F(StepperTiming, ASecondScriptFollowsTheEndMarkerOfTheFirst) {
    stepper.queueScript({wait(10)}, "first");  // its end marker lies 10 s ahead
    const std::int64_t marker = queue.back().due;
    stepper.queueScript({setValue("A", "1")}, "second");
    EXPECT_EQ(queue.items()[2].due, marker + 2 * kDelay);

    // A script loaded while the queue's end is near starts from the present.
    queue.clear();
    stepper.queueScript({setValue("A", "1")}, "first");
    clock.advance(2 * kDelay);
    const std::int64_t load = now();
    stepper.queueScript({setValue("B", "1")}, "second");
    EXPECT_EQ(queue.items()[2].due, load + 3 * kDelay);
}

TEST_F(StepperTiming, WaitWithAndDelaysLaterItemsWithoutStaying) {
    const std::int64_t load = now();
    stepper.queueScript({wait(10), setValue("A", "1")}, "s");
    EXPECT_EQ(queue.items()[0].due, load + 2 * kDelay + 1000);
    EXPECT_EQ(queue.items()[1].due, load + 3 * kDelay + 1000);
    ticks(23);  // 11.5 s: the wait ran and left at once
    EXPECT_EQ(executed, std::vector<std::string>{"Wait"});
    EXPECT_EQ(queue.front().ACTION.str(), "Set Value");
    runToEnd();
    EXPECT_EQ(values.get("A"), "1");
    EXPECT_FALSE(stepper.waiting());
}

TEST_F(StepperTiming, WaitForADisappearingWindowMovesLaterItemsByTheTimeSpent) {
    const platform::WindowId report = desktop.windows.add("Report - draft");
    stepper.queueScript({wait(0, "~report*"), setValue("A", "1")}, "s");
    const std::int64_t plannedA = queue.items()[1].due;
    ticks(3);  // the wait begins
    ASSERT_EQ(queue.front().ACTION.str(), "Wait");
    const std::int64_t started = now();
    EXPECT_TRUE(stepper.waiting());
    ticks(8);
    EXPECT_EQ(queue.front().ACTION.str(), "Wait");  // still there
    desktop.windows.remove(report);
    tick();
    EXPECT_FALSE(stepper.waiting());
    EXPECT_EQ(queue.front().ACTION.str(), "Set Value");
    EXPECT_EQ(queue.front().due, plannedA + (now() - started));
    EXPECT_EQ(executed.size(), 1u);  // the wait is reported once however long it waits
}

TEST_F(StepperTiming, WaitForAWindowBringsItToTheFront) {
    stepper.queueScript({wait(0, "*Editor"), setValue("A", "1")}, "s");
    ticks(5);
    EXPECT_EQ(queue.front().ACTION.str(), "Wait");
    const platform::WindowId editor = desktop.windows.add("Text Editor");
    tick();
    EXPECT_EQ(queue.front().ACTION.str(), "Set Value");
    ASSERT_FALSE(desktop.windows.requests().empty());
    EXPECT_EQ(desktop.windows.requests().front().window, editor);
}

TEST_F(StepperTiming, OrWaitEndsAtItsLimitAndTheNextWindowWaitStartsAfresh) {
    stepper.queueScript({wait(5, "Never", "Or"), wait(0, "Later"), setValue("A", "1")}, "s");
    // The "Or" seconds are a limit, not a pause in the schedule.
    EXPECT_EQ(queue.items()[1].due, queue.items()[0].due);
    ticks(3);
    ASSERT_EQ(queue.front().ACTION.str(), "Wait");
    ticks(10);  // 5 s: the limit is reached
    ASSERT_EQ(queue.front().ACTION.str(), "Wait");
    tick();
    ASSERT_EQ(queue.front().WAITFORWINDOW.str(), "Later");
    EXPECT_FALSE(stepper.waiting());  // the timed-out wait left nothing behind

    const std::int64_t plannedA = queue.items()[1].due;
    tick();  // the second wait begins now
    const std::int64_t started = now();
    ticks(4);
    desktop.windows.add("Later");
    tick();
    ASSERT_EQ(queue.front().ACTION.str(), "Set Value");
    // Moved by the second wait's own time only, not since the first began.
    EXPECT_EQ(queue.front().due, plannedA + (now() - started));
}

TEST_F(StepperTiming, AWaitLeftUnfinishedLendsNothingToTheNextOne) {
    stepper.queueScript({wait(0, "Never")}, "stuck");
    ticks(3);
    ASSERT_TRUE(stepper.waiting());
    ticks(7200);  // an hour later the user stops the script
    queue.clear();
    stepper.queueScript({wait(0, "Soon"), setValue("A", "1")}, "next");
    const std::int64_t plannedA = queue.items()[1].due;
    ticks(3);
    const std::int64_t started = now();
    desktop.windows.add("Soon");
    tick();
    ASSERT_EQ(queue.front().ACTION.str(), "Set Value");
    EXPECT_EQ(queue.front().due, plannedA + (now() - started));
}

TEST_F(StepperTiming, WaitOrHandwrittenInAnyCaseIsALimit) {
    stepper.queueScript({wait(5, "Never", "OR")}, "s");
    EXPECT_EQ(queue.items()[0].due, queue.items()[1].due);
    EXPECT_LT(runToEnd(), 20);
}

TEST_F(StepperTiming, IfTimeElapsedMeasuresFromTheScriptStart) {
    auto elapsed = [](int seconds, std::string_view condition) {
        return item(kIfTimeElapsed, [&](data::Scripting& i) {
            i.TIMEELAPSED = seconds;
            i.IFTIMEELAPSED = condition;
        });
    };
    stepper.queueScript({elapsed(1, "Greater Than"), setValue("EARLY", "yes"), endIf(),  //
                         wait(3),                                                        //
                         elapsed(2, "Time Elapsed is Grea"), setValue("LATE", "yes"), endIf(),
                         elapsed(2, "Time Elapsed is Less"), setValue("LESS", "yes"), endIf()},
                        "s");
    runToEnd();
    EXPECT_EQ(values.get("EARLY"), "");  // tested at 0.5 s
    EXPECT_EQ(values.get("LATE"), "yes");
    EXPECT_EQ(values.get("LESS"), "");
}

TEST_F(StepperTiming, AChangeOfTheWallClockNeitherStallsNorRushesAScript) {
    stepper.queueScript({setValue("A", "1"), setValue("B", "2")}, "s");
    clock.set(addHundredths(clock.current(), -360000));  // back one hour
    ticks(4);
    EXPECT_EQ(values.get("A"), "1");
    EXPECT_EQ(values.get("B"), "");  // still a delay apart
    tick();
    EXPECT_EQ(values.get("B"), "2");
}

}  // namespace
}  // namespace plorix::script
