// The record store against the same SQL statements run through the raw
// SQLCipher API on an unkeyed file, in one run:
//   - adding 100,000 schedule entries in one batch,
//   - 100,000 look-ups by SCH:KEYID,
//   - a full scan in SCH:KEYDATEENABLED order, and one over entries whose
//     dates and times are all equal (the seek follows equal leading
//     components, so a run of equal dates must not cost a rescan per step),
//   - opening the data file with its twelve tables.
// The baselines fill and read the same record buffer, so what differs is
// the store's own work (statements, cursor, read-ahead, version checks) and,
// for the store, the encryption. A keyed raw line shows the encryption's
// share where it matters.

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "data/data_file.h"
#include "store/database.h"
#include "store/store.h"
#include "store/table_layout.h"
#include "store/table_sql.h"
#include "data/tables.h"
#include "bench_tasks.h"
#include "raw_connection.h"
#include "store_measures.h"

namespace {

namespace fs = std::filesystem;
using namespace plorix::data;
namespace store = plorix::store;
namespace sql = plorix::store::sql;
using plorix::bench::fillRow;
using plorix::bench::kRows;
using plorix::bench::lookedUp;
using plorix::bench::Raw;

// The bench's own folder: "keyed" holds the store's data file, "plain" the
// same layout without a key for the baselines; "keyed-equal" and
// "plain-equal" the same with every entry due at one moment.
const fs::path& root() {
    static const fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "plorix-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        for (const char* flavour : {"keyed", "plain", "keyed-equal", "plain-equal"})
            fs::create_directories(fs::path(pattern) / flavour);
        return fs::path(pattern);
    }();
    return path;
}

fs::path dataFile(const char* flavour) { return root() / flavour / std::string(kDataFileName); }

// A table of the given flavour, opened (created when missing) in its folder.
std::unique_ptr<store::Table> openTable(const store::TableSchema& schema, const char* flavour) {
    auto table = std::make_unique<store::Table>(schema);
    const store::StoredName where = store::splitStoredName(schema.storedName, schema);
    table->setName((root() / flavour / where.file).string() + "\\!" + where.table);
    if (std::string_view(flavour).starts_with("plain")) table->setPassword("");
    if (table->open() == store::kFileNotFound && table->create() == store::kNoError) table->open();
    if (!table->isOpen())
        throw std::runtime_error("cannot open " + schema.label + ": " + table->error().describe());
    return table;
}

// Every table of the data file, in both flavours; the schedule table filled.
void prepareFiles() {
    static bool done = false;
    if (done) return;
    done = true;
    for (const char* flavour : {"keyed", "plain", "keyed-equal", "plain-equal"}) {
        const bool equal = std::string_view(flavour).ends_with("-equal");
        for (const store::TableSchema* s : allSchemas()) {
            if (store::splitStoredName(s->storedName, *s).file == kDataFileName) openTable(*s, flavour);
        }
        auto schedule = openTable(Schedule::schema(), flavour);
        if (schedule->records() == kRows) continue;
        if (schedule->stream() != store::kNoError) throw std::runtime_error(schedule->error().describe());
        for (int i = 1; i <= kRows; ++i) {
            fillRow(schedule->rec<Schedule>(), i);
            if (equal) {
                schedule->rec<Schedule>().DATE = 80000;
                schedule->rec<Schedule>().TIME = 1;
                schedule->rec<Schedule>().DISABLED = 0;
            }
            if (schedule->add() != store::kNoError) throw std::runtime_error(schedule->error().describe());
        }
        if (schedule->flush() != store::kNoError) throw std::runtime_error(schedule->error().describe());
    }
}

void bindRow(sqlite3_stmt* s, const store::TableSchema& schema, const void* record) {
    int parameter = 1;
    for (const auto& field : schema.fields) {
        if (store::isText(field.kind)) {
            const std::string& text = store::fieldText(field, record).str();
            sqlite3_bind_text(s, parameter++, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        } else {
            sqlite3_bind_int64(s, parameter++, store::fieldInt(field, record));
        }
    }
}

void readRow(sqlite3_stmt* s, const store::TableSchema& schema, void* record) {
    int column = 2;
    for (const auto& field : schema.fields) {
        if (store::isText(field.kind)) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
            store::setFieldText(field, record,
                                {text, static_cast<std::size_t>(sqlite3_column_bytes(s, column))});
        } else {
            store::setFieldInt(field, record, sqlite3_column_int64(s, column));
        }
        ++column;
    }
}

