// The scheduler's own figures, each beside a baseline measured in the same run:
//   - one idle tick's schedule check and advance-warning check on a data file
//     of 100,000 entries, half of them history, against the two raw SQLCipher
//     look-ups they stand for (the same statements, every column copied out);
//   - the tick's look whether the schedule changed, after a write, on the same
//     file, against a raw read of every row;
//   - the forecast of 365 runs of each of 1,000 recurring tasks of every kind,
//     against the advance step alone taking the same number of steps;
//   - simulating 30 days with 1,000 tasks, against the raw writes of the same
//     number of runs (the entry moved on, a history record added), batched alike.

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "data/open_routine.h"
#include "data/process_tables.h"
#include "store/table_layout.h"
#include "store/table_sql.h"
#include "data/table_watch.h"
#include "data/tables.h"
#include "platform/fake/fake_desktop.h"
#include "scheduler/advance_warning.h"
#include "scheduler/forecast.h"
#include "scheduler/moment.h"
#include "scheduler/recurrence.h"
#include "scheduler/simulate.h"
#include "scheduler/frame_tick.h"
#include "settings/settings.h"

#include "bench_tasks.h"
#include "raw_connection.h"

namespace {

namespace fs = std::filesystem;
using namespace plorix;
using bench::Raw;
using data::Schedule;

constexpr int kEntries = 100000;
constexpr int kTasks = 1000;
constexpr long long kRunsPerBatch = 200;  // as the simulator batches its writes
const Moment kStart{makeDate(5, 1, 2024), makeTime(8, 0)};

// A folder of the bench's own for each data file, made the working
// directory while that file is used.
fs::path folder(const std::string& name) {
    static const fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "plorix-bench-tick-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        return fs::path(pattern);
    }();
    fs::create_directories(root / name);
    return root / name;
}

void enter(const std::string& name) {
    data::resetProcessTables();
    data::resetUseCounts();
    fs::current_path(folder(name));
}

Schedule task(int i) { return bench::mixedTask(i, kStart); }

void fillSchedule(const std::function<Schedule(int)>& make, int count) {
    SilentPrompter prompter;
    data::TableUse use(data::processTable<Schedule>(), prompter);
    data::TableUse scripting(data::processTable<data::Scripting>(), prompter);
    if (use->records() == count) return;
    const auto check = [&](int code) {
        if (code != store::kNoError) throw std::runtime_error(use->error().describe());
    };
    check(use->empty());
    check(use->stream());
    for (int i = 0; i < count; ++i) {
        use->rec<Schedule>() = make(i);
        check(use->add());
    }
    check(use->flush());
}

// 100,000 entries: the even ones history records of past runs (warned), the
// odd ones tasks due from tomorrow on, every tenth with a warning ahead.
Schedule idleEntry(int i) {
    Schedule entry = task(i % kTasks);
    entry.ID = i + 1;
    if (i % 2 == 0) {
        entry.DISABLED = entry.COMPLETED = 1;
        entry.DATE = kStart.date - 1 - i % 300;
        entry.ADVANCEWARNDATE = entry.DATE;
        entry.ADVANCEWARNTIME = makeTime(7, 0);
        entry.ADVANCEWARNED = 1;
    } else {
        entry.DATE = kStart.date + 1 + i % 300;
        if (i % 10 == 1) {
            entry.ADVANCEWARNDATE = entry.DATE;
            entry.ADVANCEWARNTIME = makeTime(7, 0);
        }
    }
    return entry;
}

// What a tick works with: the tables open, a clock standing at the start.
struct IdleFile {
    IdleFile() {
        enter("idle");
        fillSchedule(idleEntry, kEntries);
    }
};

struct TickRig {
    IdleFile file;  // first: the tables below open in its folder
    ManualClock clock{kStart};
    SilentPrompter prompter;
    settings::Settings settings;
    platform::FakeSound sound;
    data::TableUse schedule{data::processTable<Schedule>(), prompter};
    data::TableUse scripting{data::processTable<data::Scripting>(), prompter};
    scheduler::FireContext context{clock, prompter, settings, schedule.table(), scripting.table(), sound, {}};
};

