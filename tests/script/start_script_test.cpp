// "Start Script": script files loaded by a running script, and the limit that
// stops a script that starts itself.

#include <gtest/gtest.h>

#include <algorithm>

#include "script/script_file.h"
#include "script_rig.h"
#include "support/temp_dir.h"

namespace plorix::script {
namespace {

using namespace test;

data::Scripting startScript(std::string_view file, std::string_view type) {
    return item(kStartScript, [&](data::Scripting& i) {
        i.COMMAND = file;
        i.PATH = type;
    });
}

class StartScriptTest : public ::testing::Test, protected ScriptRig {
protected:
    // Writes a script file of the given items.
    void writeScript(const std::string& name, const std::vector<data::Scripting>& items) {
        std::string text;
        for (const auto& i : items) {
            ScriptFileRecord record;
            if (!recordFromItem(i, record)) record.type = i.ACTION.str();
            text += formatScriptLine(record);
        }
        dir.write(name, text);
    }
    std::vector<std::string> setNames() const {
        std::vector<std::string> names;
        for (const QueueItem& i : queue.items())
            names.push_back(i.ACTION == kSetValue ? i.PATH.str() : i.ACTION.str());
        return names;
    }

    plorix::test::TempDir dir;
};

TEST_F(StartScriptTest, InsertRunsTheFileThenTheRestOfTheScript) {
    writeScript("sub.pxs", {setValue("B", "2"), setValue("C", "3")});
    stepper.queueScript({startScript("sub.pxs", "Insert (Execute and continue)"), setValue("A", "1"),
                         wait(30), setValue("D", "4")},
                        "main");
    stepper.queueScript({setValue("E", "5")}, "next");
    ticks(4);  // the Start Script ran
    EXPECT_EQ(stepper.lastScriptLoad(), ScriptLoad::Loaded);
    EXPECT_EQ(setNames(), (std::vector<std::string>{"B", "C", "A", "Wait", "D", "**End**", "E", "**End**"}));
    const auto& q = queue.items();
    // The file's items start from the present, not after the queue's last item,
    // and the items after them keep their spacing a delay behind them.
    EXPECT_EQ(q[0].due, now() + 3 * kDelay);
    EXPECT_EQ(q[2].due, q[1].due + kDelay);
    EXPECT_EQ(q[4].due - q[2].due, 3000 + kDelay);
    EXPECT_EQ(prompter.progressTitles, std::vector<std::string>{"Processing Records"});
    EXPECT_EQ(prompter.progressesFinished, 1);
    runToEnd(200);
    EXPECT_EQ(values.get("E"), "5");
}

TEST_F(StartScriptTest, JumpToDropsEverythingQueued) {
    writeScript("sub.pxs", {setValue("B", "2")});
    stepper.queueScript({startScript("sub.pxs", "Jump to (Execute and skip)"), setValue("A", "1")}, "main");
    stepper.queueScript({setValue("E", "5")}, "next");
    ticks(4);
    EXPECT_EQ(setNames(), std::vector<std::string>{"B"});  // no end marker either
    runToEnd();
    EXPECT_EQ(values.get("B"), "2");
    EXPECT_EQ(values.get("A"), "");
    EXPECT_EQ(values.get("E"), "");
}

TEST_F(StartScriptTest, AppendQueuesTheFileAfterEverythingWithItsMarker) {
    writeScript("sub.pxs", {setValue("B", "2")});
    stepper.queueScript({startScript("sub.pxs", "Append"), setValue("A", "1")}, "main");
    stepper.queueScript({wait(20)}, "next");
    const std::int64_t lastDue = queue.back().due;
    ticks(4);
    EXPECT_EQ(setNames(), (std::vector<std::string>{"A", "**End**", "Wait", "**End**", "B", "**End**"}));
    EXPECT_EQ(queue.items()[4].due, lastDue + 2 * kDelay);
}

TEST_F(StartScriptTest, AnyOtherTypeJumps) {
    writeScript("sub.pxs", {setValue("B", "2")});
    for (std::string_view type : {"", "Go there", "jump"}) {
        queue.clear();
        stepper.queueScript({startScript("sub.pxs", type), setValue("A", "1")}, "main");
        runToEnd();
        EXPECT_EQ(values.get("A"), "") << type;
        values.set("B", "");
    }
    // Letter case of the type does not matter.
    queue.clear();
    stepper.queueScript({startScript("sub.pxs", "insert"), setValue("A", "1")}, "main");
    runToEnd();
    EXPECT_EQ(values.get("A"), "1");
}

TEST_F(StartScriptTest, FileWhoseFirstItemStartsAScriptLosesNothing) {
    writeScript("inner.pxs", {setValue("INNER", "yes")});
    writeScript("outer.pxs", {startScript("inner.pxs", "Insert"), setValue("OUTER", "yes")});
    stepper.queueScript({startScript("outer.pxs", "Insert")}, "main");
    runToEnd();
    EXPECT_EQ(values.get("INNER"), "yes");
    EXPECT_EQ(values.get("OUTER"), "yes");
}

TEST_F(StartScriptTest, UnknownActionsAreReportedAndStillQueued) {
    dir.write("odd.pxs", "\"Wait for Program End\",\"\",\"\",\"\",\"\",\"\"\r\n");
    stepper.queueScript({startScript("odd.pxs", "Insert"), setValue("A", "1")}, "main");
    ticks(4);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Import Error");
    EXPECT_EQ(prompter.shown()[0].text, "Unrecognized script action: Wait for Program End");
    EXPECT_EQ(queue.front().ACTION.str(), "Wait for Program End");
}

TEST_F(StartScriptTest, MissingFileWarnsAndTheScriptGoesOn) {
    stepper.queueScript({startScript("C:\\scripts\\missing.pxs", "Insert"), setValue("A", "1"),
                         startScript("also missing.pxs", "Insert"), setValue("B", "2")},
                        "main");
    runToEnd();
    EXPECT_EQ(stepper.lastScriptLoad(), ScriptLoad::Unreadable);
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[0].title, "View Open Error");
    EXPECT_NE(prompter.shown()[0].text.find("C:/scripts/missing.pxs"), std::string::npos);
    // Nothing that followed the failed loads was lost.
    EXPECT_EQ(values.get("A"), "1");
    EXPECT_EQ(values.get("B"), "2");
}

TEST_F(StartScriptTest, CancelLeavesTheQueueAsItWas) {
    writeScript("sub.pxs", {setValue("B", "2"), setValue("C", "3")});
    prompter.cancelProgressAfter = 0;
    stepper.queueScript({startScript("sub.pxs", "Jump to"), setValue("A", "1")}, "main");
    ticks(4);
    EXPECT_EQ(stepper.lastScriptLoad(), ScriptLoad::Cancelled);
    EXPECT_EQ(setNames(), (std::vector<std::string>{"A", "**End**"}));
}

TEST_F(StartScriptTest, AScriptThatStartsItselfIsStoppedAtTheQueueLimit) {
    // Every run of the file inserts it again, 400 items more each time.
    std::vector<data::Scripting> items{startScript("loop.pxs", "Insert")};
    for (int i = 0; i < 399; ++i) items.push_back(setValue("N", std::to_string(i)));
    writeScript("loop.pxs", items);
    stepper.queueScript({startScript("loop.pxs", "Insert"), setValue("AFTER", "yes")}, "main");
    stepper.queueScript({setValue("NEXT", "yes")}, "next");

    int ticksTaken = 0;
    while (stepper.refusedLoads() == 0 && ticksTaken < 200) {
        tick();
        ++ticksTaken;
    }
    ASSERT_EQ(stepper.refusedLoads(), 1);
    EXPECT_LE(queue.size(), kMaxQueuedItems);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Script Error");
    EXPECT_NE(prompter.shown()[0].text.find("loop.pxs was not loaded"), std::string::npos);
    EXPECT_NE(prompter.shown()[0].text.find("10000"), std::string::npos);
    // The refused Start Script went; everything queued before stays and runs.
    EXPECT_EQ(queue.front().ACTION.str(), "Set Value");
    EXPECT_EQ(std::count_if(queue.items().begin(), queue.items().end(),
                            [](const QueueItem& i) { return i.ACTION == kStartScript; }),
              0);
    runToEnd(20000);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(values.get("AFTER"), "yes");
    EXPECT_EQ(values.get("NEXT"), "yes");
}

TEST_F(StartScriptTest, ATaskScriptThatWouldOverfillTheQueueIsRefusedWhole) {
    std::vector<data::Scripting> items(kMaxQueuedItems - 1, setValue("A", "1"));
    ASSERT_TRUE(stepper.queueScript(items, "big"));
    EXPECT_EQ(queue.size(), kMaxQueuedItems);
    EXPECT_FALSE(stepper.queueScript({setValue("B", "2")}, "The script of task 12"));
    EXPECT_EQ(queue.size(), kMaxQueuedItems);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_NE(prompter.shown()[0].text.find("The script of task 12 was not loaded"), std::string::npos);
}

}  // namespace
}  // namespace plorix::script
