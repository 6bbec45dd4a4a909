// The record store on PostgreSQL over a Unix socket against the same SQL
// statements run through raw libpq, in one run:
//   - adding 100,000 schedule entries in one batch,
//   - 100,000 look-ups by SCH:KEYID,
//   - a full scan in SCH:KEYDATEENABLED order,
//   - the idle tick at 100,000 entries, against the three first-record reads
//     it stands for (SCH:KEYDATEENABLED, then SCH:KEYADVANCED twice).
// The server is PLORIX_BENCH_SERVER (bench/run-store starts a private
// cluster). The store works in the schema bench_store, the baselines in
// bench_raw of the same layout; both fill and read the same record buffer,
// so what differs is the store's own work.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_tasks.h"
#include "data/data_file.h"
#include "data/tables.h"
#include "platform/fake/fake_desktop.h"
#include "raw_pg_connection.h"
#include "store_measures.h"
#include "runtime/clock.h"
#include "scheduler/frame_tick.h"
#include "settings/settings.h"
#include "store/dialect.h"
#include "store/served_files.h"
#include "store/store.h"
#include "store/table_sql.h"

namespace {

namespace fs = std::filesystem;
using namespace plorix;
using bench::fillRow;
using bench::kRows;
using bench::lookedUp;
using bench::RawPg;
using data::Schedule;
namespace sql = store::sql;

constexpr const char* kFlavours[] = {"bench_store", "bench_raw"};

const std::string& serverUrl() {
    static const std::string url = [] {
        const char* given = std::getenv("PLORIX_BENCH_SERVER");
        if (!given || !*given)
            throw std::runtime_error("PLORIX_BENCH_SERVER names no server (see bench/run-store)");
        return std::string(given);
    }();
    return url;
}

// A folder per flavour whose data file is served from the schema of the
// flavour's name.
const fs::path& root() {
    static const fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "plorix-bench-pg-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        for (const char* flavour : kFlavours) {
            fs::create_directories(fs::path(pattern) / flavour);
            store::serveFile((fs::path(pattern) / flavour / std::string(data::kDataFileName)).string(),
                             {serverUrl(), flavour});
        }
        return fs::path(pattern);
    }();
    return path;
}

std::unique_ptr<store::Table> openTable(const store::TableSchema& schema, const char* flavour) {
    auto table = std::make_unique<store::Table>(schema);
    const store::StoredName where = store::splitStoredName(schema.storedName, schema);
    table->setName((root() / flavour / where.file).string() + "\\!" + where.table);
    if (table->open() == store::kFileNotFound && table->create() == store::kNoError) table->open();
    if (!table->isOpen())
        throw std::runtime_error("cannot open " + schema.label + ": " + table->error().describe());
    return table;
}

void fill(store::Table& schedule) {
    if (schedule.empty() != store::kNoError || schedule.stream() != store::kNoError)
        throw std::runtime_error(schedule.error().describe());
    for (int i = 1; i <= kRows; ++i) {
        fillRow(schedule.rec<Schedule>(), i);
        if (schedule.add() != store::kNoError) throw std::runtime_error(schedule.error().describe());
    }
    if (schedule.flush() != store::kNoError) throw std::runtime_error(schedule.error().describe());
}

// Both schemas hold the schedule table with 100,000 entries.
void prepare() {
    for (const char* flavour : kFlavours) {
        auto schedule = openTable(Schedule::schema(), flavour);
        if (schedule->records() != kRows) fill(*schedule);
    }
}

const std::string& scheduleTable() {
    static const std::string t =
        store::splitStoredName(Schedule::schema().storedName, Schedule::schema()).table;
    return t;
}

const store::KeyDesc& key(const char* name) {
    const store::TableSchema& schema = Schedule::schema();
    return schema.keys[static_cast<std::size_t>(schema.keyIndex(name))];
}

// The record's fields as text parameters, in field order.
struct Parameters {
    std::vector<std::string> texts;
    std::vector<const char*> values;
    void take(const store::TableSchema& schema, const void* record) {
        texts.clear();
        for (const auto& field : schema.fields)
            texts.push_back(store::isText(field.kind) ? store::fieldText(field, record).str()
                                                      : std::to_string(store::fieldInt(field, record)));
        values.clear();
        for (const auto& text : texts) values.push_back(text.c_str());
    }
};

// Row `row` of a result into the record; fields follow _pos and _ver.
void readRow(PGresult* result, int row, const store::TableSchema& schema, void* record) {
    int column = 2;
    for (const auto& field : schema.fields) {
        const char* value = PQgetvalue(result, row, column);
        if (store::isText(field.kind))
            store::setFieldText(field, record,
                                {value, static_cast<std::size_t>(PQgetlength(result, row, column))});
        else
            store::setFieldInt(field, record, std::strtoll(value, nullptr, 10));
        ++column;
    }
}

// --- adding 100,000 records in one batch ---------------------------------------------

// Emptied and vacuumed before each batch, so that neither side meets the
// other's dead rows or a vacuum of its own under way.
void vacuum(RawPg& raw) { raw.exec("VACUUM ANALYZE " + sql::quote(scheduleTable())); }

