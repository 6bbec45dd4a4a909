#pragma once
// How the schedule windows reach what lies outside them: the user, the
// clock, running a task now, and the windows of other issues (script editor,
// holidays) when they exist.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "data/tables/schedule.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"

namespace plorix::ui {

struct ScheduleServices {
    Prompter& prompter;
    const Clock& clock;
    // Performs the entry once as the scheduler would; empty: not offered.
    std::function<void(const data::Schedule&)> runNow;
    // Opens the script items of a task; empty: "&Scripting" stays disabled.
    std::function<void(QWidget* parent, std::int32_t id)> scripting;
    // Opens the holidays; empty: "Define Holidays..." stays disabled.
    std::function<void(QWidget* parent)> holidays;
};

enum class ScheduleRequest { Add, Change, Delete };

// UPDATESCHEDULE: adds (from a cleared buffer when `entry` is null, else as
// a copy of it), changes or deletes one entry; whether the request was
// completed. `defaultDay` is the next run of a plain add (0: today).
bool updateSchedule(QWidget* parent, const ScheduleServices& services, ScheduleRequest request,
                    const data::Schedule* entry, Date defaultDay = 0);

}  // namespace plorix::ui