const std::string& scheduleTable() {
    static const std::string t =
        store::splitStoredName(Schedule::schema().storedName, Schedule::schema()).table;
    return t;
}

// --- adding 100,000 records in one batch ---------------------------------------------

void emptySchedule(const char* flavour) {
    auto table = openTable(Schedule::schema(), flavour);
    if (table->empty() != store::kNoError) throw std::runtime_error(table->error().describe());
}

void BM_AddBatch_Store(benchmark::State& state) {
    prepareFiles();
    for (auto _ : state) {
        state.PauseTiming();
        emptySchedule("keyed");
        auto table = openTable(Schedule::schema(), "keyed");
        state.ResumeTiming();
        plorix::bench::addBatch(state, *table);
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void rawAddBatch(benchmark::State& state, const char* flavour) {
    prepareFiles();
    const store::TableSchema& schema = Schedule::schema();
    Schedule r;
    for (auto _ : state) {
        state.PauseTiming();
        emptySchedule(flavour);
        auto raw = std::make_unique<Raw>(dataFile(flavour), std::string(flavour) == "keyed");
        sqlite3_stmt* insert =
            raw->prepare(sql::insertRecord(store::sqliteDialect(), schema, scheduleTable()));
        state.ResumeTiming();
        raw->exec("BEGIN IMMEDIATE");
        for (int i = 1; i <= kRows; ++i) {
            fillRow(r, i);
            bindRow(insert, schema, &r);
            if (sqlite3_step(insert) != SQLITE_DONE) state.SkipWithError("insert failed");
            sqlite3_reset(insert);
        }
        raw->exec("COMMIT");
        state.PauseTiming();
        raw.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
void BM_AddBatch_RawPlain(benchmark::State& state) { rawAddBatch(state, "plain"); }
void BM_AddBatch_RawKeyed(benchmark::State& state) { rawAddBatch(state, "keyed"); }

// --- 100,000 look-ups by SCH:KEYID ----------------------------------------------------

void BM_GetById_Store(benchmark::State& state) {
    prepareFiles();
    plorix::bench::getById(state, *openTable(Schedule::schema(), "keyed"));
}

void rawGetById(benchmark::State& state, const char* flavour) {
    prepareFiles();
    const store::TableSchema& schema = Schedule::schema();
    const store::KeyDesc& key = schema.keys[static_cast<std::size_t>(schema.keyIndex("KEYID"))];
    Raw raw(dataFile(flavour), std::string(flavour) == "keyed");
    sqlite3_stmt* get = raw.prepare(sql::selectEqual(store::sqliteDialect(), schema, scheduleTable(), key));
    Schedule r;
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            sqlite3_bind_int64(get, 1, lookedUp(i));
            if (sqlite3_step(get) != SQLITE_ROW) state.SkipWithError("get failed");
            readRow(get, schema, &r);
            sqlite3_reset(get);
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
void BM_GetById_RawPlain(benchmark::State& state) { rawGetById(state, "plain"); }
void BM_GetById_RawKeyed(benchmark::State& state) { rawGetById(state, "keyed"); }

// --- a full scan in SCH:KEYDATEENABLED order -------------------------------------------

void storeScan(benchmark::State& state, const char* flavour) {
    prepareFiles();
    plorix::bench::scanDateEnabled(state, *openTable(Schedule::schema(), flavour));
}

void rawScan(benchmark::State& state, const char* flavour) {
    prepareFiles();
    const store::TableSchema& schema = Schedule::schema();
    const store::KeyDesc& key = schema.keys[static_cast<std::size_t>(schema.keyIndex("KEYDATEENABLED"))];
    Raw raw(dataFile(flavour), std::string_view(flavour).starts_with("keyed"));
    // The natural way without the store: one query over the whole key.
    sqlite3_stmt* scan = raw.prepare(
        sql::selectFromEnd(store::sqliteDialect(), schema, scheduleTable(), &key, sql::Direction::Forward));
    Schedule r;
    for (auto _ : state) {
        int rows = 0;
        sqlite3_bind_int64(scan, 1, -1);
        while (sqlite3_step(scan) == SQLITE_ROW) {
            readRow(scan, schema, &r);
            ++rows;
        }
        sqlite3_reset(scan);
        if (rows != kRows) state.SkipWithError("scan incomplete");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
void BM_ScanDateEnabled_Store(benchmark::State& state) { storeScan(state, "keyed"); }
void BM_ScanDateEnabled_RawPlain(benchmark::State& state) { rawScan(state, "plain"); }
void BM_ScanDateEnabled_RawKeyed(benchmark::State& state) { rawScan(state, "keyed"); }
void BM_ScanEqualDates_Store(benchmark::State& state) { storeScan(state, "keyed-equal"); }
void BM_ScanEqualDates_RawPlain(benchmark::State& state) { rawScan(state, "plain-equal"); }

// --- opening the data file with its twelve tables ----------------------------------

void BM_OpenTwelveTables_Store(benchmark::State& state) {
    prepareFiles();
    std::vector<const store::TableSchema*> schemas;
    for (const store::TableSchema* s : allSchemas()) {
        if (store::splitStoredName(s->storedName, *s).file == kDataFileName) schemas.push_back(s);
    }
    for (auto _ : state) {
        std::vector<std::unique_ptr<store::Table>> tables;
        for (const store::TableSchema* s : schemas) tables.push_back(openTable(*s, "keyed"));
        tables.clear();  // the last close ends the connection
    }
}

void rawOpen(benchmark::State& state, const char* flavour) {
    prepareFiles();
    std::vector<std::string> tables;
    for (const store::TableSchema* s : allSchemas()) {
        const store::StoredName where = store::splitStoredName(s->storedName, *s);
        if (where.file == kDataFileName) tables.push_back(where.table);
    }
    for (auto _ : state) {
        Raw raw(dataFile(flavour), std::string(flavour) == "keyed");
        // What the store reads to check each table's layout.
        sqlite3_stmt* master = raw.prepare(
            "SELECT type, name, sql FROM sqlite_master WHERE tbl_name = ?1 COLLATE NOCASE OR name = ?2");
        sqlite3_stmt* version =
            raw.prepare("SELECT version, label FROM " + sql::quote(sql::kCatalogue) + " WHERE name = ?1");
        for (const auto& t : tables) {
            sqlite3_bind_text(master, 1, t.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(master, 2, sql::kCatalogue.data(), static_cast<int>(sql::kCatalogue.size()),
                              SQLITE_STATIC);
            while (sqlite3_step(master) == SQLITE_ROW) {}
            sqlite3_reset(master);
            sqlite3_bind_text(version, 1, t.c_str(), -1, SQLITE_STATIC);
            while (sqlite3_step(version) == SQLITE_ROW) {}
            sqlite3_reset(version);
            sqlite3_stmt* info = raw.prepare("PRAGMA table_info(" + sql::quote(t) + ")");
            while (sqlite3_step(info) == SQLITE_ROW) {}
        }
    }
}
void BM_OpenTwelveTables_RawPlain(benchmark::State& state) { rawOpen(state, "plain"); }
void BM_OpenTwelveTables_RawKeyed(benchmark::State& state) { rawOpen(state, "keyed"); }

}  // namespace

BENCHMARK(BM_AddBatch_Store)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddBatch_RawPlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AddBatch_RawKeyed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GetById_Store)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetById_RawPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetById_RawKeyed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDateEnabled_Store)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDateEnabled_RawPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanDateEnabled_RawKeyed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanEqualDates_Store)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanEqualDates_RawPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTwelveTables_Store)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTwelveTables_RawPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenTwelveTables_RawKeyed)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (std::getenv("PLORIX_BENCH_SIZES")) {
        for (const char* flavour : {"keyed", "plain"}) {
            std::printf("%s data file: %.1f MB\n", flavour,
                        static_cast<double>(fs::file_size(dataFile(flavour))) / 1e6);
        }
    }
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(root(), ec);
    return 0;
}
