#pragma once
// Laying a script out in time as it enters the queue: plain items follow one
// another ScriptingDelay apart, a "Wait" with "And" (or blank) advances the
// schedule by its seconds, the tests and "...End If" cost no time, and an
// "If Time Elapsed..." item gets its deadline, measured from the script's
// start.

#include <cstdint>

#include "data/tables/scripting.h"
#include "runtime/clock.h"
#include "script/script_queue.h"
#include "settings/settings.h"

namespace plorix::script {

// ScriptingDelay in hundredths, raised to the least spacing of 50.
std::int32_t scriptingDelay(const settings::Settings& settings);

// Whether a "Wait" item waits with "Or" (its seconds are a limit, not a pause).
bool isOrWait(const data::Scripting& item);

class QueueLayout {
public:
    // The start is the present plus two delays or, when the item the script
    // is to follow (the queue's last item, or none) lies beyond that, one
    // delay after that item.
    QueueLayout(const Clock& clock, std::int32_t delay, const QueueItem* after);

    // A queued copy of `item`, stamped with its due moment; `programHandle`
    // goes to SQ:PROGRAMHANDLE.
    QueueItem place(const data::Scripting& item, std::int32_t programHandle);
    // The "**End**" marker at the current running moment.
    QueueItem endMarker(std::int32_t programHandle = 0) const;

    std::int64_t start() const { return start_; }
    std::int64_t running() const { return running_; }

private:
    QueueItem stamped(QueueItem item) const;
    std::int32_t delay_;
    std::int64_t steadyNow_;
    Moment wallNow_;
    std::int64_t start_;
    std::int64_t running_;
};

}  // namespace plorix::script
