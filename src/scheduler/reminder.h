#pragma once
// The reminder windows' logic, without the windows: how a fired message is
// shown (a window, an on-top window, a plain box, or the external message
// program), the count of open reminder windows, the repeated alarm, and the
// buttons Snooze, Add to To Do List and Reply.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/sound.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "scheduler/fire_context.h"
#include "settings/settings.h"

namespace plorix::scheduler {

inline constexpr std::string_view kExternalMessageProgram = "PXMsg.EXE";
inline constexpr std::string_view kMessageLabel = "Message";
inline constexpr std::string_view kSnoozeCategory = "Snooze";
inline constexpr std::int64_t kSnoozeTime = 10 * kHundredthsPerMinute;

// The program-wide count of open ordinary reminder windows.
int openReminderWindows();

// How SHOWMESSAGE presents a hand-over.
enum class ReminderDisplay {
    PlainBox,  // "UseWinMessage": a message box, already shown
    External,  // "UseExternalMessage": the external message program, already started
    OnTop,     // "UseModalMessage": a free window on top of all others
    Window,    // an ordinary window inside the frame, counted while open
};

struct ReminderServices {
    const Clock& clock;
    Prompter& prompter;
    const settings::Settings& settings;
    platform::Sound& sound;
    // The program starter (identifier 0: no script is queued).
    std::function<void(std::int32_t id, std::string_view command, std::string_view folder)> startProgram;
    // Told when an item was added to the to-do list (may be empty).
    std::function<void()> todoAdded;
};

// The event-log line of a reminder being shown ("Message": title and sound).
void logReminderShown(const ReminderHandOver& handOver);

// The command line that shows a message through the external program. A
// double quote in the text is kept by quoting it in single quotes.
std::string externalMessageCommand(std::string_view text);

// SHOWMESSAGE up to the window: logs the message, then shows it in a plain
// box or through the external program when the settings say so; otherwise
// says which window to open.
ReminderDisplay showMessage(const ReminderHandOver& handOver, ReminderServices& services);
// SHOWMESSAGEWITHREPLYPATH up to the window: logs the message.
void showMessageWithReplyPath(const ReminderHandOver& handOver, ReminderServices& services);

// One open reminder window: its own copy of the hand-over and the moment of
// its next alarm. An ordinary window is counted from construction to
// destruction.
class Reminder {
public:
    Reminder(const ReminderHandOver& handOver, ReminderDisplay display, ReminderServices& services);
    ~Reminder();
    Reminder(const Reminder&) = delete;
    Reminder& operator=(const Reminder&) = delete;

    const std::string& title() const { return title_; }
    const std::string& text() const { return text_; }
    const std::string& soundFile() const { return soundFile_; }
    const std::string& replyAddress() const { return replyAddress_; }
    Moment nextAlarm() const { return nextAlarm_; }

    // The window's timer: repeats the alarm once its moment has passed.
    // True when the alarm sounded.
    bool timer();
    // Adds the "Snooze" entry, due in ten minutes; the window closes then.
    // The new entry's identifier, 0 when it could not be added.
    std::int32_t snooze();
    // Adds a to-do item with the reminder's title and text and says so; the
    // window stays open. False when it could not be added.
    bool addToTodo();

private:
    void scheduleAlarm();

    ReminderServices& services_;
    std::string title_;
    std::string text_;
    std::string soundFile_;
    std::string replyAddress_;
    Moment nextAlarm_;
    bool counted_;
};

}  // namespace plorix::scheduler
