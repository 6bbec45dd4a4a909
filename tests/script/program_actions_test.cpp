#include "script/program_actions.h"

#include <gtest/gtest.h>

#include "log/event_log.h"
#include "platform/fake/fake_desktop.h"

namespace plorix::script {
namespace {

using platform::Priority;
using platform::WindowMode;

TEST(StartOptions, DecodeAndEncodeTheThreeCharacters) {
    EXPECT_EQ(decodeStartOptions("113"), (StartOptions{true, Priority::Low, WindowMode::Maximized}));
    EXPECT_EQ(decodeStartOptions("038"), (StartOptions{false, Priority::High, WindowMode::NoFocus}));
    EXPECT_EQ(decodeStartOptions("027"),
              (StartOptions{false, Priority::Normal, WindowMode::MinimizedNoFocus}));
    // Anything unknown, or missing, is the default.
    EXPECT_EQ(decodeStartOptions("x90"), StartOptions{});
    EXPECT_EQ(decodeStartOptions(""), StartOptions{});
    EXPECT_EQ(decodeStartOptions("1"), (StartOptions{true, Priority::Normal, WindowMode::Normal}));
    for (std::string_view chars : {"113", "038", "022", "127", "028"})
        EXPECT_EQ(encodeStartOptions(decodeStartOptions(chars)), chars);
}

class ProgramActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        log::eventLog().setHook([this](const log::LogEntry& e) { logged.push_back(e); });
    }
    void TearDown() override { log::eventLog().setHook({}); }

    data::Scripting startItem(std::string command, std::string options = "022") {
        data::Scripting item;
        item.ACTION = "Start Program";
        item.COMMAND = command;
        item.DDEAPPLICATIONNAME = options;
        return item;
    }

    platform::FakeDesktop desktop;
    RecordingPrompter prompter;
    ManualClock clock{{1000, makeTime(9, 0)}};
    ProgramActions actions;
    std::vector<log::LogEntry> logged;
};

TEST_F(ProgramActionsTest, AScriptItemStartsItsProgramDirectly) {
    desktop.processes.addProgram("/usr/bin/xterm");
    data::Scripting item = startItem("\\usr\\bin\\xterm -title 'Build log'", "033");
    item.PATH = "/tmp";
    EXPECT_FALSE(actions.startProgramItem(item, {}, clock, prompter, false));
    ASSERT_EQ(desktop.processes.spawned().size(), 1u);
    const platform::SpawnRequest& request = desktop.processes.spawned()[0];
    EXPECT_EQ(request.argv, (std::vector<std::string>{"/usr/bin/xterm", "-title", "Build log"}));
    EXPECT_EQ(request.workingFolder, "/tmp");
    EXPECT_EQ(request.priority, Priority::High);
    EXPECT_EQ(request.mode, WindowMode::Maximized);
    EXPECT_TRUE(desktop.processes.opened().empty());
    EXPECT_EQ(actions.lastProcessId(), desktop.processes.lastPid());
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0].label, "Run Program");
    EXPECT_EQ(logged[0].text, "\\usr\\bin\\xterm -title 'Build log'");
    EXPECT_EQ(item.ACTION, "Start Program");
}

TEST_F(ProgramActionsTest, AnItemThatCannotBeCreatedFallsBackToTheOpenerWithItsVerb) {
    desktop.processes.addOpenable("/home/me/report.pdf", {"print"});
    data::Scripting item = startItem("/home/me/report.pdf");
    item.DDEAPPLICATIONTOPIC = "Print";
    actions.startProgramItem(item, {}, clock, prompter, true);
    ASSERT_EQ(desktop.processes.opened().size(), 1u);
    EXPECT_EQ(desktop.processes.opened()[0].verb, "print");
    EXPECT_EQ(desktop.processes.opened()[0].mode, WindowMode::Minimized);
    EXPECT_EQ(actions.lastOpenResult(), platform::kOpenSucceeded);
    EXPECT_EQ(actions.programHandle(), platform::kOpenSucceeded);
    // No error message for items; the debug message tells what was sent.
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Debug - Full Command Sent");
    EXPECT_EQ(prompter.shown()[0].text, "/home/me/report.pdf\r\r0\r0\r2\r2\r0\rPrint");
}

