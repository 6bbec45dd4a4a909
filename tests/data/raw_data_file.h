#pragma once
// A connection to a data file beside the store's own, for tests that change
// a file behind the store's back (an older layout, a lost key) or hold a
// lock on it as another station would.

#include <sqlcipher/sqlite3.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "store/file_key.h"
#include "store/store.h"

namespace plorix::test {

class RawDataFile {
public:
    explicit RawDataFile(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
        if (store::keyConnection(db_, data::kOwnerPassword) != SQLITE_OK)
            throw std::runtime_error("cannot key " + path);
    }
    ~RawDataFile() { sqlite3_close_v2(db_); }
    RawDataFile(const RawDataFile&) = delete;
    RawDataFile& operator=(const RawDataFile&) = delete;

    // Runs statements; the SQLite result code.
    int run(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }
    void exec(const std::string& sql) {
        if (run(sql) != SQLITE_OK) throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
    }
    // The first column of every row.
    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> values;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(st, 0);
            values.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
        }
        sqlite3_finalize(st);
        return values;
    }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace plorix::test
