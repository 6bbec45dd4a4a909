#include "platform/desktop.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"

namespace plorix::platform {
namespace {

TEST(DesktopSet, InertUntilInstalledAndGapsStayInert) {
    resetDesktop();
    const Desktop& inert = desktop();
    EXPECT_TRUE(inert.windows->topLevelWindows().empty());
    EXPECT_FALSE(inert.keyboard->typeText("x"));
    EXPECT_EQ(inert.processes->spawn({{"true"}}).outcome, StartOutcome::CouldNotStart);
    EXPECT_FALSE(inert.processes->open("a.txt", "", "open", "", WindowMode::Normal).ok());
    EXPECT_EQ(inert.dde->execute("a", "/b", "c.D").outcome, DdeOutcome::NoService);

    FakeKeyboard keyboard;
    setDesktop(Desktop{.keyboard = &keyboard});
    EXPECT_TRUE(desktop().keyboard->typeText("x"));
    ASSERT_NE(desktop().windows, nullptr);  // the members not given stay usable
    EXPECT_TRUE(desktop().windows->topLevelWindows().empty());
    resetDesktop();
    EXPECT_FALSE(desktop().keyboard->typeText("y"));
    EXPECT_EQ(keyboard.typedText(), "x");
}

TEST(DesktopSet, FakeDesktopsNestAndRestore) {
    resetDesktop();
    {
        FakeDesktop outer;
        outer.windows.add("Outer");
        {
            FakeDesktop inner;
            EXPECT_TRUE(desktop().windows->topLevelWindows().empty());
            EXPECT_EQ(desktop().user->loginName(), "tester");
        }
        ASSERT_EQ(desktop().windows->topLevelWindows().size(), 1u);
        EXPECT_EQ(desktop().windows->topLevelWindows()[0].title, "Outer");
    }
    EXPECT_TRUE(desktop().windows->topLevelWindows().empty());
}

TEST(Alarm, BeepRingsTheBellAndOtherNamesPlayFiles) {
    FakeSound sound;
    EXPECT_TRUE(playAlarm(sound, " beep "));
    EXPECT_TRUE(playAlarm(sound, "alarms/ring.wav"));
    EXPECT_FALSE(playAlarm(sound, "   "));
    EXPECT_EQ(sound.bells, 1);
    EXPECT_EQ(sound.played, (std::vector<std::string>{"alarms/ring.wav"}));
    sound.canPlay = false;
    EXPECT_FALSE(playAlarm(sound, "ring.wav"));
}

TEST(FakeProcessTable, ChildrenEndOnceAndAreThenUnknown) {
    FakeProcesses processes;
    processes.addProgram("ok");
    processes.addProgram("locked", false);
    EXPECT_EQ(processes.spawn({{"absent"}}).outcome, StartOutcome::NotFound);
    EXPECT_EQ(processes.spawn({{"locked"}}).outcome, StartOutcome::CouldNotStart);
    const StartResult a = processes.spawn({{"ok"}});
    const StartResult b = processes.spawn({{"ok", "-x"}});
    ASSERT_TRUE(a.started() && b.started());
    EXPECT_NE(a.pid, b.pid);
    EXPECT_EQ(processes.poll(a.pid).state, ProcessState::Running);
    processes.endProcess(a.pid, 0);
    processes.endProcess(b.pid, -9);
    EXPECT_EQ(processes.poll(a.pid).state, ProcessState::Ended);
    const ProcessStatus killed = processes.poll(b.pid);
    EXPECT_EQ(killed.state, ProcessState::EndedWithError);
    EXPECT_EQ(killed.exitCode, 137);
    EXPECT_EQ(processes.poll(a.pid).state, ProcessState::Unknown);
}

}  // namespace
}  // namespace plorix::platform