TEST_F(ProgramActionsTest, AnUnquotedPathWithBlanksIsRetriedSplitFromTheRight) {
    desktop.processes.addOpenable("/opt/My Tools/view");
    ProgramStart start;
    start.command = "/opt/My Tools/view notes.txt";
    start.reportFailure = true;
    const ProgramStartResult result = actions.startProgram(start, prompter);
    EXPECT_TRUE(result.started());
    const auto& opened = desktop.processes.opened();
    ASSERT_EQ(opened.size(), 3u);
    EXPECT_EQ(opened[0].file, "/opt/My Tools/view notes.txt");
    EXPECT_EQ(opened[1].file, "/opt/My");  // split at the first blank
    EXPECT_EQ(opened[1].parameters, "Tools/view notes.txt");
    EXPECT_EQ(opened[2].file, "/opt/My Tools/view");
    EXPECT_EQ(opened[2].parameters, "notes.txt");
    EXPECT_EQ(opened[2].verb, "open");
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_TRUE(desktop.processes.spawned().empty());  // entries never start directly
}

TEST_F(ProgramActionsTest, AnEntryWhoseProgramCannotBeOpenedTellsTheUser) {
    ProgramStart start;
    start.command = "nowhere to be found  ";
    start.reportFailure = true;
    EXPECT_FALSE(actions.startProgram(start, prompter).started());
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Error Code 2");
    EXPECT_EQ(prompter.shown()[0].text, "Could not start nowhere to be found.");
    // N/A starts nothing and says nothing, but is still logged.
    start.command = "n/a";
    EXPECT_FALSE(actions.startProgram(start, prompter).attempted);
    EXPECT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(logged.back().text, "n/a");
}

TEST_F(ProgramActionsTest, ValuesAreSubstitutedIntoCommandAndFolderFirst) {
    desktop.processes.addProgram("edit");
    data::Scripting item = startItem("edit [FILE]");
    item.PATH = "[DIR]";
    actions.startProgramItem(
        item,
        [](std::string_view t) {
            std::string s(t);
            if (auto p = s.find("[FILE]"); p != std::string::npos) s.replace(p, 6, "a.txt");
            if (auto p = s.find("[DIR]"); p != std::string::npos) s.replace(p, 5, "/srv");
            return s;
        },
        clock, prompter, false);
    EXPECT_EQ(item.COMMAND, "edit a.txt");
    EXPECT_EQ(desktop.processes.spawned().at(0).workingFolder, "/srv");
}

TEST_F(ProgramActionsTest, WaitingWithoutTimeOutLastsUntilTheProgramEnds) {
    desktop.processes.addProgram("make");
    data::Scripting item = startItem("make", "122");
    EXPECT_TRUE(actions.startProgramItem(item, {}, clock, prompter, false));
    EXPECT_EQ(item.ACTION, kWaitForProgramEnd);
    EXPECT_EQ(item.TIMEELAPSED, 0);
    clock.advance(10'000'000);  // days later, still running
    EXPECT_EQ(actions.checkProgramEnd(item, clock), ProgramWait::Running);
    desktop.processes.endProcess(actions.lastProcessId(), 0);
    EXPECT_EQ(actions.checkProgramEnd(item, clock), ProgramWait::Ended);
}

TEST_F(ProgramActionsTest, AWaitsTimeOutIsADistinctResultAndCrossesMidnight) {
    desktop.processes.addProgram("backup");
    clock.set({1000, kHundredthsPerDay - 1000});  // 10 s before midnight
    data::Scripting item = startItem("backup", "1");
    item.TIMEELAPSED = 30;
    actions.startProgramItem(item, {}, clock, prompter, false);
    EXPECT_EQ(item.NEXTTASKID, 1001);
    EXPECT_EQ(item.TIMEELAPSED, 2000);
    clock.advance(3000);  // exactly at the limit: still waiting
    EXPECT_EQ(actions.checkProgramEnd(item, clock), ProgramWait::Running);
    clock.advance(1);
    EXPECT_EQ(actions.checkProgramEnd(item, clock), ProgramWait::TimedOut);
}

