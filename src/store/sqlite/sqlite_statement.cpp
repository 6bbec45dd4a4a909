#include "store/sqlite/sqlite_connection.h"

namespace plorix::store {

static_assert(kStepRow == SQLITE_ROW && kStepDone == SQLITE_DONE, "step results pass through unchanged");

SqliteStatement::SqliteStatement(sqlite3* db, const std::string& sql) {
    prepareResult_ = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

void SqliteStatement::bind(int parameter, std::int64_t value) { sqlite3_bind_int64(stmt_, parameter, value); }

void SqliteStatement::bind(int parameter, std::string_view text, bool copy) {
    sqlite3_bind_text(stmt_, parameter, text.data(), static_cast<int>(text.size()),
                      copy ? SQLITE_TRANSIENT : SQLITE_STATIC);
}

int SqliteStatement::step() { return sqlite3_step(stmt_); }

void SqliteStatement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::int64_t SqliteStatement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string_view SqliteStatement::text(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!p) return {};
    return {p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))};
}

}  // namespace plorix::store
