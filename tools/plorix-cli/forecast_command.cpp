// forecast: the coming runs of the enabled tasks, merged in time order, as
// firing would make them. The data file is only read. Runs are computed as
// they are printed, so a forecast of millions of runs needs no more memory
// than one of ten.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <limits>
#include <map>
#include <tuple>

#include "cli.h"
#include "data/data_file.h"
#include "data/served_data.h"
#include "data/tables/holidays.h"
#include "data/tables/schedule.h"
#include "io/json_line.h"
#include "runtime/clock.h"
#include "runtime/file_names.h"
#include "scheduler/forecast.h"
#include "scheduler/moment.h"
#include "scheduler/schedule_kinds.h"
#include "scheduler/simulate.h"
#include "scheduler/stored_holidays.h"
#include "scheduler/tick_timeline.h"

namespace plorix::cli {
namespace {

using data::Schedule;
using scheduler::compareMoments;
using scheduler::Occurrence;

constexpr std::string_view kUsage =
    "usage: forecast [--from YYYY-MM-DD[THH:MM[:SS]]] [--count N] [--id ID] [--json]";
constexpr std::int64_t kMostIdentifier = std::numeric_limits<std::int32_t>::max();

struct Request {
    Moment from;
    std::int64_t count = 10;  // per task
    std::int32_t id = 0;      // 0: every task
    bool json = false;
};

Request parseRequest(const Args& arguments) {
    Request request;
    Args args = arguments;
    request.json = takeFlag(args, "--json");
    request.from = processClock().current();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--from" && hasValue) {
            const auto moment = scheduler::parseIsoMoment(args[++i]);
            if (!moment) throw UsageError("'" + args[i] + "' is not a moment (YYYY-MM-DD[THH:MM[:SS]])");
            request.from = *moment;
        } else if (args[i] == "--count" && hasValue) {
            request.count = wholeNumber("--count", args[++i], 1, std::numeric_limits<std::int64_t>::max());
        } else if (args[i] == "--id" && hasValue) {
            request.id = static_cast<std::int32_t>(wholeNumber("--id", args[++i], 1, kMostIdentifier));
        } else {
            throw UsageError(std::string(kUsage));
        }
    }
    return request;
}

struct Task {
    Schedule entry;
    bool keepsHistory = false;
};

// The identifiers firing gives the one-off copies: every firing adds its
// copy first, then its history record, each under the next identifier, in
// the order (moment, task, copy before history) over all tasks. Numbered as
// far as the copies printed need, by a merge over the tasks' firings.
class CopyNumbers {
public:
    CopyNumbers(const std::vector<Task>& tasks, Moment from, const scheduler::HolidayCalendar& holidays,
                std::int32_t lastId)
        : tasks_(tasks), next_(lastId) {
        cursors_.reserve(tasks.size());
        for (std::size_t t = 0; t < tasks.size(); ++t) {
            cursors_.push_back({scheduler::Firings(tasks[t].entry, from, holidays), {}});
            pushNext(t);
        }
    }

    std::int32_t numberOf(std::size_t task, Moment madeAt) {
        const std::pair key{task, madeAt};
        while (!numbered_.contains(key) && !heap_.empty()) {
            std::pop_heap(heap_.begin(), heap_.end(), later);
            const Event event = heap_.back();
            heap_.pop_back();
            ++next_;
            if (event.copy) numbered_[{event.task, event.when}] = next_;
            pushNext(event.task);
        }
        const auto found = numbered_.find(key);
        if (found == numbered_.end()) return 0;
        const std::int32_t number = found->second;
        numbered_.erase(found);
        return number;
    }

private:
    struct Event {
        Moment when;
        std::size_t task;
        bool copy;
    };
    struct Cursor {
        scheduler::Firings firings;
        std::vector<Event> pending;  // the rest of the current firing, next last
    };
    static bool later(const Event& a, const Event& b) {
        return std::tuple(a.when, a.task, !a.copy) > std::tuple(b.when, b.task, !b.copy);
    }
    void pushNext(std::size_t task) {
        Cursor& cursor = cursors_[task];
        while (cursor.pending.empty()) {
            const auto step = cursor.firings.next();
            if (!step) return;
            if (tasks_[task].keepsHistory) cursor.pending.push_back({step->firedAt, task, false});
            if (step->copy) cursor.pending.push_back({step->firedAt, task, true});
        }
        heap_.push_back(cursor.pending.back());
        cursor.pending.pop_back();
        std::push_heap(heap_.begin(), heap_.end(), later);
    }

    const std::vector<Task>& tasks_;
    std::vector<Cursor> cursors_;
    std::vector<Event> heap_;  // each task's next firing event, earliest on top
    std::map<std::pair<std::size_t, Moment>, std::int32_t> numbered_;
    std::int32_t next_;
};

