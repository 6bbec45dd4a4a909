#pragma once
// A query by example: the wanted records described field by field, built
// once from the search window's entries and then tested against record
// buffers through the table's schema. A record passes when every field does.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/qbe_match.h"
#include "store/store.h"
#include "data/tagging.h"
#include "runtime/prompter.h"

namespace plorix::data {

// One field of the search as the user entered it.
struct Criterion {
    std::string field;  // full name, "SCH:DESCRIPTION"
    int match = kIgnoreField;
    // As entered: a text; a number; a date or time read by `picture`, or
    // without one in the form YYYY-MM-DD or HH:MM[:SS].
    std::string value;
    std::string upper;            // the upper limit of a range (7 and 8)
    std::optional<QbeKind> kind;  // by the field's type when not given
    std::string picture;          // how the field is shown and entered
};

// The kind a field is searched as unless the window says otherwise: texts
// as strings, memos as long texts, dates as dates, flags as check boxes,
// other numbers (times included) as numbers.
QbeKind defaultKind(store::FieldKind kind);

class Query {
public:
    // The query, or nullopt with the reason in `problem` for a field the
    // table does not have, a match type its kind does not offer, or a value
    // that is not of the field's type. Texts are compared in capitals.
    static std::optional<Query> build(const store::TableSchema& schema,
                                      const std::vector<Criterion>& criteria, std::string* problem = nullptr);

    bool passes(const void* record) const;

    // Positions `table` (of this query's schema) for a search by `key`:
    // when the first field of the query leads the key, at its value for
    // "equals", "more than", "more than or equal", the ranges and "begins
    // with", at 1 January of its year for "in this year", at the first of
    // its month for "in this year + month"; at the start of the key
    // otherwise. Records before that point cannot pass.
    void startScan(store::Table& table, int key) const;

    const store::TableSchema& schema() const { return *schema_; }

private:
    struct Entry {
        const store::FieldDesc* field;
        QbeKind kind;
        int match;
        std::string text;  // texts: the query value in capitals
        std::string upperText;
        std::int64_t number = 0;  // numbers and dates
        std::int64_t upperNumber = 0;
        std::string picture;
    };
    bool passes(const Entry& entry, const void* record) const;
    const store::TableSchema* schema_ = nullptr;
    std::vector<Entry> entries_;
};

// Reads the records that pass a query, in the order of `key` from the
// query's scan start, through a table of its own on the same file as
// `like`: a search steps it a slice at a time from the event loop.
class QueryScan {
public:
    QueryScan(Prompter& prompter, const store::Table& like, int key, const Query& query);
    ~QueryScan();
    QueryScan(const QueryScan&) = delete;
    QueryScan& operator=(const QueryScan&) = delete;
    enum class Step { Matched, Going, Ended };
    // Reads on, at most `budget` records: Matched with the record in
    // record(), Going when the budget ran out first, Ended at the end.
    Step next(int budget);
    const void* record() const { return table_ ? table_->buffer() : nullptr; }
    std::int64_t read() const { return read_; }
    int error() const { return error_; }  // the store's code when reading stopped early, else 0

private:
    std::unique_ptr<store::Table> table_;
    const Query& query_;
    std::int64_t read_ = 0;
    int error_ = 0;
};

// Tags ("Select") or untags ("Unselect") the records that pass a query,
// 25 records a step; the tag names each record by its field `idField`
// (SCH:ID for tasks).
class QueryTagging {
public:
    QueryTagging(Prompter& prompter, const store::Table& like, int key, const Query& query, TagTable tags,
                 std::string_view idField, bool select);
    // False once every record was read.
    bool step();
    std::int32_t matched() const { return matched_; }
    std::int64_t read() const { return scan_.read(); }
    int error() const { return scan_.error(); }

private:
    Prompter& prompter_;
    QueryScan scan_;
    TagTable tags_;
    const store::FieldDesc* id_;
    bool select_;
    bool ended_ = false;
    std::int32_t matched_ = 0;
};

}  // namespace plorix::data
