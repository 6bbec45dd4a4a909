#include "data/table_watch.h"

#include <sqlcipher/sqlite3.h>

#include "store/database.h"
#include "store/table_sql.h"

namespace plorix::data {
namespace {

// FNV-1a, 64 bits: enough to tell one set of rows from the next.
constexpr std::uint64_t kOffset = 14695981039346656037ull;
constexpr std::uint64_t kPrime = 1099511628211ull;

std::uint64_t mix(std::uint64_t hash, const unsigned char* bytes, int size) {
    for (int i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * kPrime;
    // The length too, so that "ab","c" and "a","bc" differ.
    return (hash ^ static_cast<std::uint64_t>(size)) * kPrime;
}

}  // namespace

std::optional<TableWatch::Mark> TableWatch::mark() {
    store::Database* db = table_.database();
    if (!db) return std::nullopt;
    store::ErrorState error;
    store::Statement* version = db->prepare("PRAGMA data_version", error);
    if (!version) return std::nullopt;
    store::StatementUse use(*version);
    if (use->step() != SQLITE_ROW) return std::nullopt;
    return Mark{db->generation(), use->integer(0)};
}

std::optional<std::uint64_t> TableWatch::digest() {
    store::Database* db = table_.database();
    const std::string table = store::splitStoredName(table_.name(), table_.schema()).table;
    const std::string sql = "SELECT * FROM " + store::sql::quote(table);
    sqlite3_stmt* rows = nullptr;
    if (sqlite3_prepare_v2(db->handle(), sql.c_str(), -1, &rows, nullptr) != SQLITE_OK) {
        sqlite3_finalize(rows);
        return std::nullopt;
    }
    std::uint64_t hash = kOffset;
    const int columns = sqlite3_column_count(rows);
    int rc;
    while ((rc = sqlite3_step(rows)) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            if (sqlite3_column_type(rows, c) == SQLITE_INTEGER) {
                const sqlite3_int64 value = sqlite3_column_int64(rows, c);
                hash = mix(hash, reinterpret_cast<const unsigned char*>(&value), sizeof value);
            } else {
                const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(rows, c));
                hash = mix(hash, bytes, sqlite3_column_bytes(rows, c));
            }
        }
    }
    sqlite3_finalize(rows);
    if (rc != SQLITE_DONE) return std::nullopt;
    return hash;
}

std::optional<bool> TableWatch::changed() {
    // The mark is taken before the rows are read: a commit between the two
    // moves the mark again, and the next look reads once more.
    const std::optional<Mark> now = mark();
    if (!now || now == seen_) return false;
    const std::optional<std::uint64_t> sum = digest();
    if (!sum) return std::nullopt;
    const bool first = !seen_;
    seen_ = now;
    const bool differs = *sum != digest_;
    digest_ = *sum;
    return differs && !first;
}

}  // namespace plorix::data
