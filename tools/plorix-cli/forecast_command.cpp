// forecast: the coming runs of the enabled tasks, merged in time order, as
// firing would make them. The data file is only read.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <map>
#include <tuple>

#include "data/data_file.h"
#include "cli.h"
#include "data/tables/holidays.h"
#include "data/tables/schedule.h"
#include "runtime/clock.h"
#include "runtime/file_names.h"
#include "scheduler/forecast.h"
#include "scheduler/moment.h"
#include "scheduler/schedule_kinds.h"
#include "scheduler/simulate.h"
#include "scheduler/stored_holidays.h"

namespace plorix::cli {
namespace {

using data::Schedule;
using scheduler::compareMoments;
using scheduler::Occurrence;

constexpr std::string_view kUsage = "usage: forecast [--from YYYY-MM-DD[THH:MM[:SS]]] [--count N] [--id ID]";
// Runs looked at per task when numbering one-off copies; a task repeating
// every minute reaches a year ahead with room to spare.
constexpr int kMostRunsPerTask = 1 << 20;

std::int32_t numberArgument(const std::string& text, std::int32_t least) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least)
        throw UsageError("'" + text + "' is not a number of at least " + std::to_string(least));
    return value;
}

struct Request {
    Moment from;
    int count = 10;
    std::int32_t id = 0;  // 0: every task
};

Request parseRequest(const Args& args) {
    Request request;
    request.from = processClock().current();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--from" && hasValue) {
            const auto moment = scheduler::parseIsoMoment(args[++i]);
            if (!moment) throw UsageError("'" + args[i] + "' is not a moment (YYYY-MM-DD[THH:MM[:SS]])");
            request.from = *moment;
        } else if (args[i] == "--count" && hasValue) {
            request.count = numberArgument(args[++i], 1);
        } else if (args[i] == "--id" && hasValue) {
            request.id = numberArgument(args[++i], 1);
        } else {
            throw UsageError(std::string(kUsage));
        }
    }
    return request;
}

struct Task {
    Schedule entry;
};

// The task's runs at or after `from` until `enough` says stop, doubling the
// number asked for as long as the forecast can give more.
std::vector<Occurrence> runsOf(const Schedule& entry, const Request& request,
                               const scheduler::HolidayCalendar& holidays,
                               const std::function<bool(const std::vector<Occurrence>&)>& enough) {
    for (int asked = request.count;; asked *= 2) {
        std::vector<Occurrence> runs = scheduler::forecast(entry, request.from, asked, holidays);
        if (static_cast<int>(runs.size()) < asked || asked >= kMostRunsPerTask || enough(runs)) return runs;
    }
}

// When a run fires: at once when it is already due, else at its moment.
Moment firesAt(const Occurrence& run, Moment from) { return run.late ? from : run.due; }

// The identifiers firing gives the one-off copies among `printed`: every
// firing until the last of them adds its copy first, then its history
// record, each under the next identifier.
std::map<std::pair<std::int32_t, Moment>, std::int32_t> copyNumbers(
    const std::vector<Task>& tasks, const std::vector<std::pair<std::int32_t, Occurrence>>& printed,
    const Request& request, const scheduler::HolidayCalendar& holidays, std::int32_t lastId) {
    std::map<std::pair<std::int32_t, Moment>, std::int32_t> numbers;
    std::optional<Moment> horizon;
    for (const auto& [id, run] : printed)
        if (run.oneOff && (!horizon || compareMoments(run.madeAt, *horizon) > 0)) horizon = run.madeAt;
    if (!horizon) return numbers;

    // (moment, task order, copy first) -> what it numbers
    struct Numbered {
        Moment when;
        std::size_t task;
        int order;  // 0: a copy, 1: a history record
        Moment copyMadeAt;
    };
    std::vector<Numbered> steps;
    for (std::size_t t = 0; t < tasks.size(); ++t) {
        const Schedule& entry = tasks[t].entry;
        const std::vector<Occurrence> runs = runsOf(entry, request, holidays, [&](const std::vector<Occurrence>& runs) {
            return compareMoments(firesAt(runs.back(), request.from), *horizon) > 0;
        });
        const bool keepsHistory =
            !entry.NOHISTORY && scheduler::scheduleTypeOf(entry.SCHEDULETYPE) != scheduler::ScheduleType::Once;
        for (const Occurrence& run : runs) {
            if (run.oneOff) {
                if (compareMoments(run.madeAt, *horizon) <= 0) steps.push_back({run.madeAt, t, 0, run.madeAt});
            } else if (keepsHistory && compareMoments(firesAt(run, request.from), *horizon) <= 0) {
                steps.push_back({firesAt(run, request.from), t, 1, {}});
            }
        }
    }
    std::stable_sort(steps.begin(), steps.end(), [](const Numbered& a, const Numbered& b) {
        return std::tie(a.when, a.task, a.order) < std::tie(b.when, b.task, b.order);
    });
    std::int32_t next = lastId;
    for (const Numbered& step : steps) {
        ++next;
        if (step.order == 0) numbers[{tasks[step.task].entry.ID, step.copyMadeAt}] = next;
    }
    return numbers;
}

