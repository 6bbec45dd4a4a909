// The delete routine: cascades, restrictions, the transaction around them.

#include <gtest/gtest.h>

#include <chrono>

#include "data/cascade.h"
#include "data/cascade_relations.h"
#include "data/cascade_support.h"
#include "support/served_run.h"

namespace plorix::data {
namespace {

using test::Strings;

class CascadeDelete : public test::CascadeFile {};

TEST(CascadeRelations, EveryRowResolvesAndTasksWalkLinksBeforeScriptItems) {
    std::size_t bound = 0;
    for (const store::TableSchema* schema : allSchemas()) bound += relationsOf(*schema).size();
    EXPECT_EQ(bound, relations().size());
    const auto task = relationsOf(Schedule::schema());
    ASSERT_EQ(task.size(), 2u);
    EXPECT_EQ(task[0].child->label, "Link");
    EXPECT_EQ(task[1].child->label, "Scripting");
    EXPECT_TRUE(relationsOf(Todo::schema()).empty());
    EXPECT_TRUE(relationsOf(Categories::schema()).front().nocase);
}

TEST_F(CascadeDelete, ATaskTakesItsLinksAndScriptItemsAndNothingElse) {
    twoTasksWithChildren();
    addLink(1, 8);
    ASSERT_EQ(loadById(schedule, 1), store::kNoError);
    EXPECT_EQ(deleteRecord(schedule, prompter), kDeleted);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(tasks(), Strings{"2"});
    EXPECT_EQ(items(), Strings{"2/1"});
    EXPECT_EQ(links(), Strings{"2/7"});
}

TEST_F(CascadeDelete, AContactTakesItsLinks) {
    addContact(7);
    addContact(8);
    addLink(1, 7);
    addLink(2, 7);
    addLink(2, 8);
    ASSERT_EQ(loadById(contact, 7), store::kNoError);
    EXPECT_EQ(deleteRecord(contact, prompter), kDeleted);
    EXPECT_EQ(links(), Strings{"2/8"});
    EXPECT_EQ(stored(R"(SELECT "CLIENTID" FROM "Contact")"), Strings{"8"});
}

TEST_F(CascadeDelete, ARecordStillReferencedIsKeptWithWarning13NamingTheReferrer) {
    referToEachRestrictingParent("WORK", "Family");  // names compare without regard to letter case

    struct Case {
        store::Table& table;
        const char* referrer;
    };
    for (Case c :
         {Case{categories, "Schedule"}, Case{contactCategories, "Contact"}, Case{messages, "Scripting"}}) {
        c.table.setStart(0);
        ASSERT_EQ(c.table.next(), store::kNoError);
        prompter.clear();
        EXPECT_EQ(deleteRecord(c.table, prompter), kNotDeleted) << c.referrer;
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(lastTitle(), "Referential Integrity Delete Error");
        EXPECT_EQ(lastText(), "This record is referenced from the file " + std::string(c.referrer) +
                                  ".  This record cannot be deleted while these references exist.");
        EXPECT_EQ(c.table.records(), 1);
        EXPECT_FALSE(hasSavedError());
    }
    EXPECT_EQ(items(), Strings{"1/1"});

    // Once the references are gone the parents go too.
    ASSERT_EQ(loadById(schedule, 1), store::kNoError);
    ASSERT_EQ(deleteRecord(schedule, prompter), kDeleted);
    ASSERT_EQ(loadById(contact, 7), store::kNoError);
    ASSERT_EQ(deleteRecord(contact, prompter), kDeleted);
    for (store::Table* t : {&categories, &contactCategories, &messages}) {
        t->setStart(0);
        ASSERT_EQ(t->next(), store::kNoError);
        EXPECT_EQ(deleteRecord(*t, prompter), kDeleted) << t->schema().label;
        EXPECT_EQ(t->records(), 0);
    }
}

TEST_F(CascadeDelete, ABlankLinkingValueRefersToNothing) {
    // Script items that send no message do not hold up a message numbered 0,
    // nor tasks without a category a category without a name.
    addMessage(0);
    addItem(1, 1, 0);
    addNamed(categories, "");
    addTask(1, "");
    ASSERT_EQ(loadById(messages, 0), store::kRecordNotFound);  // outside its key
    messages.setStart(-1);
    ASSERT_EQ(messages.next(), store::kNoError);
    EXPECT_EQ(deleteRecord(messages, prompter), kDeleted);
    categories.setStart(-1);
    ASSERT_EQ(categories.next(), store::kNoError);
    EXPECT_EQ(deleteRecord(categories, prompter), kDeleted);
    EXPECT_EQ(items(), Strings{"1/1"});
}

TEST_F(CascadeDelete, AFailureHalfWayLeavesTaskLinksAndItemsAsTheyWere) {
    PLORIX_FILE_RUN_ONLY("a SQLite trigger in the file");
    addTask(1);
    addLink(1, 7);
    for (int i = 1; i <= 3; ++i) addItem(1, i);
    {
        plorix::test::RawDataFile raw((dir / "Px97.TPS").string());
        raw.exec(
            "CREATE TRIGGER stuck BEFORE DELETE ON Script WHEN old.SEQUENCE = 2 "
            "BEGIN SELECT RAISE(ABORT, 'item is stuck'); END");
    }
    ASSERT_EQ(loadById(schedule, 1), store::kNoError);
    EXPECT_EQ(deleteRecord(schedule, prompter), kNotDeleted);
    EXPECT_EQ(lastTitle(), "Delete Operation Error");
    EXPECT_EQ(lastText(),
              "An error (item is stuck (1811)) was experienced when attempting to delete a "
              "record from the file Scripting.");
    EXPECT_FALSE(hasSavedError());
    EXPECT_EQ(tasks(), Strings{"1"});
    EXPECT_EQ(links(), Strings{"1/7"});
    EXPECT_EQ(items(), (Strings{"1/1", "1/2", "1/3"}));
    // No transaction was left open: the next write stands on its own.
    addTask(2);
    EXPECT_EQ(tasks(), (Strings{"1", "2"}));
}

TEST_F(CascadeDelete, ALockedFileIsWaitedForTwoSecondsThenReported) {
    PLORIX_FILE_RUN_ONLY("a SQLite lock on the file");
    addTask(1);
    addItem(1, 1);
    ASSERT_EQ(loadById(schedule, 1), store::kNoError);
    plorix::test::RawDataFile station((dir / "Px97.TPS").string());
    station.exec("BEGIN IMMEDIATE");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(deleteRecord(schedule, prompter), kNotDeleted);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(waited, 1.8);
    station.exec("COMMIT");
    EXPECT_EQ(lastTitle(), "Transaction Framing Error");
    EXPECT_EQ(lastText(),
              "Error: (File Is Locked (32)) attempting to frame the delete transaction on "
              "Schedule.  Delete transaction cancelled.");
    EXPECT_EQ(items(), Strings{"1/1"});
    EXPECT_EQ(deleteRecord(schedule, prompter), kDeleted);
    EXPECT_TRUE(items().empty());
}

TEST_F(CascadeDelete, TheStoredVersionIsDeletedEvenWhenAnotherStationChangedIt) {
    addTask(1);
    addItem(1, 1);
    ASSERT_EQ(loadById(schedule, 1), store::kNoError);
    store::Table other(Schedule::schema());
    openTable(other, prompter);
    ASSERT_EQ(loadById(other, 1), store::kNoError);
    other.rec<Schedule>().DESCRIPTION = "theirs";
    ASSERT_EQ(other.put(), store::kNoError);
    EXPECT_EQ(deleteRecord(schedule, prompter), kDeleted);
    EXPECT_TRUE(tasks().empty());
    EXPECT_TRUE(items().empty());

    // One that is gone already cannot be read again.
    addTask(2);
    ASSERT_EQ(loadById(schedule, 2), store::kNoError);
    ASSERT_EQ(loadById(other, 2), store::kNoError);
    ASSERT_EQ(other.erase(), store::kNoError);
    EXPECT_EQ(deleteRecord(schedule, prompter), kNotDeleted);
    EXPECT_EQ(lastTitle(), "Record Retrieval Error");
    EXPECT_EQ(lastText(),
              "Error: (Record Not Found (35)) attempting to access a record from the Schedule "
              "file.  Returning to previous window.");
}

}  // namespace
}  // namespace plorix::data
