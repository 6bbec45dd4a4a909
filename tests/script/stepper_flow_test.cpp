// The control flow of scripts: If blocks, Exit Script, unknown actions, and
// the hand-over to the actions of other families.

#include <gtest/gtest.h>

#include <algorithm>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "script_rig.h"
#include "support/temp_dir.h"

namespace plorix::script {
namespace {

using namespace test;

class StepperFlow : public ::testing::Test, protected ScriptRig {};

TEST_F(StepperFlow, FailedInnerTestSkipsOnlyItsOwnBlock) {
    values.set("A", "1");
    stepper.queueScript({ifValue("A", "=", "1"),                               //
                         ifValue("B", "=", "1"), setValue("X", "x"), endIf(),  //
                         setValue("Y", "y"), endIf(), setValue("Z", "z")},
                        "s");
    runToEnd();
    EXPECT_EQ(valuesOf({"X", "Y", "Z"}), (std::vector<std::string>{"", "y", "z"}));
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "Script|If Value...                 *TRUE*"), 1);
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "Script|If Value...                 *FALSE*"), 1);
}

TEST_F(StepperFlow, FailedOuterTestSkipsNestedBlocksToItsOwnEndIf) {
    values.set("A", "1");
    stepper.queueScript({ifValue("A", "=", "2"),                               //
                         ifValue("A", "=", "1"), setValue("X", "x"), endIf(),  //
                         ifValue("A", "=", "1"), ifValue("A", "=", "1"), setValue("W", "w"), endIf(), endIf(),
                         setValue("Y", "y"), endIf(), setValue("Z", "z")},
                        "s");
    runToEnd();
    EXPECT_EQ(valuesOf({"X", "W", "Y", "Z"}), (std::vector<std::string>{"", "", "", "z"}));
    // The skip removes the block at once: the items after it are the next to run.
    EXPECT_EQ(executed, (std::vector<std::string>{"If Value...", "Set Value", "**End**"}));
}

TEST_F(StepperFlow, FailedTestWithoutEndIfEmptiesTheQueueLaterScriptsIncluded) {
    stepper.queueScript({ifValue("A", "=", "1"), setValue("X", "x")}, "first");
    stepper.queueScript({setValue("Y", "y")}, "second");
    ticks(3);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(values.get("Y"), "");
}

TEST_F(StepperFlow, ExitScriptEndsOnlyTheCurrentScript) {
    stepper.queueScript({setValue("A", "1"), item(kExitScript), setValue("B", "2")}, "first");
    stepper.queueScript({setValue("C", "3")}, "second");
    runToEnd();
    EXPECT_EQ(valuesOf({"A", "B", "C"}), (std::vector<std::string>{"1", "", "3"}));
    EXPECT_EQ(executed, (std::vector<std::string>{"Set Value", "Exit Script", "Set Value", "**End**"}));
    EXPECT_EQ(std::count(logged.begin(), logged.end(), "Script|**End**"), 2);

    // The last script's Exit Script empties the queue without a marker to log.
    queue.clear();
    stepper.queueScript({item(kExitScript)}, "only");
    queue.items().pop_back();  // a script that lost its marker (a Jump to leaves none)
    runToEnd();
    EXPECT_TRUE(queue.empty());
}

TEST_F(StepperFlow, IfWindowLooksForTheTitleAndTheChildText) {
    desktop.windows.add("Setup - Step 2", {{"Button", "Cancel"}});
    auto ifWindow = [](std::string_view exists, std::string_view title, std::string_view child) {
        return item(kIfWindow, [&](data::Scripting& i) {
            i.WINDOWEXISTANCE = exists;
            i.WINDOWTITLETOCHECKFOR = title;
            i.FOCUSONWINDOW = child;
        });
    };
    stepper.queueScript({ifWindow("Window Exists", "setup*", "cancel"), setValue("A", "1"), endIf(),
                         ifWindow("Window Exists", "setup*", "Finish"), setValue("B", "1"), endIf(),
                         ifWindow("Window Doesn't Exist", "*Step 3", ""), setValue("C", "1"), endIf(),
                         ifWindow("Window Doesn't Exist", "*Step 2", ""), setValue("D", "1"), endIf()},
                        "s");
    runToEnd();
    EXPECT_EQ(valuesOf({"A", "B", "C", "D"}), (std::vector<std::string>{"1", "", "1", ""}));
}

TEST_F(StepperFlow, DebugModeAnnouncesTestsAndSkips) {
    settings.debugIni = true;
    stepper.queueScript({item(kIfTimeElapsed), endIf(),    // passes: 0 seconds
                         ifValue("A", "=", "1"), endIf(),  // fails
                         ifValue("A", "=", "1"), ifValue("B", "=", ""), endIf(), endIf()},  // fails, nested
                        "s");
    runToEnd();
    EXPECT_EQ(prompter.titles(),
              (std::vector<std::string>{"Test passed", "Test failed", "Test failed", "Test failed"}));
    EXPECT_EQ(prompter.shown()[0].text, "Next item will be processed.");
    EXPECT_EQ(prompter.shown()[1].text, "Removing task items.");
}