// False when the data file holds no such table.
bool openForReading(store::Table& table) {
    const int code = table.open(store::kReadOnlyDenyNone);
    if (code == store::kFileNotFound) return false;
    if (code != store::kNoError) storeFailure(table, "opening " + table.schema().label);
    return true;
}

}  // namespace

int cmdForecast(const Args& args, Prompter&) {
    const Request request = parseRequest(args);
    if (!std::filesystem::exists(findFileNoCase(data::kDataFileName)))
        throw UsageError("no data file in this folder");

    // Opened for reading only and without the open routine, which would
    // create a table the file lacks.
    store::Table schedule(Schedule::schema());
    store::Table holidayTable(data::Holidays::schema());
    scheduler::HolidaySet holidays;
    if (openForReading(holidayTable)) holidays = scheduler::readHolidaySet(holidayTable);
    if (!openForReading(schedule)) return 0;

    std::vector<Task> tasks;
    std::int32_t lastId = 0;
    bool found = request.id == 0;
    schedule.setStart(data::keys::Schedule::KEYID);
    while (schedule.next() == store::kNoError) {
        const Schedule& entry = schedule.rec<Schedule>();
        lastId = std::max(lastId, entry.ID);
        found = found || entry.ID == request.id;
        if (!entry.DISABLED && !entry.COMPLETED) tasks.push_back({entry});
    }
    if (!found) throw UsageError("no task with identifier " + std::to_string(request.id));

    std::vector<std::pair<std::int32_t, Occurrence>> printed;
    const auto count = static_cast<std::ptrdiff_t>(request.count);
    for (const Task& task : tasks) {
        if (request.id != 0 && task.entry.ID != request.id) continue;
        // A run already due when the forecast starts fires at once; it is
        // not one of the coming runs.
        const auto coming = [](const Occurrence& run) { return !run.late; };
        std::ptrdiff_t taken = 0;
        for (const Occurrence& run : runsOf(task.entry, request, holidays, [&](const std::vector<Occurrence>& runs) {
                 return std::count_if(runs.begin(), runs.end(), coming) >= count;
             })) {
            if (!coming(run)) continue;
            if (taken++ == count) break;
            printed.push_back({task.entry.ID, run});
        }
    }

    const auto copies = copyNumbers(tasks, printed, request, holidays, lastId);
    std::stable_sort(printed.begin(), printed.end(), [](const auto& a, const auto& b) {
        return compareMoments(a.second.due, b.second.due) < 0;
    });
    std::map<std::int32_t, std::string> descriptions;
    for (const Task& task : tasks) descriptions[task.entry.ID] = task.entry.DESCRIPTION.str();
    for (const auto& [id, run] : printed) {
        const std::int32_t shown = run.oneOff ? copies.at({id, run.madeAt}) : id;
        std::cout << shown << '\t' << scheduler::isoMoment(run.due) << '\t' << descriptions[id];
        if (run.skipped) std::cout << "\tskip";
        std::cout << '\n';
    }
    return 0;
}

}  // namespace plorix::cli