void BM_IdleChecks_Plorix(benchmark::State& state) {
    TickRig rig;
    const Schedule& entry = rig.schedule->rec<Schedule>();
    for (auto _ : state) {
        // The schedule check's read and comparison, then the warning check.
        if (scheduler::readFirst(rig.schedule.table(), data::keys::Schedule::KEYDATEENABLED) !=
                store::kNoError ||
            scheduler::compareMoments(rig.clock.current(), {entry.DATE, entry.TIME}) >= 0)
            state.SkipWithError("an entry is due");
        if (scheduler::checkAdvanceWarning(rig.context)) state.SkipWithError("a warning is due");
    }
}

void BM_IdleTick_Plorix(benchmark::State& state) {
    TickRig rig;
    scheduler::FrameTick tick(rig.context, {.watchSchedule = true});
    for (auto _ : state) {
        const scheduler::TickReport report = tick.tick();
        if (report.fired || report.warned) state.SkipWithError("the tick was not idle");
    }
}

// Copies every column of the row out, as reading it into a buffer would.
struct RowCopy {
    std::vector<std::string> texts;
    std::vector<std::int64_t> numbers;
    void take(sqlite3_stmt* s) {
        texts.clear();
        numbers.clear();
        for (int column = 0; column < sqlite3_column_count(s); ++column) {
            if (sqlite3_column_type(s, column) == SQLITE_TEXT)
                texts.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, column)),
                                   static_cast<std::size_t>(sqlite3_column_bytes(s, column)));
            else
                numbers.push_back(sqlite3_column_int64(s, column));
        }
    }
};

sqlite3_stmt* firstOfKey(Raw& raw, const char* keyName) {
    const store::TableSchema& schema = Schedule::schema();
    const store::KeyDesc& key = schema.keys[static_cast<std::size_t>(schema.keyIndex(keyName))];
    const std::string table = store::splitStoredName(schema.storedName, schema).table;
    sqlite3_stmt* s = raw.prepare(store::sql::selectFromEnd(store::sqliteDialect(), schema, table, &key,
                                                            store::sql::Direction::Forward));
    sqlite3_bind_int64(s, 1, 1);
    return s;
}

void BM_IdleChecks_RawKeyed(benchmark::State& state) {
    const IdleFile file;
    Raw raw(folder("idle") / std::string(data::kDataFileName), true);
    sqlite3_stmt* next = firstOfKey(raw, "KEYDATEENABLED");
    sqlite3_stmt* warning = firstOfKey(raw, "KEYADVANCED");
    RowCopy row;
    for (auto _ : state) {
        for (sqlite3_stmt* s : {next, warning}) {
            if (sqlite3_step(s) != SQLITE_ROW) state.SkipWithError("no row");
            row.take(s);
            sqlite3_reset(s);
        }
    }
}

// The tick's look whether the schedule changed, after a write (the rows are
// read and summed up), against a raw read of every row with every column
// copied out.
void BM_ChangeLook_Plorix(benchmark::State& state) {
    TickRig rig;
    data::TableWatch watch(rig.schedule.table());
    (void)watch.changed();
    for (auto _ : state) {
        rig.schedule->database()->changed();  // as a write through this connection does
        if (!watch.changed()) state.SkipWithError("the rows could not be read");
    }
}

void BM_ChangeLook_RawRead(benchmark::State& state) {
    const IdleFile file;
    Raw raw(folder("idle") / std::string(data::kDataFileName), true);
    const std::string table = store::splitStoredName(Schedule::schema().storedName, Schedule::schema()).table;
    sqlite3_stmt* all = raw.prepare("SELECT * FROM " + store::sql::quote(table));
    RowCopy row;
    for (auto _ : state) {
        while (sqlite3_step(all) == SQLITE_ROW) row.take(all);
        sqlite3_reset(all);
    }
}

// --- forecast -----------------------------------------------------------------------

