#include "data/numbering.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "data/open_routine.h"
#include "data/tables.h"
#include "store/backend_test.h"

namespace plorix::data {
namespace {

class NumberingTest : public test::BackendTest {
protected:
    RecordingPrompter prompter;
};
PLORIX_ON_BOTH_BACKENDS(NumberingTest);

TEST_P(NumberingTest, FirstNumberIsOneThenOneMoreThanTheLast) {
    store::Table contacts(Contact::schema());
    openTable(contacts, prompter);
    EXPECT_EQ(addNumbered(contacts, prompter), 1);
    EXPECT_EQ(addNumbered(contacts, prompter), 2);

    // A gap below the last number is never filled.
    store::clearRecord(contacts.schema(), contacts.buffer());
    contacts.rec<Contact>().CLIENTID = 41;
    ASSERT_EQ(contacts.add(), store::kNoError);
    const std::int32_t next =
        addNumbered(contacts, prompter, [](void* r) { static_cast<Contact*>(r)->LASTNAME = "Okafor"; });
    EXPECT_EQ(next, 42);
    EXPECT_EQ(contacts.records(), 4);

    // The record is there at once, primed and numbered.
    contacts.rec<Contact>().CLIENTID = 42;
    ASSERT_EQ(contacts.get(keys::Contact::KEYCLIENTID), store::kNoError);
    EXPECT_EQ(contacts.rec<Contact>().LASTNAME, "Okafor");
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_P(NumberingTest, ScriptItemsAreNumberedWithinTheirTask) {
    store::Table items(Scripting::schema());
    openTable(items, prompter);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(addNumbered(items, prompter, {}, 5), i + 1);
    EXPECT_EQ(addNumbered(items, prompter, {}, 9), 1);  // the last item read belongs to task 5
    EXPECT_EQ(addNumbered(items, prompter, {}, 2), 1);  // nothing before task 2 at all
    EXPECT_EQ(addNumbered(items, prompter, {}, 5), 4);

    items.rec<Scripting>().ID = 9;
    items.rec<Scripting>().SEQUENCE = 1;
    ASSERT_EQ(items.get(keys::Scripting::KEYID), store::kNoError);
    const Scripting& item = items.rec<Scripting>();
    EXPECT_EQ(item.ACTION, "Send Keystrokes");
    EXPECT_EQ(item.WINDOWEXISTANCE, "Window Exists");
    EXPECT_EQ(item.IFTIMEELAPSED, "Greater Than");
    EXPECT_EQ(item.TIMEELAPSED, 86400);
}

TEST_P(NumberingTest, RepeatedFailuresOfferRetryThenGiveUp) {
    {
        store::Table schedule(Schedule::schema());
        openTable(schedule, prompter);
    }
    store::Table schedule(Schedule::schema());
    openTable(schedule, prompter, store::kReadOnlyDenyNone, true, false, false);
    prompter.answerNext(kRetry);  // then Cancel, the default
    EXPECT_EQ(addNumbered(schedule, prompter), 0);
    ASSERT_EQ(prompter.shown().size(), 2u);
    for (const auto& shown : prompter.shown()) {
        EXPECT_EQ(shown.title, "Auto Increment Error");
        EXPECT_EQ(shown.text.rfind("Attempts to automatically number this record have failed.  Error: ", 0),
                  0u);
        EXPECT_EQ(shown.text.find("No Error"), std::string::npos) << shown.text;
    }
    EXPECT_EQ(schedule.records(), 0);
}

// Two stations numbering tasks in the same file at the same time.
TEST_P(NumberingTest, ConcurrentStationsNeverShareANumber) {
    constexpr int kPerStation = 40;
    {
        store::Table schedule(Schedule::schema());
        openTable(schedule, prompter);
    }  // closed again: no connection is carried into the children
    pid_t children[2];
    for (pid_t& child : children) {
        child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int abandoned = 0;
            try {
                RecordingPrompter quiet;
                store::Table schedule(Schedule::schema());
                openTable(schedule, quiet);
                for (int i = 0; i < kPerStation; ++i)
                    if (addNumbered(schedule, quiet) == 0) ++abandoned;
            } catch (...) {
                abandoned = 100;
            }
            _exit(abandoned);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    store::Table schedule(Schedule::schema());
    openTable(schedule, prompter);
    std::set<std::int32_t> ids;
    schedule.setStart(keys::Schedule::KEYID);
    while (schedule.next() == store::kNoError) ids.insert(schedule.rec<Schedule>().ID);
    EXPECT_EQ(schedule.records(), 2 * kPerStation);
    ASSERT_EQ(ids.size(), 2u * kPerStation);
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 2 * kPerStation);
}

}  // namespace
}  // namespace plorix::data
