#pragma once
// What other programs may ask of a running scheduler about its tasks: add
// one, list them, forecast their coming runs, find one to run now. Changes
// are written as the windows write them, through a prompter that asks
// nobody: a warning refuses the request with the warning's text, a question
// takes its default answer.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "data/tables/schedule.h"
#include "runtime/date_time.h"

namespace plorix::app {

// A request that was refused, with why in one sentence.
class RequestRefused final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Field name (with or without "SCH:", any case) and its value as text.
using TaskFields = std::vector<std::pair<std::string, std::string>>;

// Adds a task numbered and primed as the schedule window adds one, with
// `fields` over the defaults; its identifier.
std::int32_t addTask(const TaskFields& fields);

struct TaskRow {
    std::int32_t id;
    std::string description;
    std::string due;  // "YYYY-MM-DD HH:MM:SS"
    std::string scheduleType;
};
std::vector<TaskRow> listTasks();

struct ForecastRow {
    std::int32_t id;
    std::string due;
    std::string description;
};
// The first `count` runs of the enabled tasks from `from`, in due order.
std::vector<ForecastRow> forecastRuns(Moment from, std::int64_t count);

// The task with that identifier; refused when there is none.
data::Schedule findTask(std::int32_t id);

}  // namespace plorix::app
