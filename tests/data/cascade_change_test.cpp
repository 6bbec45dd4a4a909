// The change routine: rewritten and restricted children, records changed by
// another station, and the transaction around them.

#include <gtest/gtest.h>

#include "data/cascade.h"
#include "data/cascade_support.h"
#include "store/store_support.h"

namespace plorix::data {
namespace {

using test::Strings;

class CascadeChange : public test::CascadeFile {};

TEST_F(CascadeChange, ANewTaskIdentifierIsCarriedToLinksAndScriptItems) {
    twoTasksWithChildren();
    ASSERT_EQ(loadById(schedule, 1), store::kNoError);
    const auto original = keepOriginal(schedule);
    schedule.rec<Schedule>().ID = 5;
    schedule.rec<Schedule>().DESCRIPTION = "renumbered";
    EXPECT_EQ(changeRecord(schedule, prompter, original.get()), kWritten);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(tasks(), (Strings{"2", "5"}));
    EXPECT_EQ(items(), (Strings{"2/1", "5/1", "5/2"}));
    EXPECT_EQ(links(), (Strings{"2/7", "5/7"}));

    // A contact's new identifier reaches its links the same way.
    addContact(7);
    ASSERT_EQ(loadById(contact, 7), store::kNoError);
    const auto before = keepOriginal(contact);
    contact.rec<Contact>().CLIENTID = 9;
    EXPECT_EQ(changeRecord(contact, prompter, before.get()), kWritten);
    EXPECT_EQ(links(), (Strings{"2/9", "5/9"}));
}

TEST_F(CascadeChange, AReferencedNameCannotChangeAndComesBackInTheBuffer) {
    referToEachRestrictingParent("Work", "family");

    struct Case {
        store::Table& table;
        const char* referrer;
        std::function<void()> edit;
        std::function<void()> expectOriginal;
    };
    const Case cases[] = {
        {categories, "Schedule", [&] { categories.rec<Categories>().CATEGORY = "Job"; },
         [&] { EXPECT_EQ(categories.rec<Categories>().CATEGORY, "Work"); }},
        {contactCategories, "Contact",
         [&] { contactCategories.rec<ContactCategories>().CONTACTCATEGORY = "Friends"; },
         [&] { EXPECT_EQ(contactCategories.rec<ContactCategories>().CONTACTCATEGORY, "Family"); }},
        {messages, "Scripting",
         [&] {
             messages.rec<Messages>().EMAILID = 4;
             messages.rec<Messages>().SUBJECT = "kept in the form";
         },
         [&] {
             EXPECT_EQ(messages.rec<Messages>().EMAILID, 3);
             EXPECT_EQ(messages.rec<Messages>().SUBJECT, "kept in the form");
         }},
    };
    for (const Case& c : cases) {
        c.table.setStart(0);
        ASSERT_EQ(c.table.next(), store::kNoError);
        const auto original = keepOriginal(c.table);
        c.edit();
        prompter.clear();
        EXPECT_EQ(changeRecord(c.table, prompter, original.get()), kNotWritten) << c.referrer;
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(lastTitle(), "Referential Integrity Update Error");
        EXPECT_EQ(lastText(), "This record is referenced from the file " + std::string(c.referrer) +
                                  ".  Linking field(s) have been restricted from change and have been reset "
                                  "to original values.");
        c.expectOriginal();
        // Nothing was written, and the restored record saves as it stands.
        EXPECT_EQ(changeRecord(c.table, prompter, original.get()), kWritten);
    }
    EXPECT_EQ(stored(R"(SELECT "CATEGORY" FROM "Categories")"), Strings{"Work"});
    EXPECT_EQ(stored(R"(SELECT "SUBJECT" FROM "Messages")"), Strings{"kept in the form"});
}

TEST_F(CascadeChange, NamesChangeFreelyWhereNothingRefersToThemOrOnlyTheirCaseChanges) {
    addNamed(categories, "Work");
    addNamed(categories, "Spare");
    addTask(1, "Work");
    ASSERT_EQ(loadByName(categories, "Spare"), store::kNoError);
    auto original = keepOriginal(categories);
    categories.rec<Categories>().CATEGORY = "Leisure";
    EXPECT_EQ(changeRecord(categories, prompter, original.get()), kWritten);

    // Under a key that ignores case, WORK is the same category as Work.
    ASSERT_EQ(loadByName(categories, "Work"), store::kNoError);
    original = keepOriginal(categories);
    categories.rec<Categories>().CATEGORY = "WORK";
    EXPECT_EQ(changeRecord(categories, prompter, original.get()), kWritten);
    EXPECT_EQ(stored(R"(SELECT "CATEGORY" FROM "Categories" ORDER BY "CATEGORY")"),
              (Strings{"Leisure", "WORK"}));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(CascadeChange, AFailedRewriteRollsBackEverythingAndTheEntriesCanBeSavedAgain) {
    addTask(1);
    addLink(1, 7);
    addItem(1, 1);
    addItem(1, 2);
    addItem(5, 2);  // left behind by an earlier task 5: the rewrite of 1/2 collides
    ASSERT_EQ(loadById(schedule, 1), store::kNoError);
    const auto original = keepOriginal(schedule);
    schedule.rec<Schedule>().ID = 5;
    schedule.rec<Schedule>().DESCRIPTION = "mine";
    EXPECT_EQ(changeRecord(schedule, prompter, original.get()), kNotWritten);
    EXPECT_EQ(lastTitle(), "Update Operation Error");
    EXPECT_EQ(lastText(),
              "An error (Creates Duplicate Key (40)) was experienced when attempting to update a "
              "record from the file.  Probable Cause: Scripting.");
    EXPECT_EQ(tasks(), Strings{"1"});
    EXPECT_EQ(links(), Strings{"1/7"});
    EXPECT_EQ(items(), (Strings{"1/1", "1/2", "5/2"}));
    // The form keeps what the user entered ...
    EXPECT_EQ(schedule.rec<Schedule>().ID, 5);
    EXPECT_EQ(schedule.rec<Schedule>().DESCRIPTION, "mine");

    // ... and, the obstacle gone, saves it without a word about other stations.
    scripting.rec<Scripting>().ID = 5;
    scripting.rec<Scripting>().SEQUENCE = 2;
    ASSERT_EQ(scripting.get(0), store::kNoError);
    ASSERT_EQ(scripting.erase(), store::kNoError);
    prompter.clear();
    EXPECT_EQ(changeRecord(schedule, prompter, original.get()), kWritten);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(links(), Strings{"5/7"});
    EXPECT_EQ(items(), (Strings{"5/1", "5/2"}));
}

TEST_F(CascadeChange, ADuplicateOfTheRecordItselfIsReportedWithItsKey) {
    addTask(1);
    addTask(2);
    ASSERT_EQ(loadById(schedule, 2), store::kNoError);
    const auto original = keepOriginal(schedule);
    schedule.rec<Schedule>().ID = 1;
    EXPECT_EQ(changeRecord(schedule, prompter, original.get()), kNotWritten);
    EXPECT_EQ(lastText(),
              "An error (Creates Duplicate Key (40)) was experienced when attempting to update a "
              "record from the file.  Probable Cause: SCH:KEYID.");
    EXPECT_EQ(tasks(), (Strings{"1", "2"}));
}

class ChangedByAnotherStation : public test::CascadeFile {
protected:
    void SetUp() override {
        CascadeFile::SetUp();
        addTask(1);
        ASSERT_EQ(loadById(schedule, 1), store::kNoError);
        original = keepOriginal(schedule);
        // Another station saves the task meanwhile.
        ASSERT_EQ(test::runStation([] {
                      store::Table t(Schedule::schema());
                      if (t.open() != store::kNoError) return 1;
                      t.rec<Schedule>().ID = 1;
                      if (t.get(0) != store::kNoError) return 2;
                      t.rec<Schedule>().DESCRIPTION = "theirs";
                      return t.put();
                  }),
                  store::kNoError);
        schedule.rec<Schedule>().DESCRIPTION = "ours";
    }
    std::shared_ptr<void> original;
};

TEST_F(ChangedByAnotherStation, AFormThatCanRecallIsToldTheirVersionIsShown) {
    EXPECT_EQ(changeRecord(schedule, prompter, original.get(), true), kChangedElsewhere);
    EXPECT_EQ(lastTitle(), "Record Was Not Updated");
    EXPECT_EQ(schedule.rec<Schedule>().DESCRIPTION, "theirs");
    EXPECT_FALSE(hasSavedError());
    // Saved again over their version, ours goes through.
    schedule.rec<Schedule>().DESCRIPTION = "ours after all";
    EXPECT_EQ(changeRecord(schedule, prompter, original.get(), true), kWritten);
    EXPECT_EQ(stored(R"(SELECT "DESCRIPTION" FROM "s")"), Strings{"ours after all"});
}

TEST_F(ChangedByAnotherStation, OtherCallersGetWarning15WithItsOwnText) {
    EXPECT_EQ(changeRecord(schedule, prompter, original.get()), kChangedElsewhere);
    EXPECT_EQ(lastTitle(), "Update Operation Error");
    EXPECT_EQ(lastText(), "This record was changed by another station.");
    EXPECT_EQ(stored(R"(SELECT "DESCRIPTION" FROM "s")"), Strings{"theirs"});
}

TEST_F(ChangedByAnotherStation, ARecordDeletedMeanwhileIsNotWrittenAndNotBroughtBack) {
    store::Table other(Schedule::schema());
    openTable(other, prompter);
    ASSERT_EQ(loadById(other, 1), store::kNoError);
    ASSERT_EQ(other.erase(), store::kNoError);
    EXPECT_EQ(changeRecord(schedule, prompter, original.get(), true), kNotWritten);
    EXPECT_EQ(lastText(), "This record was changed by another station.");
    EXPECT_EQ(schedule.rec<Schedule>().DESCRIPTION, "ours");
    EXPECT_TRUE(tasks().empty());
}

}  // namespace
}  // namespace plorix::data