void BM_Forecast365_Plorix(benchmark::State& state) {
    std::vector<Schedule> tasks;
    for (int i = 0; i < kTasks; ++i) tasks.push_back(task(i));
    const scheduler::NoHolidays holidays;
    std::size_t runs = 0;
    for (auto _ : state) {
        runs = 0;
        for (const Schedule& entry : tasks) runs += scheduler::forecast(entry, kStart, 365, holidays).size();
    }
    state.counters["runs"] = static_cast<double>(runs);
}

void BM_Forecast365_AdvanceOnly(benchmark::State& state) {
    std::vector<Schedule> tasks;
    for (int i = 0; i < kTasks; ++i) tasks.push_back(task(i));
    for (auto _ : state) {
        for (Schedule entry : tasks) {
            for (int run = 0; run < 365; ++run) {
                scheduler::advance(entry, {entry.DATE, entry.TIME});
                benchmark::DoNotOptimize(entry.DATE);
            }
        }
    }
}

// --- simulation ---------------------------------------------------------------------

long long simulatedRuns = 0;

void BM_Simulate30Days_Plorix(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        // A fresh file each time: the run moves the tasks on.
        enter("simulate");
        fs::remove(folder("simulate") / std::string(data::kDataFileName));
        fillSchedule(task, kTasks);
        settings::settings() = settings::Settings{};
        state.ResumeTiming();
        const scheduler::SimulationSummary summary =
            scheduler::simulate({kStart, addHundredths(kStart, 30LL * kHundredthsPerDay)},
                                [](const scheduler::SimulationEvent&) {});
        simulatedRuns = summary.fired;
    }
    state.counters["runs"] = static_cast<double>(simulatedRuns);
}

// Each run as two raw writes, committed in batches as the simulator commits
// them: the entry moved on, and a history record added as a copy of the
// entry's row under a new identifier.
void BM_Simulate30Days_RawWrites(benchmark::State& state) {
    enter("raw-writes");
    fillSchedule(task, kTasks);
    data::resetProcessTables();
    const store::TableSchema& schema = Schedule::schema();
    const std::string table = store::sql::quote(store::splitStoredName(schema.storedName, schema).table);
    std::string columns, copied;
    for (const std::string& column : store::sql::columnNames(schema)) {
        if (column == store::sql::kPosition) continue;
        columns += (columns.empty() ? "" : ", ") + store::sql::quote(column);
        copied +=
            std::string(copied.empty() ? "" : ", ") + (column == "ID" ? "?2" : store::sql::quote(column));
    }
    Raw raw(folder("raw-writes") / std::string(data::kDataFileName), true);
    sqlite3_stmt* move =
        raw.prepare("UPDATE " + table + " SET DATE = DATE + 1, _ver = _ver + 1 WHERE _pos = ?1");
    sqlite3_stmt* history = raw.prepare("INSERT INTO " + table + " (" + columns + ") SELECT " + copied +
                                        " FROM " + table + " WHERE _pos = ?1");
    for (auto _ : state) {
        for (long long run = 0; run < simulatedRuns; ++run) {
            const long long position = run % kTasks + 1;
            sqlite3_bind_int64(move, 1, position);
            sqlite3_bind_int64(history, 1, position);
            sqlite3_bind_int64(history, 2, kTasks + run + 1);
            if (run % kRunsPerBatch == 0) raw.exec("BEGIN IMMEDIATE");
            for (sqlite3_stmt* s : {move, history}) {
                if (sqlite3_step(s) != SQLITE_DONE) state.SkipWithError("write failed");
                sqlite3_reset(s);
            }
            if (run % kRunsPerBatch == kRunsPerBatch - 1) raw.exec("COMMIT");
        }
        if (simulatedRuns % kRunsPerBatch != 0) raw.exec("COMMIT");
    }
    state.counters["runs"] = static_cast<double>(simulatedRuns);
}

}  // namespace

BENCHMARK(BM_IdleChecks_Plorix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_IdleChecks_RawKeyed)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_IdleTick_Plorix)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ChangeLook_Plorix)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_ChangeLook_RawRead)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_Forecast365_Plorix)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Forecast365_AdvanceOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Simulate30Days_Plorix)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_Simulate30Days_RawWrites)->Unit(benchmark::kSecond)->Iterations(1);

BENCHMARK_MAIN();
