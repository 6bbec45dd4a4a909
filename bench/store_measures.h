#pragma once
// The store's side of the record-store benchmarks, the same on either
// backend: each takes the schedule table open where it is measured.

#include <benchmark/benchmark.h>

#include "bench_tasks.h"
#include "data/tables.h"
#include "store/store.h"

namespace plorix::bench {

inline constexpr int kRows = 100000;

// The identifiers the look-ups visit, in an order that jumps about.
inline int lookedUp(int i) { return static_cast<int>((static_cast<long long>(i) * 7919) % kRows) + 1; }

// Adds the kRows entries to the (empty) table in one batch.
inline void addBatch(benchmark::State& state, store::Table& table) {
    auto& r = table.rec<data::Schedule>();
    if (table.stream() != store::kNoError) state.SkipWithError("stream failed");
    for (int i = 1; i <= kRows; ++i) {
        fillRow(r, i);
        if (table.add() != store::kNoError) state.SkipWithError("add failed");
    }
    if (table.flush() != store::kNoError) state.SkipWithError("flush failed");
}

// kRows look-ups by SCH:KEYID per iteration.
inline void getById(benchmark::State& state, store::Table& table) {
    auto& r = table.rec<data::Schedule>();
    const int keyId = data::Schedule::schema().keyIndex("KEYID");
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            r.ID = lookedUp(i);
            if (table.get(keyId) != store::kNoError) state.SkipWithError("get failed");
        }
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

// A whole scan in SCH:KEYDATEENABLED order per iteration.
inline void scanDateEnabled(benchmark::State& state, store::Table& table) {
    const int key = data::Schedule::schema().keyIndex("KEYDATEENABLED");
    for (auto _ : state) {
        int rows = 0;
        table.setStart(key);
        while (table.next() == store::kNoError) ++rows;
        if (rows != kRows) state.SkipWithError("scan incomplete");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

}  // namespace plorix::bench
