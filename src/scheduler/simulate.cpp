#include "scheduler/simulate.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/scripting.h"
#include "log/event_log.h"
#include "platform/fake/fake_desktop.h"
#include "runtime/clock.h"
#include "runtime/fixed_text.h"
#include "scheduler/advance_warning.h"
#include "scheduler/moment.h"
#include "scheduler/reconnect_wait.h"
#include "scheduler/reminder.h"
#include "scheduler/frame_tick.h"
#include "scheduler/history.h"
#include "scheduler/tick_timeline.h"
#include "data/warnings.h"
#include "settings/settings.h"
#include "store/served_files.h"
#include "store/transaction.h"

namespace plorix::scheduler {
namespace {

using data::Schedule;
using Sink = std::function<void(const SimulationEvent&)>;

constexpr long long kRunsPerBatch = 200;

// Line ends inside a text would break the one-line-per-event output.
std::string oneLine(std::string_view text) {
    std::string line;
    for (char c : text) line += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
    return clip(line);
}

class Recorder {
public:
    Recorder(const ZonedClock& clock, bool withZone, const Sink& sink)
        : clock_(clock), withZone_(withZone), sink_(sink) {}
    void operator()(std::string_view kind, std::string detail) const {
        sink_({clock_.current(), std::string(kind), std::move(detail),
               withZone_ ? zoneNameAt(clock_.real()) : std::string()});
    }

private:
    const ZonedClock& clock_;
    bool withZone_;
    const Sink& sink_;
};

// The warnings by which a tick tells that a record could not be read or
// stored: what follows would no longer be what the program does, so the
// simulation ends there.
constexpr data::Warning kFailedFileWork[] = {
    data::Warning::ProcessPutError,         data::Warning::RecordInsertError,
    data::Warning::UpdateOperationError,    data::Warning::DeleteOperationError,
    data::Warning::FileAccessError,         data::Warning::FileCreationError,
    data::Warning::TransactionFramingError, data::Warning::RecordRetrievalError,
};

bool isFailedFileWork(std::string_view title) {
    if (title == kCannotRemoveHistory) return true;
    for (const data::Warning warning : kFailedFileWork) {
        const data::WarningDef* def = data::findWarning(warning);
        if (def && (title == def->title || (!def->altTitle.empty() && title == def->altTitle))) return true;
    }
    return false;
}

// Answers every question as the options say and records every box.
class SimulationPrompter final : public Prompter {
public:
    SimulationPrompter(const Recorder& record, int answer) : record_(record), answer_(answer) {}
    int message(std::string_view title, std::string_view text, Icon, ButtonSet buttons,
                int defaultButton) override {
        if (isFailedFileWork(title)) {
            if (failure_.empty()) failure_ = oneLine(title) + ": " + oneLine(text);
            return defaultButton == kNoButton ? kOk : defaultButton;
        }
        const bool question = (buttons & kYes) && (buttons & kNo);
        int answer = defaultButton == kNoButton ? kOk : defaultButton;
        if (question && answer_ != kNoButton) answer = answer_;
        std::string detail = oneLine(title) + ": " + oneLine(text);
        if (question) detail += answer == kYes ? " -> Yes" : " -> No";
        record_(title == kAdvancedWarning ? "warning" : question ? "question" : "message", detail);
        return answer;
    }
    std::unique_ptr<Progress> progress(std::string_view, std::string_view) override {
        return makeSilentProgress();
    }
    // The first failed read or write a tick told of; empty while none.
    const std::string& failure() const { return failure_; }
    // A failure that was waited out is no reason to stop.
    void forgetFailure() { failure_.clear(); }

private:
    const Recorder& record_;
    int answer_;
    std::string failure_;
};

// Installs the simulation's clock and log hook for the run's duration.
class ProcessScope {
public:
    ProcessScope(ZonedClock& clock, const Recorder& record) : previous_(&processClock()) {
        setProcessClock(&clock);
        log::eventLog().setHook([&record](const log::LogEntry& entry) {
            record("log", oneLine(entry.label) + ": " + oneLine(entry.text));
        });
    }
    ~ProcessScope() {
        log::eventLog().setHook({});
        setProcessClock(previous_);
    }
    ProcessScope(const ProcessScope&) = delete;
    ProcessScope& operator=(const ProcessScope&) = delete;

private:
    Clock* previous_;
};

SchedulerHooks recordingHooks(const Recorder& record) {
    SchedulerHooks hooks;
    hooks.showReminder = [&record](const ReminderHandOver& handOver, ReminderKind kind) {
        std::string detail = oneLine(handOver.title) + ": " + oneLine(handOver.text);
        if (kind == ReminderKind::WithReplyPath) detail += " [reply to " + handOver.replyAddress + "]";
        record("message", detail);
        // The window would log its "Message" line as it opens.
        logReminderShown(handOver);
    };
    hooks.startProgram = [&record](std::int32_t id, std::string_view command, std::string_view folder) {
        std::string detail = std::to_string(id) + " " + oneLine(command);
        if (!folder.empty()) detail += " [in " + oneLine(folder) + "]";
        record("run", detail);
    };
    hooks.firing = [&record](const Schedule& run) {
        record("fire", std::to_string(run.ID) + " " + run.DESCRIPTION.str());
    };
    hooks.historyAdded = [&record](const Schedule& history) {
        record("history", "added " + std::to_string(history.ID) + " " + history.DESCRIPTION.str());
    };
    hooks.historyRemoved = [&record](const Schedule& history) {
        record("history", "removed " + std::to_string(history.ID) + " " + history.DESCRIPTION.str());
    };
    return hooks;
}

// The first moment at which the warning check finds the entry's warning due.
Moment warningMoment(const Schedule& entry) {
    if (entry.ADVANCEWARNTIME >= kHundredthsPerDay) return {entry.ADVANCEWARNDATE + 1, kMidnight};
    return {entry.ADVANCEWARNDATE, std::max<Time>(entry.ADVANCEWARNTIME + 1, kMidnight)};
}

// The earliest moment from which a tick can find something to do: the next
// run, the next warning, the next daily history removal. Nullopt: never.
// A read that fails (not the end of the table) is written to `failure`,
// unless it is a lost connection and `uncertain` is given: then that is set
// and the caller steps by the period.
std::optional<Moment> nextWork(FrameTick& tick, FireContext& context, std::string& failure, bool* uncertain) {
    std::optional<Moment> earliest;
    auto consider = [&earliest](Moment moment) {
        if (!earliest || compareMoments(moment, *earliest) < 0) earliest = moment;
    };
    store::Table& schedule = context.schedule;
    const Schedule& entry = schedule.rec<Schedule>();
    const auto first = [&](int key) {
        const int code = readFirst(schedule, key);
        if (uncertain && store::connectionLost(schedule.error()))
            *uncertain = true;
        else if (code != store::kNoError && code != store::kRecordNotAvailable && failure.empty())
            failure = "cannot read " + schedule.schema().label + ": " + schedule.error().describe();
        return code == store::kNoError;
    };
    if (first(data::keys::Schedule::KEYDATEENABLED) && !entry.DISABLED) consider({entry.DATE, entry.TIME});
    if (first(data::keys::Schedule::KEYADVANCED) && !entry.ADVANCEWARNED && !trim(entry.SCHEDULETYPE).empty())
        consider(warningMoment(entry));
    if (context.settings.HistoryExpires > 0) consider({tick.lastHistoryRemoval() + 1, kMidnight});
    return earliest;
}

// The last real instant at which the wall clock reads `wall` or less: in a
// repeated hour the second pass, in a skipped one the instant before the
// change.
Instant lastInstantOf(Moment wall) {
    const WallInstants instants = instantsOf(wall);
    if (instants.count == 2) return instants.second;
    if (instants.count == 1) return instants.first;
    return dueInstant(wall) - 1;
}

// Whether the zone's offset from UTC changes between two instants, looked
// at once a day and at the end (no zone changes its clocks twice a day).
bool clocksChangeBetween(Instant from, Instant to) {
    constexpr Instant kDay = std::int64_t{kHundredthsPerDay};
    const auto offset = [](Instant at) {
        return hundredthsBetween(Moment{makeDate(1, 1, 1970), kMidnight}, wallClockAt(at)) - at;
    };
    const std::int64_t first = offset(from);
    for (Instant at = from + kDay; at < to; at += kDay)
        if (offset(at) != first) return true;
    return offset(to) != first;
}

}  // namespace

SimulationSummary simulate(const SimulationOptions& options, const Sink& sink) {
    SimulationSummary summary;
    const Instant start = dueInstant(options.from);
    const Instant end = lastInstantOf(options.to);
    ZonedClock clock(start);
    // Waiting out lost connections, a tick's events wait for its commit.
    const bool waits = options.reconnectWaitMs > 0;
    std::vector<SimulationEvent> held;
    const Sink holding = [&](const SimulationEvent& event) {
        if (waits)
            held.push_back(event);
        else
            sink(event);
    };
    const Recorder record(clock, clocksChangeBetween(start, end), holding);
    SimulationPrompter prompter(record, options.answer);
    const ProcessScope scope(clock, record);
    const data::TableUse schedule(data::processTable<Schedule>(), prompter);
    const data::TableUse scripting(data::processTable<data::Scripting>(), prompter);
    platform::FakeSound sound;
    FireContext context{clock,
                        prompter,
                        settings::settings(),
                        schedule.table(),
                        scripting.table(),
                        sound,
                        recordingHooks(record)};
    FrameTick tick(context);
    tick.state().active = true;

    // The writes of many runs go to the file together: one transaction per
    // run would spend the simulation waiting for the disk. Batches stay
    // short so that a program using the same file is not kept waiting.
    store::Table& table = schedule.table();
    const auto cannotWrite = [&table](const store::Transaction& batch) {
        return "cannot write to " + table.schema().label + ": " + batch.error().describe();
    };
    ReconnectWait reconnect(options.reconnectWaitMs, options.interrupted);
    std::optional<store::Transaction> batch;
    long long pending = 0;  // runs performed in the batch
    while (clock.real() <= end) {
        if (!batch) batch.emplace(table);
        if (!batch->ok()) {
            if (reconnect.retry(batch->error(), summary.reconnects)) {
                batch.reset();
                continue;
            }
            summary.failure = cannotWrite(*batch);
            return summary;
        }
        const TickReport report = tick.tick();
        if (reconnect.retry(report.failure, summary.reconnects)) {
            // The tick is undone with its batch and runs again.
            held.clear();
            prompter.forgetFailure();
            batch.reset();
            continue;
        }
        ++summary.ticks;
        if (!prompter.failure().empty()) {
            // What this tick wrote before the failure is not kept either:
            // the program would not have gone on from there.
            summary.failure = prompter.failure();
            return summary;
        }
        if (report.fired && report.fired->outcome == FireOutcome::Performed) ++pending;
        if (waits || pending >= kRunsPerBatch) {
            if (batch->commit() != store::kNoError) {
                if (reconnect.retry(batch->error(), summary.reconnects)) {
                    --summary.ticks;
                    held.clear();
                    pending = 0;
                    batch.reset();
                    continue;
                }
                summary.failure = cannotWrite(*batch);
                return summary;
            }
            batch.reset();
            summary.fired += pending;
            pending = 0;
            for (const SimulationEvent& event : held) sink(event);
            held.clear();
        }
        reconnect.restored();
        if (options.interrupted && options.interrupted()) {
            summary.interrupted = true;
            break;
        }
        const std::int64_t period = tick.state().timerPeriod;
        std::int64_t step = period;
        if (options.skipIdle) {
            // The first tick at or after the next work, on the ticks' own beat.
            bool uncertain = false;
            const std::optional<Moment> work =
                nextWork(tick, context, summary.failure, waits ? &uncertain : nullptr);
            if (!summary.failure.empty()) return summary;
            const Instant target = work ? std::min(dueInstant(*work), end + 1) : end + 1;
            const std::int64_t gap = target - clock.real();
            if (gap > period && !uncertain) step = (gap + period - 1) / period * period;
        }
        clock.advance(step);
    }
    if (batch && batch->ok() && batch->commit() != store::kNoError) summary.failure = cannotWrite(*batch);
    summary.fired += pending;
    return summary;
}

std::string isoMoment(Moment moment) {
    const Moment m = moment.time > 0 ? normalise(moment) : Moment{moment.date, kMidnight};
    const CivilDate date = civilFromDate(m.date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day,
                  hoursOf(m.time), minutesOf(m.time), secondsOf(m.time));
    return text;
}

std::optional<Moment> parseIsoMoment(std::string_view text) {
    int year = 0, month = 0, day = 0, hours = 0, minutes = 0, seconds = 0;
    char separator = 0;
    int consumed = 0;
    const std::string copy(text);
    const int fields = std::sscanf(copy.c_str(), "%4d-%2d-%2d%n%c%2d:%2d%n:%2d%n", &year, &month, &day,
                                   &consumed, &separator, &hours, &minutes, &consumed, &seconds, &consumed);
    if (fields != 3 && fields != 6 && fields != 7) return std::nullopt;
    if (fields > 3 && separator != 'T' && separator != ' ') return std::nullopt;
    if (static_cast<std::size_t>(consumed) != copy.size()) return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(month, year)) return std::nullopt;
    const Date date = makeDate(month, day, year);
    const Time time = hours <= 23 && minutes <= 59 && seconds <= 59 ? makeTime(hours, minutes, seconds) : 0;
    if (date == 0 || time == 0) return std::nullopt;
    return Moment{date, time};
}

}  // namespace plorix::scheduler
