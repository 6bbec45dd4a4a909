#pragma once
// A raw SQLCipher connection with the store's own settings, for the
// baselines the benchmarks measure beside the store.

#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "store/sqlite/sqlite_connection.h"
#include "store/file_key.h"
#include "store/store.h"
#include "store/sqlite/sqlite_connection.h"
#include "store/table_sql.h"

namespace plorix::bench {

class Raw {
public:
    Raw(const std::filesystem::path& path, bool keyed) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            throw std::runtime_error("cannot open " + path.string());
        }
        if (keyed) {
            // The key form the store gives every new file.
            if (store::keyConnection(db_, data::kOwnerPassword) != SQLITE_OK)
                throw std::runtime_error("cannot key");
        }
        exec("SELECT count(*) FROM sqlite_master");
        exec("PRAGMA journal_mode = DELETE");
        exec("PRAGMA synchronous = FULL");
        exec(store::kCacheSizePragma);
    }
    ~Raw() {
        for (auto* s : statements_) sqlite3_finalize(s);
        sqlite3_close_v2(db_);
    }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;

    void exec(const std::string& text) {
        if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            throw std::runtime_error(text + ": " + sqlite3_errmsg(db_));
        }
    }
    // Prepared once, finalized with the connection.
    sqlite3_stmt* prepare(const std::string& text) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, text.c_str(), -1, &s, nullptr) != SQLITE_OK) {
            throw std::runtime_error(text + ": " + sqlite3_errmsg(db_));
        }
        statements_.push_back(s);
        return s;
    }

private:
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};

}  // namespace plorix::bench