TEST_F(StepperFlow, UnknownActionIsReportedAndTheScriptGoesOn) {
    stepper.queueScript({item("Launch Rockets"), setValue("A", "1")}, "s");
    runToEnd();
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Script Error");
    EXPECT_EQ(prompter.shown()[0].text, "Invalid script option: Launch Rockets");
    EXPECT_EQ(values.get("A"), "1");
}

TEST_F(StepperFlow, DisplayMessageSubstitutesTextAndCaption) {
    values.set("WHO", "Ada");
    stepper.queueScript({item(kDisplayMessage,
                              [](data::Scripting& i) {
                                  i.DDEAPPLICATIONNAME = "Hello [WHO], [NOBODY] here";
                                  i.DDEAPPLICATIONTOPIC = "For [WHO]";
                              })},
                        "s");
    runToEnd();
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "For Ada");
    EXPECT_EQ(prompter.shown()[0].text, "Hello Ada, [NOBODY] here");
    EXPECT_EQ(prompter.shown()[0].buttons, kOk);
}

TEST_F(StepperFlow, ActionsOfOtherFamiliesAreHandedOver) {
    values.set("NAME", "Bob");
    FakeMail mail;
    ScriptServices s = services();
    s.mail = &mail;
    ScriptStepper withMail(queue, s);
    withMail.queueScript(
        {item(kSendKeystrokes, [](data::Scripting& i) { i.KEYSTROKES = "Hi [NAME][ENTER]"; }),
         item(kDde,
              [](data::Scripting& i) {
                  i.DDEAPPLICATIONNAME = "org.example.App";
                  i.DDEAPPLICATIONTOPIC = "/App";
                  i.DDECOMMAND = "org.example.App.Open([NAME])";
              }),
         item(kDdeLong, [](data::Scripting& i) { i.DDECOMMAND = "x.y.Z"; }),
         item(kSendEmail, [](data::Scripting& i) { i.EMAILID = 17; })},
        "s");
    while (!queue.empty()) {
        clock.advance(50);
        withMail.step();
    }
    EXPECT_EQ(desktop.keyboard.typedText(), "Hi Bob");
    ASSERT_EQ(desktop.dde.calls.size(), 2u);
    // DDE commands are sent as written, without value substitution.
    EXPECT_EQ(desktop.dde.calls[0],
              (platform::FakeDde::Call{"org.example.App", "/App", "org.example.App.Open([NAME])"}));
    EXPECT_EQ(mail.sent, std::vector<std::int32_t>{17});
    EXPECT_EQ(withMail.lastMailResult(), 0);
}

TEST_F(StepperFlow, SendEmailWithoutASenderIsLoggedAndTheScriptGoesOn) {
    stepper.queueScript({item(kSendEmail, [](data::Scripting& i) { i.EMAILID = 3; }), setValue("A", "1")},
                        "s");
    runToEnd();
    EXPECT_NE(std::find(logged.begin(), logged.end(), "Script|Send Email not available"), logged.end());
    EXPECT_NE(stepper.lastMailResult(), 0);
    EXPECT_EQ(values.get("A"), "1");
}

TEST_F(StepperFlow, ScheduledScriptIsReadInSequenceOrder) {
    plorix::test::TempDir dir;
    store::Table& table = data::processTable<data::Scripting>();
    {
        data::TableUse use(table, prompter);
        auto add = [&](std::int32_t id, std::int32_t sequence, std::string_view name) {
            auto& r = table.rec<data::Scripting>();
            store::clearRecord(table.schema(), &r);
            static_cast<data::Scripting&>(r) = setValue(name, std::to_string(sequence));
            r.ID = id;
            r.SEQUENCE = sequence;
            ASSERT_EQ(table.add(), 0);
        };
        add(7, 2, "SECOND");
        add(8, 1, "OTHER");
        add(7, 1, "FIRST");
        add(6, 9, "BEFORE");
    }
    EXPECT_TRUE(stepper.loadScheduledScript(0));
    EXPECT_TRUE(queue.empty());
    ASSERT_TRUE(stepper.loadScheduledScript(7));
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue.items()[0].PATH.str(), "FIRST");
    EXPECT_EQ(queue.items()[1].PATH.str(), "SECOND");
    EXPECT_EQ(queue.back().ACTION.str(), "**End**");
    EXPECT_EQ(data::useCount(table), 0);  // the table is given back
    data::resetProcessTables();
    data::resetUseCounts();
}

}  // namespace
}  // namespace plorix::script
