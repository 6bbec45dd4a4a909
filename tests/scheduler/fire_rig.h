#pragma once
// A data folder with open Schedule and Scripting tables, a clock the test
// moves, and hooks that record what firing hands to the windows and the
// script engine.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/schedule.h"
#include "data/tables/scripting.h"
#include "log/event_log.h"
#include "platform/fake/fake_desktop.h"
#include "runtime/fixed_text.h"
#include "scheduler/fire.h"
#include "scheduler/tick_timeline.h"
#include "schedule_builder.h"
#include "support/temp_dir.h"

namespace plorix::scheduler::test {

struct LogLine {
    std::string label;
    std::string text;
    friend bool operator==(const LogLine&, const LogLine&) = default;
};

class FireRig : public ::testing::Test {
protected:
    FireRig() : FireRig(clock) {}
    // With a clock of the test's own (declared before the fixture's base).
    explicit FireRig(Clock& activeClock)
        : context{activeClock, prompter, settings, schedule(), scripting(), sound, {}} {
        setProcessClock(&activeClock);
        scheduleUse.emplace(schedule(), prompter);
        scriptingUse.emplace(scripting(), prompter);
        log::eventLog().setHook([this](const log::LogEntry& entry) {
            logLines.push_back({clip(entry.label), clip(entry.text)});
        });
        SchedulerHooks& hooks = context.hooks;
        hooks.showReminder = [this](const ReminderHandOver& handOver, ReminderKind kind) {
            reminders.push_back(handOver);
            reminderKinds.push_back(kind);
        };
        hooks.openReminders = [this] { return openWindows; };
        hooks.startProgram = [this](std::int32_t id, std::string_view command, std::string_view folder) {
            programs.push_back(std::to_string(id) + " " + std::string(command) + " " + std::string(folder));
        };
        hooks.bringFrameBack = [this] { ++frameBrought; };
        hooks.scriptQueued = [this] { return scriptQueued; };
    }
    ~FireRig() override {
        log::eventLog().setHook({});
        scriptingUse.reset();
        scheduleUse.reset();
        data::resetProcessTables();
        data::resetUseCounts();
        setProcessClock(nullptr);
    }

    static store::Table& schedule() { return data::processTable<data::Schedule>(); }
    static store::Table& scripting() { return data::processTable<data::Scripting>(); }
    static data::Schedule& buffer() { return schedule().rec<data::Schedule>(); }

    // Adds the entry under its own identifier (or the next free one when 0).
    std::int32_t add(data::Schedule entry) {
        if (entry.ID == 0) {
            // After the last identifier in use: history records take them too.
            schedule().setEnd(data::keys::Schedule::KEYID);
            entry.ID = schedule().previous() == store::kNoError ? buffer().ID + 1 : 1;
        }
        buffer() = entry;
        EXPECT_EQ(schedule().add(), store::kNoError) << entry.ID;
        return entry.ID;
    }

    void addScriptItems(std::int32_t taskId, int count) {
        for (int i = 1; i <= count; ++i) {
            auto& item = scripting().rec<data::Scripting>();
            item = data::Scripting{};
            item.ID = taskId;
            item.SEQUENCE = i;
            item.ACTION = "Send Keystrokes";
            item.KEYSTROKES = "item " + std::to_string(i);
            ASSERT_EQ(scripting().add(), store::kNoError);
        }
    }

    int scriptItemsOf(std::int32_t taskId) {
        int count = 0;
        scripting().setStart(-1);
        while (scripting().next() == store::kNoError)
            if (scripting().rec<data::Scripting>().ID == taskId) ++count;
        return count;
    }

    bool load(std::int32_t id) {
        buffer().ID = id;
        return schedule().get(data::keys::Schedule::KEYID) == store::kNoError;
    }
    data::Schedule read(std::int32_t id) {
        EXPECT_TRUE(load(id)) << id;
        return buffer();
    }

    std::vector<data::Schedule> all() {
        std::vector<data::Schedule> records;
        schedule().setStart(data::keys::Schedule::KEYID);
        while (schedule().next() == store::kNoError) records.push_back(buffer());
        return records;
    }
    std::vector<data::Schedule> history() {
        std::vector<data::Schedule> records;
        for (const data::Schedule& record : all())
            if (record.DISABLED && record.COMPLETED) records.push_back(record);
        return records;
    }

    // Fires the entry as the schedule check would, having read it.
    FireResult fireEntry(std::int32_t id) {
        EXPECT_TRUE(load(id));
        TickTimeline timeline;
        timeline.observe(context.clock.current(), context.clock.steadyHundredths());
        return fire(context, timeline.lateness({buffer().DATE, buffer().TIME}));
    }

    std::vector<std::string> logLabels() const {
        std::vector<std::string> labels;
        for (const LogLine& line : logLines) labels.push_back(line.label);
        return labels;
    }

    plorix::test::TempDir dir;
    ManualClock clock{at(2024, 5, 6, 9, 0)};  // a Monday
    RecordingPrompter prompter;
    settings::Settings settings;
    platform::FakeSound sound;
    FireContext context;
    std::optional<data::TableUse> scheduleUse;
    std::optional<data::TableUse> scriptingUse;

    std::vector<ReminderHandOver> reminders;
    std::vector<ReminderKind> reminderKinds;
    std::vector<std::string> programs;
    std::vector<LogLine> logLines;
    int frameBrought = 0;
    int openWindows = 0;
    bool scriptQueued = false;
};

// A daily message at 09:00 from the given day.
inline data::Schedule dailyMessage(std::string_view description, Date date, Time time = hm(9, 0)) {
    data::Schedule entry = custom(1, "day(s)", date, time);
    entry.ID = 0;
    entry.TASKTYPE = "Display Message";
    entry.DESCRIPTION = description;
    entry.MESSAGE = std::string("Text of ") + std::string(description);
    return entry;
}

inline data::Schedule withType(data::Schedule entry, std::string_view taskType,
                               std::string_view command = "backup.sh") {
    entry.TASKTYPE = taskType;
    entry.COMMAND = command;
    return entry;
}

}  // namespace plorix::scheduler::test
