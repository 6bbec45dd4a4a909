#pragma once
// Helpers of the record-store tests: opening tables in the test's folder,
// looking at a data file from outside, and running another station in a
// child process.

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "store/file_key.h"
#include "store/store.h"

namespace plorix::data::test {

// Opens the table, creating its file or table first when missing.
inline int openOrCreate(store::Table& table, int mode = store::kReadWriteDenyNone) {
    int code = table.open(mode);
    if (code == store::kFileNotFound) {
        code = table.create();
        if (code == store::kNoError) code = table.open(mode);
    }
    return code;
}

// Query plans of a data file, read through a connection of its own.
class PlanReader {
public:
    explicit PlanReader(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
        store::keyConnection(db_, kOwnerPassword);
    }
    ~PlanReader() { sqlite3_close_v2(db_); }
    PlanReader(const PlanReader&) = delete;
    PlanReader& operator=(const PlanReader&) = delete;

    // The detail column of EXPLAIN QUERY PLAN, one line per step.
    std::vector<std::string> plan(const std::string& sql) {
        std::vector<std::string> lines;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                lines.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 3)));
            }
        } else {
            lines.push_back(std::string("prepare failed: ") + sqlite3_errmsg(db_));
        }
        sqlite3_finalize(st);
        return lines;
    }

private:
    sqlite3* db_ = nullptr;
};

// Runs `station` in a child process and returns its exit status (the
// station's result, 255 when it threw). The child leaves with _exit, so the
// parent's open connections are never touched from it.
inline int runStation(const std::function<int()>& station) {
    const pid_t child = fork();
    if (child == 0) {
        int result = 255;
        try {
            result = station();
        } catch (...) {}
        _exit(result);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace plorix::data::test
