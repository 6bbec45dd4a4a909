// The exception step against a real schedule table: what it stores, the
// one-off copies it adds and links, and the copies it replaces.

#include <gtest/gtest.h>

#include "data/open_routine.h"
#include "data/tables.h"
#include "scheduler/exceptions.h"
#include "schedule_builder.h"
#include "support/temp_dir.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

class StoredExceptions : public ::testing::Test {
protected:
    StoredExceptions() { data::openTable(schedule, prompter); }

    Schedule& buffer() { return schedule.rec<Schedule>(); }

    // Adds the entry and reads it back, as firing and the forms hold it.
    void store(const Schedule& entry) {
        buffer() = entry;
        ASSERT_EQ(schedule.add(), store::kNoError);
        read(entry.ID);
    }

    Schedule read(std::int32_t id) {
        buffer().ID = id;
        EXPECT_EQ(schedule.get(data::keys::Schedule::KEYID), store::kNoError) << id;
        return buffer();
    }

    bool exists(std::int32_t id) {
        buffer().ID = id;
        return schedule.get(data::keys::Schedule::KEYID) == store::kNoError;
    }

    // A Saturday run of a weekly entry that moves weekend runs to Monday.
    Schedule saturdayEntry(std::int32_t id, Date saturday) {
        Schedule entry = makeEntry("Day of Week", saturday, hm(10, 0));
        entry.ID = id;
        setWeekdays(entry, {Sat});
        entry.DESCRIPTION = "Weekly report";
        entry.MESSAGE = "Send the figures";
        entry.EXCEPTWEEKENDS = 1;
        entry.SHIFTTYPE = "Next Day";
        return entry;
    }

    plorix::test::TempDir dir;
    RecordingPrompter prompter;
    NoHolidays noHolidays;
    store::Table schedule{Schedule::schema()};
};

TEST_F(StoredExceptions, ExcludedRunIsStoredSkippedWithALinkedCopy) {
    store(saturdayEntry(1, ymd(2024, 5, 11)));
    const ExceptionsApplied applied = applyExceptions(schedule, noHolidays, false, prompter);
    EXPECT_TRUE(applied.stored);
    EXPECT_EQ(applied.error, 0);
    EXPECT_EQ(applied.copyId, 2);
    // The caller goes on with the entry, which is also the current record.
    EXPECT_EQ(buffer().ID, 1);
    EXPECT_EQ(buffer().EXCEPTIONLINK, 2);
    buffer().DESCRIPTION = "Renamed";
    EXPECT_EQ(schedule.put(), store::kNoError);

    const Schedule entry = read(1);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 11));
    EXPECT_EQ(entry.SKIPNEXTTIME, 1);
    EXPECT_EQ(entry.EXCEPTIONLINK, 2);
    EXPECT_EQ(entry.DESCRIPTION, "Renamed");
    const Schedule copy = read(2);
    EXPECT_EQ(copy.SCHEDULETYPE, "Once");
    EXPECT_EQ(copy.DATE, ymd(2024, 5, 13));
    EXPECT_EQ(copy.TIME, hm(10, 0));
    EXPECT_EQ(copy.SKIPNEXTTIME, 0);
    EXPECT_EQ(copy.EXCEPTIONLINK, 0);
    EXPECT_EQ(copy.DESCRIPTION, "Weekly report");
    EXPECT_EQ(copy.MESSAGE, "Send the figures");
    EXPECT_EQ(schedule.records(), 2);
}

TEST_F(StoredExceptions, WithoutCopyOnlyAnExcludedRunIsStored) {
    // An allowed Friday is left to the caller; a Saturday with the "Skip"
    // action is stored, skipped, without copy.
    struct Case {
        Date date;
        const char* shift;
        bool stored;
    };
    for (const Case& c : {Case{ymd(2024, 5, 10), "Next Day", false},
                          Case{ymd(2024, 5, 11), "Skip (to Next Valid Day)", true}}) {
        Schedule entry = saturdayEntry(1, c.date);
        entry.SHIFTTYPE = c.shift;
        if (exists(1)) {
            ASSERT_EQ(schedule.erase(), store::kNoError);
        }
        store(entry);
        const ExceptionsApplied applied = applyExceptions(schedule, noHolidays, true, prompter);
        EXPECT_EQ(applied.stored, c.stored);
        EXPECT_EQ(applied.copyId, 0);
        EXPECT_EQ(schedule.records(), 1);
        EXPECT_EQ(read(1).SKIPNEXTTIME, c.stored ? 1 : 0);
    }
}