// The coming runs of the chosen tasks, `count` per task, merged in due
// order (tasks in identifier order where moments are equal).
class ComingRuns {
public:
    ComingRuns(const std::vector<Task>& tasks, const Request& request,
               const scheduler::HolidayCalendar& holidays) {
        for (std::size_t t = 0; t < tasks.size(); ++t) {
            if (request.id != 0 && tasks[t].entry.ID != request.id) continue;
            streams_.push_back(
                {scheduler::RunStream(tasks[t].entry, request.from, holidays), t, request.count});
            pushNext(streams_.size() - 1);
        }
    }
    // The next run and its task's index; nullopt when every task is done.
    std::optional<std::pair<Occurrence, std::size_t>> next() {
        if (heap_.empty()) return std::nullopt;
        std::pop_heap(heap_.begin(), heap_.end(), later);
        const Head head = heap_.back();
        heap_.pop_back();
        pushNext(head.stream);
        return std::pair{head.run, streams_[head.stream].task};
    }

private:
    struct Stream {
        scheduler::RunStream runs;
        std::size_t task;
        std::int64_t left;
    };
    struct Head {
        Occurrence run;
        std::size_t stream;
    };
    static bool later(const Head& a, const Head& b) {
        const int order = compareMoments(a.run.due, b.run.due);
        return order != 0 ? order > 0 : a.stream > b.stream;
    }
    void pushNext(std::size_t index) {
        Stream& stream = streams_[index];
        if (stream.left == 0) return;
        // A run already due when the forecast starts fires at once; it is
        // not one of the coming runs.
        std::optional<Occurrence> run;
        do run = stream.runs.next();
        while (run && run->late);
        if (!run) return;
        --stream.left;
        heap_.push_back({*run, index});
        std::push_heap(heap_.begin(), heap_.end(), later);
    }

    std::vector<Stream> streams_;
    std::vector<Head> heap_;
};

// A run stored for a wall-clock moment that a daylight-saving change skips
// fires when the clock has passed it: that moment, or empty.
std::string skippedHourFiring(Moment due) {
    if (scheduler::instantsOf(due).count != 0) return {};
    return scheduler::isoMoment(wallClockAt(scheduler::dueInstant(due)));
}

void printRun(const Request& request, std::int32_t id, const Occurrence& run, const Schedule& entry) {
    const std::string firesAt = skippedHourFiring(run.due);
    if (request.json) {
        io::JsonLineWriter line;
        line.number("SCH:ID", id);
        line.text("due", scheduler::isoMoment(run.due));
        line.text("SCH:DESCRIPTION", entry.DESCRIPTION.str());
        line.flag("skip", run.skipped);
        if (!firesAt.empty()) line.text("firesAt", firesAt);
        std::cout << line.line() << '\n';
        return;
    }
    std::cout << id << '\t' << scheduler::isoMoment(run.due) << '\t' << entry.DESCRIPTION.str();
    if (run.skipped) std::cout << "\tskip";
    if (!firesAt.empty()) std::cout << "\tin a skipped hour: fires at " << firesAt;
    std::cout << '\n';
}

// False when the data file holds no such table.
bool openForReading(store::Table& table) {
    const int code = table.open(store::kReadOnlyDenyNone);
    if (code == store::kFileNotFound) return false;
    if (code != store::kNoError) storeFailure(table, "opening " + table.schema().label);
    return true;
}

[[noreturn]] void readFailure(const store::Table& table) {
    throw WorkFailure("cannot read " + table.schema().label + ": " + table.error().describe());
}

}  // namespace

int cmdForecast(const Args& args, Prompter&) {
    const Request request = parseRequest(args);
    if (!data::hasDataFile()) throw UsageError("no data file in this folder");

    // Opened for reading only and without the open routine, which would
    // create a table the file lacks.
    store::Table schedule(Schedule::schema());
    store::Table holidayTable(data::Holidays::schema());
    scheduler::HolidaySet holidays;
    if (openForReading(holidayTable)) {
        int code = store::kNoError;
        holidays = scheduler::readHolidaySet(holidayTable, &code);
        if (code != store::kNoError) readFailure(holidayTable);
    }
    if (!openForReading(schedule)) return 0;

    std::vector<Task> tasks;
    std::int32_t lastId = 0;
    bool found = request.id == 0;
    schedule.setStart(data::keys::Schedule::KEYID);
    int code;
    while ((code = schedule.next()) == store::kNoError) {
        const Schedule& entry = schedule.rec<Schedule>();
        lastId = std::max(lastId, entry.ID);
        found = found || entry.ID == request.id;
        const bool keepsHistory = !entry.NOHISTORY && scheduler::scheduleTypeOf(entry.SCHEDULETYPE) !=
                                                          scheduler::ScheduleType::Once;
        if (!entry.DISABLED && !entry.COMPLETED) tasks.push_back({entry, keepsHistory});
    }
    if (code != store::kRecordNotAvailable) readFailure(schedule);
    if (!found) throw UsageError("no task with identifier " + std::to_string(request.id));

    CopyNumbers copies(tasks, request.from, holidays, lastId);
    ComingRuns runs(tasks, request, holidays);
    while (const auto next = runs.next()) {
        const auto& [run, task] = *next;
        const Schedule& entry = tasks[task].entry;
        printRun(request, run.oneOff ? copies.numberOf(task, run.madeAt) : entry.ID, run, entry);
    }
    return 0;
}

}  // namespace plorix::cli
