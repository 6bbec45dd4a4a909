#pragma once
// A prepared statement of one connection, whichever backend holds the
// tables. Statements are always reset after use so that no read lock
// outlives one store operation: another station must be able to commit
// between two reads of a browse.

#include <cstdint>
#include <string_view>

namespace plorix::store {

// What step() answers besides a backend's error (the connection's
// resultError() describes those).
inline constexpr int kStepRow = 100;
inline constexpr int kStepDone = 101;

class Statement {
public:
    Statement() = default;
    virtual ~Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    virtual void bind(int parameter, std::int64_t value) = 0;
    // The text must stay alive until the statement is reset, unless copied.
    virtual void bind(int parameter, std::string_view text, bool copy = false) = 0;
    virtual int step() = 0;  // kStepRow, kStepDone or an error
    virtual void reset() = 0;

    virtual std::int64_t integer(int column) const = 0;
    virtual std::string_view text(int column) const = 0;
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