void BM_AddBatch_Store(benchmark::State& state) {
    prepare();
    RawPg raw(serverUrl(), "bench_store");
    for (auto _ : state) {
        state.PauseTiming();
        auto table = openTable(Schedule::schema(), "bench_store");
        if (table->empty() != store::kNoError) state.SkipWithError("empty failed");
        vacuum(raw);
        state.ResumeTiming();
        bench::addBatch(state, *table);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_AddBatch_RawLibpq(benchmark::State& state) {
    prepare();
    const store::TableSchema& schema = Schedule::schema();
    RawPg raw(serverUrl(), "bench_raw");
    const std::string insert =
        raw.prepare(sql::insertRecord(store::postgresDialect(), schema, scheduleTable()));
    Schedule r;
    Parameters parameters;
    for (auto _ : state) {
        state.PauseTiming();
        raw.exec(sql::deleteAll(scheduleTable()));
        vacuum(raw);
        state.ResumeTiming();
        raw.exec("BEGIN");
        for (int i = 1; i <= kRows; ++i) {
            fillRow(r, i);
            parameters.take(schema, &r);
            PQclear(raw.run(insert, parameters.values));
        }
        raw.exec("COMMIT");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// --- 100,000 look-ups by SCH:KEYID ----------------------------------------------------

void BM_GetById_Store(benchmark::State& state) {
    prepare();
    bench::getById(state, *openTable(Schedule::schema(), "bench_store"));
}

void BM_GetById_RawLibpq(benchmark::State& state) {
    prepare();
    const store::TableSchema& schema = Schedule::schema();
    RawPg raw(serverUrl(), "bench_raw");
    const std::string get =
        raw.prepare(sql::selectEqual(store::postgresDialect(), schema, scheduleTable(), key("KEYID")));
    Schedule r;
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            const std::string id = std::to_string(lookedUp(i));
            PGresult* result = raw.run(get, {id.c_str()});
            if (PQntuples(result) != 1) state.SkipWithError("get failed");
            readRow(result, 0, schema, &r);
            PQclear(result);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// --- a full scan in SCH:KEYDATEENABLED order -------------------------------------------

void BM_ScanDateEnabled_Store(benchmark::State& state) {
    prepare();
    bench::scanDateEnabled(state, *openTable(Schedule::schema(), "bench_store"));
}

void BM_ScanDateEnabled_RawLibpq(benchmark::State& state) {
    prepare();
    const store::TableSchema& schema = Schedule::schema();
    RawPg raw(serverUrl(), "bench_raw");
    // The natural way without the store: one query over the whole key.
    const std::string scan = raw.prepare(sql::selectFromEnd(store::postgresDialect(), schema, scheduleTable(),
                                                            &key("KEYDATEENABLED"), sql::Direction::Forward));
    const std::string all = std::to_string(kRows + 1);
    Schedule r;
    for (auto _ : state) {
        PGresult* result = raw.run(scan, {all.c_str()});
        for (int row = 0; row < PQntuples(result); ++row) readRow(result, row, schema, &r);
        if (PQntuples(result) != kRows) state.SkipWithError("scan incomplete");
        PQclear(result);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// --- the idle tick at 100,000 entries --------------------------------------------------

void BM_IdleTick_Store(benchmark::State& state) {
    prepare();
    // Before every entry: nothing is due, nothing warned.
    ManualClock clock(Moment{79000, makeTime(8, 0)});
    SilentPrompter prompter;
    settings::Settings settings;
    platform::FakeSound sound;
    auto schedule = openTable(Schedule::schema(), "bench_store");
    auto scripting = openTable(data::Scripting::schema(), "bench_store");
    scheduler::FireContext context{clock, prompter, settings, *schedule, *scripting, sound, {}};
    scheduler::FrameTick tick(context);
    tick.state().active = true;
    for (auto _ : state) {
        const scheduler::TickReport report = tick.tick();
        if (report.fired || report.warned || !report.failure.ok())
            state.SkipWithError("the tick was not idle");
    }
}

void BM_IdleTick_RawLibpq(benchmark::State& state) {
    prepare();
    const store::TableSchema& schema = Schedule::schema();
    RawPg raw(serverUrl(), "bench_raw");
    std::vector<std::string> firsts;
    // What an idle tick reads: the next run, the warning due, and the next
    // warning for planning the sleep.
    for (const char* name : {"KEYDATEENABLED", "KEYADVANCED", "KEYADVANCED"})
        firsts.push_back(raw.prepare(sql::selectFromEnd(store::postgresDialect(), schema, scheduleTable(),
                                                        &key(name), sql::Direction::Forward)));
    Schedule r;
    for (auto _ : state) {
        for (const std::string& first : firsts) {
            PGresult* result = raw.run(first, {"1"});
            if (PQntuples(result) == 1) readRow(result, 0, schema, &r);
            PQclear(result);
        }
    }
}

}  // namespace

BENCHMARK(BM_AddBatch_Store)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddBatch_RawLibpq)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GetById_Store)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetById_RawLibpq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDateEnabled_Store)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDateEnabled_RawLibpq)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IdleTick_Store)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_IdleTick_RawLibpq)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(root(), ec);
    return 0;
}
