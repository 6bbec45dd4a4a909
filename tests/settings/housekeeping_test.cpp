#include "settings/housekeeping.h"

#include <gtest/gtest.h>

#include "data/open_routine.h"
#include "data/tables.h"
#include "settings/window_positions.h"
#include "runtime/ini_file.h"
#include "support/temp_dir.h"

namespace plorix::settings {
namespace {

class HousekeepingTest : public ::testing::Test {
protected:
    void TearDown() override { data::resetUseCounts(); }

    void addTask(std::int32_t id, bool disabled, bool completed) {
        auto& r = schedule.rec<data::Schedule>();
        store::clearRecord(schedule.schema(), &r);
        r.ID = id;
        r.DISABLED = disabled;
        r.COMPLETED = completed;
        ASSERT_EQ(schedule.add(), store::kNoError);
    }
    std::vector<std::int32_t> taskIds() {
        std::vector<std::int32_t> ids;
        schedule.setStart(data::keys::Schedule::KEYID);
        while (schedule.next() == store::kNoError) ids.push_back(schedule.rec<data::Schedule>().ID);
        return ids;
    }

    test::TempDir dir;
    RecordingPrompter prompter;
    store::Table schedule{data::Schedule::schema()};
    store::Table todo{data::Todo::schema()};
};

TEST_F(HousekeepingTest, ClearingDisabledTasksAsksFirstAndTouchesOnlyThem) {
    data::TableUse use(schedule, prompter);
    addTask(1, true, false);
    addTask(2, false, true);
    addTask(3, true, true);
    addTask(4, false, false);

    EXPECT_FALSE(clearRecords(Clearance::DisabledTasks, schedule, prompter));  // No, the default
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Housekeeping");
    EXPECT_EQ(prompter.shown()[0].text, "Remove disabled tasks?");
    EXPECT_EQ(prompter.shown()[0].defaultButton, kNo);
    EXPECT_EQ(taskIds().size(), 4u);

    prompter.answerNext(kYes);
    EXPECT_TRUE(clearRecords(Clearance::DisabledTasks, schedule, prompter));
    EXPECT_EQ(prompter.shown().back().text, "Disabled tasks removed.");
    EXPECT_EQ(taskIds(), (std::vector<std::int32_t>{2, 4}));

    prompter.answerNext(kYes);
    EXPECT_TRUE(clearRecords(Clearance::CompletedTasks, schedule, prompter));
    EXPECT_EQ(prompter.shown().back().text, "Completed tasks removed.");
    EXPECT_EQ(taskIds(), (std::vector<std::int32_t>{4}));
}

TEST_F(HousekeepingTest, ClearingTheToDoListRemovesEvenBlankItems) {
    data::TableUse use(todo, prompter);
    auto& r = todo.rec<data::Todo>();
    for (const char* text : {"Renew passport", "", "Call the plumber"}) {
        store::clearRecord(todo.schema(), &r);
        r.TODO = text;
        ASSERT_EQ(todo.add(), store::kNoError);
    }
    store::clearRecord(todo.schema(), &r);
    r.CATEGORY = "Home";  // outside the keys that start with DONE or TODO
    ASSERT_EQ(todo.add(), store::kNoError);

    prompter.answerNext(kYes);
    EXPECT_TRUE(clearRecords(Clearance::TodoList, todo, prompter));
    EXPECT_EQ(prompter.shown()[0].text, "Clear To Do list?");
    EXPECT_EQ(prompter.shown()[1].text, "To Do list removed.");
    EXPECT_EQ(todo.records(), 0);
}

TEST_F(HousekeepingTest, AFailedDeletionIsReportedAndStopsTheRun) {
    {
        data::TableUse use(schedule, prompter);
        addTask(1, true, false);
        addTask(2, true, false);
    }
    data::TableUse readOnly(schedule, prompter, {store::kReadOnlyDenyNone, true, false, false});
    prompter.answerNext(kYes);
    EXPECT_FALSE(clearRecords(Clearance::DisabledTasks, schedule, prompter));
    ASSERT_EQ(prompter.shown().size(), 2u);
    EXPECT_EQ(prompter.shown()[1].title, "Cannot Remove History");
    const std::string& text = prompter.shown()[1].text;
    const std::string suffix = " error while removing history";
    ASSERT_GT(text.size(), suffix.size());
    EXPECT_EQ(text.substr(text.size() - suffix.size()), suffix);
    EXPECT_EQ(taskIds().size(), 2u);
}

TEST_F(HousekeepingTest, ResetBlanksSavedWindowsInBothFiles) {
    IniFile settingsIni("px98.INI");
    IniFile positions(std::string(settings::kPositionIni));
    for (IniFile* ini : {&settingsIni, &positions}) {
        ini->putString("BrowseSchedule", "XPosit", "120");
        ini->putString("BrowseSchedule", "Maximize", "Yes");
        ini->putString("ViewLog", "XPosit", "33");
    }
    settingsIni.putString("Settings", "LogEvents", "1");

    EXPECT_FALSE(resetWindowSettings(prompter, "px98.INI"));
    EXPECT_EQ(positions.getString("BrowseSchedule", "XPosit"), "120");

    prompter.answerNext(kYes);
    EXPECT_TRUE(resetWindowSettings(prompter, "px98.INI"));
    EXPECT_EQ(prompter.shown().back().text, "Reset saved window settings?");
    for (IniFile* ini : {&settingsIni, &positions}) {
        EXPECT_EQ(ini->find("BrowseSchedule", "XPosit"), std::optional<std::string>(""));
        EXPECT_EQ(ini->getString("BrowseSchedule", "Maximize"), "");
        EXPECT_EQ(ini->getString("ViewLog", "XPosit"), "33");  // not one of the eighteen
    }
    EXPECT_EQ(settingsIni.getString("Settings", "LogEvents"), "1");
    EXPECT_EQ(resetWindowSections().size(), 18u);
}

TEST_F(HousekeepingTest, ClearingTheScriptQueueAsksFirst) {
    int emptied = 0;
    EXPECT_FALSE(clearScriptQueue(prompter, [&] { ++emptied; }));
    prompter.answerNext(kYes);
    EXPECT_TRUE(clearScriptQueue(prompter, [&] { ++emptied; }));
    EXPECT_EQ(emptied, 1);
    EXPECT_EQ(prompter.shown()[0].text, "Remove active scripts?");
    EXPECT_EQ(prompter.shown()[2].text, "All active scripts have been removed");
}

}  // namespace
}  // namespace plorix::settings
