#pragma once
// Opening the reminder of a fired task, as the frame's reminder hook does:
// a plain box, the external message program or one of the reminder windows,
// as the settings say.

#include "messages/reminder_window.h"
#include "scheduler/fire_context.h"

namespace plorix::messages {

// SHOWMESSAGE or SHOWMESSAGEWITHREPLYPATH for the hand-over, at once. The
// window opened (shown), or nullptr when the settings sent the message to a
// plain box, to the external program, or showed it elsewhere.
ReminderWindow* showReminder(const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind,
                             const ReminderContext& context);

// The same once control is back in the event loop. The frame's tick calls
// this: a reminder stands beside the scheduler and never holds up the tick
// that fired it, not even as a plain box.
void postReminder(const scheduler::ReminderHandOver& handOver, scheduler::ReminderKind kind,
                  const ReminderContext& context);

}  // namespace plorix::messages
