#include <gtest/gtest.h>

#include "sync/sync_receive.h"
#include "sync/sync_send.h"
#include "sync/sync_support.h"

namespace plorix::sync {
namespace {

using V = std::vector<std::string>;

class SyncTest : public test::Installations {};

TEST_F(SyncTest, SendWritesEveryTaskWithItsItemsAndEveryToDo) {
    addTask("Backup", "Home", {80000, 100}, 2, "Time to back up");
    addTask("Alpha", "Work", {80000, 100});
    addTask("Mail", "Work", {80000, 100}, 1);
    addTodo("Buy milk", {80001, 5}, "two litres");

    for (int round = 0; round < 2; ++round) {  // a second send replaces the file
        SyncSendJob job(transfer(), prompter);
        ASSERT_TRUE(job.run()) << job.failure();
        EXPECT_EQ(job.tasksSent(), 3u);
        EXPECT_EQ(job.itemsSent(), 3u);
        EXPECT_EQ(job.todosSent(), 1u);
    }
    EXPECT_EQ(prompter.progressTitles, (V{"Processing Records", "Processing Records"}));
    EXPECT_EQ(prompter.progressTexts[0], "Sending");
    EXPECT_EQ(prompter.progressPercents[0], 100);
    EXPECT_EQ(prompter.progressesFinished, 2);

    TransferFile file(transfer());
    ASSERT_EQ(file.openForReading(), "");
    EXPECT_EQ(file.schedule().records(), 3);
    EXPECT_EQ(file.scripting().records(), 3);
    // Tasks keep their identifiers and memo; items their task's identifier.
    file.schedule().setStart(data::keys::SyncSchedule::KEYTASKNAME);
    ASSERT_EQ(file.schedule().next(), store::kNoError);
    EXPECT_EQ(file.schedule().rec<data::SyncSchedule>().DESCRIPTION, "Alpha");
    ASSERT_EQ(file.schedule().next(), store::kNoError);
    EXPECT_EQ(file.schedule().rec<data::SyncSchedule>().ID, 1);
    EXPECT_EQ(file.schedule().rec<data::SyncSchedule>().MESSAGE, "Time to back up");
    EXPECT_EQ(file.schedule().rec<data::SyncSchedule>().DISABLED, 1);
    file.todo().setStart(-1);
    ASSERT_EQ(file.todo().next(), store::kNoError);
    EXPECT_EQ(file.todo().rec<data::SyncTodo>().NOTES, "two litres");
    // A name left from an earlier run loses its table suffix.
    EXPECT_EQ(TransferFile(transfer() + "\\!s").file(), transfer());
}

TEST_F(SyncTest, TheDataFileIsNeverTakenForATransferFile) {
    addTask("Backup", "Home", {80000, 100});
    prompter.clear();
    for (const char* name : {"Px97.TPS", "./PX97.tps", "px97"}) {
        SyncSendJob job(name, prompter);
        EXPECT_FALSE(job.run()) << name;
        EXPECT_NE(job.failure().find("is the data file"), std::string::npos) << job.failure();
    }
    EXPECT_EQ(tasks(), V{"1 Backup/Home"});
}

TEST_F(SyncTest, ReceivingWhatWasJustSentReplacesEveryTaskAndAddsNoToDo) {
    addTask("Backup", "Home", {80000, 100}, 2);
    addTask("Alpha", "Work", {80000, 100}, 1);
    addTodo("Buy milk", {80001, 5});
    ASSERT_TRUE(syncSend(transfer(), prompter));

    SyncReceiveJob job(transfer(), prompter);
    ASSERT_TRUE(job.run()) << job.failure();
    EXPECT_EQ(job.counts().tasksReplaced, 2u);
    EXPECT_EQ(job.counts().tasksAdded, 2u);
    EXPECT_EQ(job.counts().todosDropped, 1u);
    // Received in name order, each under one more than the highest
    // identifier left: Alpha (2) goes, comes back as 2; Backup (1) as 3.
    EXPECT_EQ(tasks(), (V{"2 Alpha/Work", "3 Backup/Home"}));
    EXPECT_EQ(items(), (V{"2:1 Alpha item 1", "3:1 Backup item 1", "3:2 Backup item 2"}));
    EXPECT_EQ(todos(), (V{"Buy milk 80001 "}));
}

TEST_F(SyncTest, TheLaterChangedCopyWins) {
    addTask("Report", "Work", {80010, 500}, 2);
    addTask("New here", "Work", {80000, 1}, 3);
    addTask("Same", "Work", {80000, 1});
    addTodo("older there", {80005, 1}, "from desktop");
    addTodo("tie", {80005, 1}, "from desktop");
    addTodo("newer there", {80005, 1}, "from desktop");
    ASSERT_TRUE(syncSend(transfer(), prompter));

    enter("laptop");
    addTask("Report", "Work", {80010, 400});  // older: replaced
    addTask("Report", "Work", {80010, 600});  // newer: kept, and the received one added too
    addTask("Same", "Work", {80000, 1}, 1);   // same moment: replaced
    addTask("Report", "work", {80000, 1});    // another category: untouched
    addTodo("older there", {80005, 2}, "from laptop");
    addTodo("tie", {80005, 1}, "from laptop");
    addTodo("newer there", {80004, 9}, "from laptop");

    SyncReceiveJob job(transfer(), prompter);
    ASSERT_TRUE(job.run()) << job.failure();
    EXPECT_EQ(tasks(),
              (V{"2 Report/Work", "4 Report/work", "5 New here/Work", "6 Report/Work", "7 Same/Work"}));
    EXPECT_EQ(items(), (V{"5:1 New here item 1", "5:2 New here item 2", "5:3 New here item 3",
                          "6:1 Report item 1", "6:2 Report item 2"}));
    EXPECT_EQ(todos(), (V{"older there 80005 from laptop", "tie 80005 from laptop",
                          "newer there 80005 from desktop"}));
    EXPECT_EQ(job.counts().todosReplaced, 1u);
    EXPECT_EQ(job.counts().todosDropped, 2u);
}

TEST_F(SyncTest, MatchingIsExactAmongOtherSpellingsAndBlankNamesMatchToo) {
    addTask("Backup", "Home", {80000, 1});
    addTask("", "", {80000, 1}, 1);
    ASSERT_TRUE(syncSend(transfer(), prompter));

    enter("laptop");
    addTask("BACKUP", "Home", {80000, 1});  // comes first in the key, but is another task
    addTask("Backup", "Home", {70000, 1});
    addTask("backup", "HOME", {70000, 1});
    addTask("", "", {70000, 1});
    ASSERT_TRUE(syncReceive(transfer(), prompter));
    // The task without name and category is outside the name key, yet sent
    // and matched all the same (it comes after the named ones).
    EXPECT_EQ(tasks(), (V{"1 BACKUP/Home", "3 backup/HOME", "5 Backup/Home", "6 /"}));
    EXPECT_EQ(items(), (V{"6:1  item 1"}));
}

TEST_F(SyncTest, TwoReceivedTasksOfOneNameBothArrive) {
    addTask("Twin", "Work", {80000, 1}, 1);
    addTask("Twin", "Work", {80000, 1}, 2);
    ASSERT_TRUE(syncSend(transfer(), prompter));
    enter("laptop");
    addTask("Twin", "Work", {80000, 1});
    ASSERT_TRUE(syncReceive(transfer(), prompter));
    EXPECT_EQ(tasks(), (V{"1 Twin/Work", "2 Twin/Work"}));
    EXPECT_EQ(items().size(), 3u);
}

TEST_F(SyncTest, CancelRollsTheWholeReceiveBack) {
    for (int i = 0; i < 30; ++i) addTask("Task " + std::to_string(100 + i), "Bulk", {80000, 1});
    addTodo("Buy milk", {80001, 5});
    ASSERT_TRUE(syncSend(transfer(), prompter));
    enter("laptop");
    prompter.cancelProgressAfter = 2;
    SyncReceiveJob job(transfer(), prompter);
    EXPECT_FALSE(job.run());
    EXPECT_EQ(job.state(), io::SteppedJob::State::Cancelled);
    EXPECT_GE(job.counts().tasksAdded, 25u);  // merged, then rolled back
    EXPECT_TRUE(tasks().empty());
    EXPECT_TRUE(todos().empty());
}

}  // namespace
}  // namespace plorix::sync
