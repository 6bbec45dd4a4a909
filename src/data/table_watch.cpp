#include "data/table_watch.h"

#include <limits>

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
    const std::optional<std::int64_t> others = db->othersCommits(error);
    if (!others) return std::nullopt;
    return Mark{db->generation(), *others};
}

std::optional<std::uint64_t> TableWatch::digest() {
    store::Database* db = table_.database();
    if (!db) return std::nullopt;
    const store::TableSchema& schema = table_.schema();
    const std::string table = store::splitStoredName(table_.name(), schema).table;
    store::ErrorState error;
    store::Statement* rows = db->prepare(
        store::sql::selectFromEnd(db->dialect(), schema, table, nullptr, store::sql::Direction::Forward),
        error);
    if (!rows) return std::nullopt;
    store::StatementUse use(*rows);
    rows->bind(1, std::numeric_limits<std::int64_t>::max());
    // Position, version, then the fields in their declared order.
    const int columns = static_cast<int>(schema.fields.size()) + 2;
    std::uint64_t hash = kOffset;
    int rc;
    while ((rc = rows->step()) == store::kStepRow) {
        for (int c = 0; c < columns; ++c) {
            const bool text = c >= 2 && store::isText(schema.fields[static_cast<std::size_t>(c - 2)].kind);
            if (text) {
                const std::string_view value = rows->text(c);
                hash = mix(hash, reinterpret_cast<const unsigned char*>(value.data()),
                           static_cast<int>(value.size()));
            } else {
                const std::int64_t value = rows->integer(c);
                hash = mix(hash, reinterpret_cast<const unsigned char*>(&value), sizeof value);
            }
        }
    }
    if (rc != store::kStepDone) return std::nullopt;
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