TEST_F(ProgramActionsTest, AFailedProgramEndsTheWaitWithItsError) {
    desktop.processes.addProgram("false");
    data::Scripting item = startItem("false", "1");
    actions.startProgramItem(item, {}, clock, prompter, false);
    desktop.processes.endProcess(actions.lastProcessId(), 1);
    EXPECT_EQ(actions.checkProgramEnd(item, clock), ProgramWait::EndedWithError);
}

TEST_F(ProgramActionsTest, AWaitNeverWatchesAnEarlierProgram) {
    desktop.processes.addProgram("long-runner");
    data::Scripting first = startItem("long-runner");
    actions.startProgramItem(first, {}, clock, prompter, false);
    // The second program is not found directly and goes to the opener.
    data::Scripting second = startItem("missing-tool", "1");
    EXPECT_TRUE(actions.startProgramItem(second, {}, clock, prompter, false));
    EXPECT_EQ(actions.checkProgramEnd(second, clock), ProgramWait::Ended);
}

TEST_F(ProgramActionsTest, CloseProgramByNameOrTheFocusedWindow) {
    data::Scripting item;
    item.ACTION = "Close Program";
    item.COMMAND = "C:\\Apps\\gedit";
    actions.closeProgram(item);
    EXPECT_EQ(desktop.processes.killed(), (std::vector<std::string>{"C:\\Apps\\gedit"}));
    EXPECT_TRUE(desktop.windows.requests().empty());

    item.COMMAND = "";
    actions.closeProgram(item);  // no focused window: nothing
    EXPECT_TRUE(desktop.windows.requests().empty());

    const auto editor = desktop.windows.add("Editor", {}, 77);
    desktop.windows.setForeground(editor);
    actions.closeProgram(item);
    using R = platform::FakeWindows::Request;
    EXPECT_EQ(desktop.windows.requests(), (std::vector<R>{{"restore", editor}, {"close", editor}}));
    EXPECT_EQ(desktop.windows.find(editor), nullptr);
}

TEST_F(ProgramActionsTest, CloseProgramNeverClosesOurOwnWindow) {
    const auto frame = desktop.windows.add("Plorix 98", {}, desktop.processes.ownPid);
    desktop.windows.setForeground(frame);
    data::Scripting item;
    actions.closeProgram(item);  // nothing started: nothing to aim at
    EXPECT_TRUE(desktop.windows.requests().empty());

    desktop.processes.addProgram("gedit");
    data::Scripting start = startItem("gedit");
    actions.startProgramItem(start, {}, clock, prompter, false);
    const auto started = desktop.windows.add("notes - gedit", {}, actions.lastProcessId());
    actions.closeProgram(item);
    EXPECT_EQ(desktop.windows.find(started), nullptr);
    EXPECT_NE(desktop.windows.find(frame), nullptr);
}

TEST_F(ProgramActionsTest, SetFocusBringsTheWindowForwardOrReportsInDebugMode) {
    const auto other = desktop.windows.add("Terminal");
    const auto target = desktop.windows.add("Untitled - Editor", {{"Button", "Cancel"}});
    desktop.windows.setMinimized(target, true);
    data::Scripting item;
    item.FOCUSONWINDOW = "untitled*";
    item.WAITFORWINDOW = "cancel";
    EXPECT_TRUE(actions.setFocus(item, prompter, true));
    EXPECT_EQ(desktop.windows.foreground(), target);
    EXPECT_FALSE(desktop.windows.find(target)->minimized);

    item.FOCUSONWINDOW = "Calculator   ";
    EXPECT_FALSE(actions.setFocus(item, prompter, false));
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_FALSE(actions.setFocus(item, prompter, true));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Failed Set Focus");
    EXPECT_EQ(prompter.shown()[0].text, "Calculator");
    EXPECT_NE(desktop.windows.foreground(), other);
}

}  // namespace
}  // namespace plorix::script
