#pragma once
// Damaging one page of a data file from outside, as a failing disk would:
// the page of a table or key is found through the file's own catalogue and
// bytes in its middle are flipped, so the page no longer decrypts.

#include <sqlcipher/sqlite3.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "data/data_file.h"
#include "store/file_key.h"

namespace plorix::data::test {

inline constexpr int kPageBytes = 4096;

// The first page of the table or index `name` (sqlite_master's rootpage).
inline int rootPage(const std::string& path, const std::string& name) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    store::keyConnection(db, kOwnerPassword);
    sqlite3_stmt* st = nullptr;
    int page = 0;
    if (sqlite3_prepare_v2(db, "SELECT rootpage FROM sqlite_master WHERE name = ?1", -1, &st, nullptr) ==
        SQLITE_OK) {
        sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW) page = sqlite3_column_int(st, 0);
    }
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    if (page <= 0) throw std::runtime_error("no page for " + name + " in " + path);
    return page;
}

// Flips eight bytes in the middle of page `page` (counted from 1).
inline void flipPage(const std::string& path, int page) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    const std::streamoff middle = static_cast<std::streamoff>(page - 1) * kPageBytes + kPageBytes / 2;
    char bytes[8];
    file.seekg(middle);
    file.read(bytes, sizeof bytes);
    for (char& b : bytes) b = static_cast<char>(~b);
    file.seekp(middle);
    file.write(bytes, sizeof bytes);
    if (!file) throw std::runtime_error("cannot damage " + path);
}

inline void damage(const std::string& path, const std::string& tableOrKey) {
    flipPage(path, rootPage(path, tableOrKey));
}

}  // namespace plorix::data::test