TEST_F(StoredExceptions, FormReplacesAPendingCopyFiringKeepsIt) {
    store(saturdayEntry(1, ymd(2024, 5, 11)));
    ASSERT_EQ(applyExceptions(schedule, noHolidays, false, prompter).copyId, 2);

    // Firing: the next Saturday gets its own copy, the first one stays.
    read(1);
    buffer().DATE = ymd(2024, 5, 18);
    ASSERT_EQ(applyExceptions(schedule, noHolidays, false, prompter).copyId, 3);
    EXPECT_TRUE(exists(2));

    // The form saves the entry again: its previous copy (3) is replaced.
    read(1);
    buffer().DATE = ymd(2024, 5, 25);
    const ExceptionsApplied applied = applyExceptions(schedule, noHolidays, true, prompter);
    EXPECT_EQ(applied.copyId, 4);
    EXPECT_EQ(applied.error, 0);
    EXPECT_EQ(buffer().ID, 1);  // back on the entry, not on the deleted copy
    EXPECT_EQ(buffer().DATE, ymd(2024, 5, 25));
    EXPECT_FALSE(exists(3));
    EXPECT_TRUE(exists(2));
    EXPECT_EQ(read(1).EXCEPTIONLINK, 4);
    EXPECT_EQ(read(4).DATE, ymd(2024, 5, 27));
}

TEST_F(StoredExceptions, FormKeepsACopyThatHasAlreadyRun) {
    store(saturdayEntry(1, ymd(2024, 5, 11)));
    ASSERT_EQ(applyExceptions(schedule, noHolidays, false, prompter).copyId, 2);
    // The copy ran and became its own history record.
    read(2);
    buffer().DISABLED = 1;
    buffer().COMPLETED = 1;
    ASSERT_EQ(schedule.put(), store::kNoError);

    read(1);
    buffer().DATE = ymd(2024, 5, 18);
    EXPECT_EQ(applyExceptions(schedule, noHolidays, true, prompter).copyId, 3);
    EXPECT_TRUE(exists(2));
}

TEST_F(StoredExceptions, LinkToItselfOrToAnotherTaskIsNotDeleted) {
    Schedule other = makeEntry("Day of Week", ymd(2024, 5, 10));
    other.ID = 5;
    store(other);
    for (std::int32_t link : {1, 5}) {
        Schedule entry = saturdayEntry(1, ymd(2024, 5, 11));
        entry.EXCEPTIONLINK = link;
        if (exists(1)) {
            ASSERT_EQ(schedule.erase(), store::kNoError);
        }
        store(entry);
        applyExceptions(schedule, noHolidays, true, prompter);
        EXPECT_TRUE(exists(1));
        EXPECT_TRUE(exists(5));
    }
}

TEST_F(StoredExceptions, OnceEntryHasItsExceptionsClearedAndIsNotStored) {
    Schedule entry = saturdayEntry(1, ymd(2024, 5, 11));
    entry.SCHEDULETYPE = "Once";
    store(entry);
    EXPECT_FALSE(applyExceptions(schedule, noHolidays, true, prompter).stored);
    EXPECT_EQ(buffer().EXCEPTWEEKENDS, 0);
    EXPECT_EQ(read(1).EXCEPTWEEKENDS, 1);  // the caller stores it
}

TEST_F(StoredExceptions, UnknownUnitInTheWindowIsReportedOnce) {
    Schedule entry = custom(1, "bogus", ymd(2024, 5, 10), hm(23, 0));
    entry.EXCEPTTIME = 1;
    entry.EXCEPTTIMEBEGIN = hm(22, 0);
    entry.EXCEPTTIMEEND = hm(6, 0);
    store(entry);
    EXPECT_TRUE(applyExceptions(schedule, noHolidays, false, prompter).stored);
    EXPECT_EQ(prompter.titles(), std::vector<std::string>{"Invalid Units"});
    EXPECT_EQ(read(1).TIME, hm(6, 0));
}

TEST_F(StoredExceptions, ChangedByAnotherStationStoresNothing) {
    store(saturdayEntry(1, ymd(2024, 5, 11)));
    {
        store::Table other{Schedule::schema()};
        data::openTable(other, prompter);
        other.rec<Schedule>().ID = 1;
        ASSERT_EQ(other.get(data::keys::Schedule::KEYID), store::kNoError);
        other.rec<Schedule>().DESCRIPTION = "Changed elsewhere";
        ASSERT_EQ(other.put(), store::kNoError);
    }
    const ExceptionsApplied applied = applyExceptions(schedule, noHolidays, false, prompter);
    EXPECT_FALSE(applied.stored);
    EXPECT_EQ(applied.error, store::kRecordChanged);
    EXPECT_EQ(schedule.records(), 1);
    EXPECT_EQ(read(1).DESCRIPTION, "Changed elsewhere");
}

}  // namespace
}  // namespace plorix::scheduler
