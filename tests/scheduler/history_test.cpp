// The daily removal of expired history.

#include <gtest/gtest.h>

#include "fire_rig.h"
#include "scheduler/history.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

class HistoryRemovalTest : public FireRig {
protected:
    HistoryRemovalTest() { settings.HistoryExpires = 7; }

    std::int32_t addDisabled(std::string_view description, Date date, bool completed,
                             std::uint8_t disabled = 1) {
        Schedule entry = dailyMessage(description, date);
        entry.DISABLED = disabled;
        entry.COMPLETED = completed ? 1 : 0;
        return add(entry);
    }

    HistoryRemoval removal;
};

TEST_F(HistoryRemovalTest, RemovesCompletedRecordsOnceTheyAreOldEnough) {
    const std::int32_t march1 = addDisabled("1 March", ymd(2024, 3, 1), true);
    const std::int32_t march2 = addDisabled("2 March", ymd(2024, 3, 2), true);
    const std::int32_t active = add(dailyMessage("Active", ymd(2024, 2, 1)));

    clock.set(at(2024, 3, 7, 23, 59));
    EXPECT_TRUE(removal.removeHistory(context));
    EXPECT_TRUE(load(march1));
    clock.set(at(2024, 3, 8, 0, 0));
    EXPECT_TRUE(removal.removeHistory(context));
    EXPECT_FALSE(load(march1));
    EXPECT_TRUE(load(march2));
    EXPECT_TRUE(load(active));  // enabled entries are never history
    EXPECT_EQ(logLines, (std::vector<LogLine>{{"History", "Checked for tasks needing removal"},
                                              {"History", "Checked for tasks needing removal"}}));
}

TEST_F(HistoryRemovalTest, RunsOncePerDayAndNotAtAllWhenTurnedOff) {
    clock.set(at(2024, 3, 8, 9, 0));
    EXPECT_TRUE(removal.removeHistory(context));
    clock.set(at(2024, 3, 8, 18, 0));
    EXPECT_FALSE(removal.removeHistory(context));
    clock.set(at(2024, 3, 9, 0, 0));
    EXPECT_TRUE(removal.removeHistory(context));
    for (int days : {0, -3}) {
        settings.HistoryExpires = days;
        clock.set(at(2024, 3, 20, 0, 0));
        EXPECT_FALSE(removal.removeHistory(context));
    }
}

TEST_F(HistoryRemovalTest, UncompletedDisabledEntriesStayUnlessAskedFor) {
    const std::int32_t uncompleted = addDisabled("Paused", ymd(2024, 3, 1), false);
    const std::int32_t odd = addDisabled("Odd flag", ymd(2024, 3, 1), true, 2);
    clock.set(at(2024, 3, 10, 9, 0));
    removal.removeHistory(context);
    EXPECT_TRUE(load(uncompleted));
    EXPECT_FALSE(load(odd));  // any non-zero flag disables

    settings.RemoveUncompleted = true;
    clock.set(at(2024, 3, 11, 9, 0));
    removal.removeHistory(context);
    EXPECT_FALSE(load(uncompleted));
}

TEST_F(HistoryRemovalTest, SaveScriptsRemovesTheRecordsScriptToo) {
    settings.SaveScripts = true;
    const std::int32_t old = addDisabled("Old", ymd(2024, 3, 1), true);
    addScriptItems(old, 3);
    std::vector<std::int32_t> throughHook;
    clock.set(at(2024, 3, 10, 9, 0));
    removal.removeHistory(context);
    EXPECT_EQ(scriptItemsOf(old), 0);

    const std::int32_t older = addDisabled("Older", ymd(2024, 3, 2), true);
    context.hooks.deleteScript = [&](std::int32_t id) { throughHook.push_back(id); };
    clock.set(at(2024, 3, 11, 9, 0));
    removal.removeHistory(context);
    EXPECT_EQ(throughHook, std::vector<std::int32_t>{older});
}

TEST_F(HistoryRemovalTest, ManyRecordsAreRemovedAndTheRecentOnesKept) {
    // Every day of two months, removed up to a week ago in one pass.
    for (Date day = ymd(2024, 1, 1); day <= ymd(2024, 2, 29); ++day) addDisabled("Run", day, true);
    std::vector<std::int32_t> removed;
    context.hooks.historyRemoved = [&](const Schedule& record) { removed.push_back(record.ID); };
    clock.set(at(2024, 3, 1, 0, 5));
    removal.removeHistory(context);
    EXPECT_EQ(removed.size(), 60u - 6u);  // up to 23 February (7 days old); the 24th onwards stay
    EXPECT_EQ(all().size(), 6u);
}

}  // namespace
}  // namespace plorix::scheduler
