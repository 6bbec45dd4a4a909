#include "scheduler/reminder.h"

#include <system_error>

#include "data/numbering.h"
#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/todo.h"
#include "data/warnings.h"
#include "log/event_log.h"
#include "runtime/fixed_text.h"
#include "scheduler/moment.h"
#include "scheduler/schedule_kinds.h"

namespace plorix::scheduler {
namespace {

std::atomic<int> openWindows{0};

constexpr std::size_t kTitleWidth = 40;
constexpr std::size_t kTextWidth = 1024;
constexpr std::size_t kFileWidth = 255;

}  // namespace

void logReminderShown(const ReminderHandOver& handOver) {
    log::logEvent(clip(handOver.title) + " " + handOver.soundFile, kMessageLabel);
}

int openReminderWindows() { return openWindows.load(); }

std::string externalMessageCommand(std::string_view text) {
    std::string command = std::string(kExternalMessageProgram) + " \"";
    for (char c : clip(text)) {
        if (c == '"')
            command += "\"'\"'\"";  // close, a quote in single quotes, reopen: one argument still
        else
            command += c;
    }
    return command + "\"";
}

ReminderDisplay showMessage(const ReminderHandOver& handOver, ReminderServices& services) {
    logReminderShown(handOver);
    const settings::Settings& settings = services.settings;
    if (settings.UseWinMessage) {
        services.prompter.message(handOver.title, handOver.text, Icon::Information, kOk, kOk);
        return ReminderDisplay::PlainBox;
    }
    if (settings.UseExternalMessage) {
        if (services.startProgram) services.startProgram(0, externalMessageCommand(handOver.text), "");
        return ReminderDisplay::External;
    }
    return settings.UseModalMessage ? ReminderDisplay::OnTop : ReminderDisplay::Window;
}

void showMessageWithReplyPath(const ReminderHandOver& handOver, ReminderServices&) {
    logReminderShown(handOver);
}

Reminder::Reminder(const ReminderHandOver& handOver, ReminderDisplay display, ReminderServices& services)
    : services_(services),
      title_(cutToWidth(handOver.title, kTitleWidth)),
      text_(cutToWidth(handOver.text, kTextWidth)),
      soundFile_(clip(cutToWidth(handOver.soundFile, kFileWidth))),
      replyAddress_(cutToWidth(handOver.replyAddress, kFileWidth)),
      counted_(display == ReminderDisplay::Window) {
    if (counted_) ++openWindows;
    scheduleAlarm();
}

Reminder::~Reminder() {
    if (counted_) --openWindows;
}

void Reminder::scheduleAlarm() {
    const std::int32_t interval = services_.settings.RepeatAlarmInterval;
    if (interval < 1) return;
    nextAlarm_ = addHundredths(services_.clock.current(), std::int64_t{interval} * kHundredthsPerSecond);
}

bool Reminder::timer() {
    if (services_.settings.RepeatAlarmInterval < 1) return false;
    // An interval switched on while the window was open starts counting now.
    if (nextAlarm_.date == 0) {
        scheduleAlarm();
        return false;
    }
    if (compareMoments(services_.clock.current(), nextAlarm_) <= 0) return false;
    const bool sounded = !soundFile_.empty() && platform::playAlarm(services_.sound, soundFile_);
    scheduleAlarm();
    return sounded;
}

std::int32_t Reminder::snooze() {
    store::Table& schedule = data::processTable<data::Schedule>();
    const data::TableUse use(schedule, services_.prompter);
    const Moment due = addHundredths(services_.clock.current(), kSnoozeTime);
    return data::addNumbered(schedule, services_.prompter, [&](void* record) {
        auto& entry = *static_cast<data::Schedule*>(record);
        store::clearRecord(data::Schedule::schema(), &entry);
        entry.MESSAGE = text_;
        entry.TASKTYPE = kDisplayMessage;
        entry.CATEGORY = kSnoozeCategory;
        entry.DESCRIPTION = title_;
        entry.SCHEDULETYPE = textOf(ScheduleType::Once);
        entry.DATE = due.date;
        entry.TIME = due.time;
        entry.SKIPIFMISSED = 1;
    });
}

bool Reminder::addToTodo() {
    store::Table& todo = data::processTable<data::Todo>();
    const data::TableUse use(todo, services_.prompter);
    auto& item = todo.rec<data::Todo>();
    store::clearRecord(todo.schema(), &item);
    item.DONE = 0;
    item.PRIORITY = 5;
    item.CATEGORY = "General";
    item.TODO = title_;
    item.NOTES = text_;
    if (todo.add() != store::kNoError) {
        data::standardWarning(services_.prompter, data::Warning::RecordInsertError);
        return false;
    }
    if (services_.todoAdded) services_.todoAdded();
    services_.prompter.message("Saved", "Added to To Do List:\r" + title_, Icon::Information, kOk, kOk);
    return true;
}

}  // namespace plorix::scheduler
