// The reminder windows' logic: how a message is presented, the count of
// open windows, the repeated alarm, Snooze, Add to To Do List.

#include <gtest/gtest.h>

#include <filesystem>

#include "data/tables/todo.h"
#include "fire_rig.h"
#include "scheduler/reminder.h"

namespace plorix::scheduler {
namespace {

using namespace test;
using data::Schedule;

class Reminders : public FireRig {
protected:
    Reminders() {
        services.startProgram = [this](std::int32_t id, std::string_view command, std::string_view) {
            programs.push_back(std::to_string(id) + " " + std::string(command));
        };
    }
    ReminderHandOver handOver(std::string_view sound = "bell.wav") {
        return {"Dentist", "Call to confirm", std::string(sound), ""};
    }
    std::vector<data::Todo> todoItems() {
        store::Table& todo = data::processTable<data::Todo>();
        const data::TableUse use(todo, prompter);
        std::vector<data::Todo> items;
        todo.setStart(-1);
        while (todo.next() == store::kNoError) items.push_back(todo.rec<data::Todo>());
        return items;
    }

    ReminderServices services{clock, prompter, settings, sound, {}};
};

TEST_F(Reminders, SettingsChooseHowTheMessageIsShown) {
    EXPECT_EQ(showMessage(handOver(), services), ReminderDisplay::Window);
    settings.UseModalMessage = true;
    EXPECT_EQ(showMessage(handOver(), services), ReminderDisplay::OnTop);
    settings.UseExternalMessage = true;
    EXPECT_EQ(showMessage(handOver(), services), ReminderDisplay::External);
    EXPECT_EQ(programs, std::vector<std::string>{"0 PXMsg.EXE \"Call to confirm\""});
    settings.UseWinMessage = true;
    EXPECT_EQ(showMessage(handOver(), services), ReminderDisplay::PlainBox);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].title, "Dentist");
    EXPECT_EQ(prompter.shown()[0].text, "Call to confirm");
    EXPECT_EQ(logLines.size(), 4u);
    EXPECT_EQ(logLines[0], (LogLine{"Message", "Dentist bell.wav"}));
    EXPECT_EQ(openReminderWindows(), 0);
}

TEST_F(Reminders, ExternalCommandKeepsQuotesInTheText) {
    EXPECT_EQ(externalMessageCommand("Say \"hi\"  "), "PXMsg.EXE \"Say \"'\"'\"hi\"'\"'\"\"");
}

TEST_F(Reminders, OnlyOrdinaryWindowsAreCounted) {
    {
        const Reminder first(handOver(), ReminderDisplay::Window, services);
        const Reminder onTop(handOver(), ReminderDisplay::OnTop, services);
        EXPECT_EQ(openReminderWindows(), 1);
        {
            const Reminder second(handOver(), ReminderDisplay::Window, services);
            EXPECT_EQ(openReminderWindows(), 2);
        }
        EXPECT_EQ(openReminderWindows(), 1);
    }
    EXPECT_EQ(openReminderWindows(), 0);
}

TEST_F(Reminders, AlarmRepeatsEveryIntervalWhileOpen) {
    settings.RepeatAlarmInterval = 30;
    Reminder reminder(handOver(), ReminderDisplay::Window, services);
    Reminder silent(handOver(""), ReminderDisplay::Window, services);
    int sounded = 0;
    for (int second = 1; second <= 95; ++second) {
        clock.advance(kHundredthsPerSecond);
        if (reminder.timer()) ++sounded;
        EXPECT_FALSE(silent.timer());
    }
    // Strictly after 30 s: at 31, 62 and 93 with one-second timer steps.
    EXPECT_EQ(sounded, 3);
    EXPECT_EQ(sound.played.size(), 3u);
    settings.RepeatAlarmInterval = 0;
    clock.advance(60 * kHundredthsPerSecond);
    EXPECT_FALSE(reminder.timer());
}

TEST_F(Reminders, SnoozeAddsAOneTimeEntryTenMinutesOnPastMidnight) {
    clock.set(at(2024, 5, 6, 23, 55));
    Reminder reminder(handOver(), ReminderDisplay::Window, services);
    const std::int32_t id = reminder.snooze();
    ASSERT_NE(id, 0);
    const Schedule entry = read(id);
    EXPECT_EQ(entry.DATE, ymd(2024, 5, 7));
    EXPECT_EQ(entry.TIME, hm(0, 5));
    EXPECT_EQ(entry.SCHEDULETYPE, "Once");
    EXPECT_EQ(entry.TASKTYPE, "Display Message");
    EXPECT_EQ(entry.CATEGORY, "Snooze");
    EXPECT_EQ(entry.DESCRIPTION, "Dentist");
    EXPECT_EQ(entry.MESSAGE, "Call to confirm");
    EXPECT_EQ(entry.SKIPIFMISSED, 1);
    EXPECT_EQ(entry.ALARM, 0);
    EXPECT_EQ(reminder.snooze(), id + 1);
}

TEST_F(Reminders, AddToToDoTwiceAddsTwoItemsAndSaysSo) {
    Reminder reminder(handOver(), ReminderDisplay::Window, services);
    EXPECT_TRUE(reminder.addToTodo());
    EXPECT_TRUE(reminder.addToTodo());
    const auto items = todoItems();
    ASSERT_EQ(items.size(), 2u);
    for (const data::Todo& item : items) {
        EXPECT_EQ(item.TODO, "Dentist");
        EXPECT_EQ(item.NOTES, "Call to confirm");
        EXPECT_EQ(item.PRIORITY, 5);
        EXPECT_EQ(item.CATEGORY, "General");
        EXPECT_EQ(item.DONE, 0);
    }
    EXPECT_EQ(prompter.titles(), (std::vector<std::string>{"Saved", "Saved"}));
    EXPECT_EQ(prompter.shown()[0].text, "Added to To Do List:\rDentist");
    EXPECT_EQ(openReminderWindows(), 1);
}

}  // namespace
}  // namespace plorix::scheduler
