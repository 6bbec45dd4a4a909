#pragma once
// A prepared SQLCipher statement. Statements are always reset after use so
// that no read lock outlives one store operation: another station must be
// able to commit between two reads of a browse.

#include <sqlcipher/sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace plorix::store {

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepareResult() const { return prepareResult_; }
    const std::string& sql() const { return sql_; }

    void bind(int parameter, std::int64_t value);
    // The text must stay alive until the statement is reset, unless copied.
    void bind(int parameter, std::string_view text, bool copy = false);
    int step();  // SQLITE_ROW, SQLITE_DONE or an error
    void reset();

    std::int64_t integer(int column) const;
    std::string_view text(int column) const;

private:
    sqlite3_stmt* stmt_ = nullptr;
    int prepareResult_ = SQLITE_OK;
    std::string sql_;
};

// Resets a statement when the operation using it ends, however it ends.
class StatementUse {
public:
    explicit StatementUse(Statement& s) : s_(s) {}
    ~StatementUse() { s_.reset(); }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    Statement* operator->() { return &s_; }
    Statement& operator*() { return s_; }

private:
    Statement& s_;
};

}  // namespace plorix::store
