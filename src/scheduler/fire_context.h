#pragma once
// What firing, advance warnings and history removal reach besides the
// schedule entry itself: the clock, the user, the settings, the tables, the
// alarm sound, and the windows and script engine above this layer, which the
// program reaches through hooks it fills in (tests and the simulator record).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "store/store.h"
#include "data/field_choices.h"
#include "data/tables/schedule.h"
#include "platform/sound.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "settings/settings.h"

namespace plorix::scheduler {

// The values a new reminder window starts from, copied into the window when
// it opens (the frame never shares them with a running window).
struct ReminderHandOver {
    std::string title;         // the task's description (40)
    std::string text;          // the message (1024)
    std::string soundFile;     // the alarm file when the task sounds one, else blank (255)
    std::string replyAddress;  // the folder a reply goes to, blank for none (255)
};

enum class ReminderKind {
    Message,        // the ordinary reminder
    WithReplyPath,  // the on-top reminder with a Reply button
};

struct SchedulerHooks {
    // Opens a reminder window for the hand-over.
    std::function<void(const ReminderHandOver&, ReminderKind)> showReminder;
    // How many ordinary reminder windows are open; empty: none.
    std::function<int()> openReminders;
    // Starts a task's program and queues its script (identifier 0: the
    // program alone).
    std::function<void(std::int32_t id, std::string_view command, std::string_view folder)> startProgram;
    // Whether the script queue holds items; empty: never.
    std::function<bool()> scriptQueued;
    // Brings the frame out of the tray or its iconized state before a task
    // shows itself.
    std::function<void()> bringFrameBack;
    // Deletes a task's script items with a progress window (history removal
    // with SaveScripts); empty: deleted in one batch without one.
    std::function<void(std::int32_t id)> deleteScript;

    // Observers (all optional): a run claimed and about to be performed; a
    // history record added, or removed by the daily removal.
    std::function<void(const data::Schedule& run)> firing;
    std::function<void(const data::Schedule& record)> historyAdded;
    std::function<void(const data::Schedule& record)> historyRemoved;
};

// The Schedule and Scripting tables must be open for as long as the context
// is used; the Holidays table is opened when an entry excepts holidays.
struct FireContext {
    const Clock& clock;
    Prompter& prompter;
    const settings::Settings& settings;
    store::Table& schedule;
    store::Table& scripting;
    platform::Sound& sound;
    SchedulerHooks hooks;
};

// The first record of a key (the first in its order), into the buffer;
// the store's code (33 when the key holds none).
int readFirst(store::Table& table, int key);

// The task types that decide what a run shows and starts.
inline constexpr std::string_view kDisplayMessage = data::kTaskDisplayMessage;
inline constexpr std::string_view kRunProgram = data::kTaskRunProgram;
inline constexpr std::string_view kBoth = data::kTaskBoth;

bool showsMessage(const data::Schedule& entry);
bool runsProgram(const data::Schedule& entry);

}  // namespace plorix::scheduler
