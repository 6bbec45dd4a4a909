#pragma once
// Tells whether the rows of a table have changed since the last look, by
// whoever changed them: a window of this program, a receive on a worker
// thread, another station or plorix-cli.
//
// Nothing is read while the file stands still: the rows are summed up again
// only after a write through this thread's connection or a commit by any
// other connection (the store's othersCommits), and a change is told only when
// the sum differs, so a write to another table of the file, or a change
// taken back, tells nothing.

#include <cstdint>
#include <optional>

#include "store/store.h"

namespace plorix::data {

class TableWatch {
public:
    explicit TableWatch(store::Table& table) : table_(table) {}

    // Whether the rows differ from those of the last look that read them;
    // nullopt when they had to be read and could not be (the file busy):
    // the next look reads again. The first look only takes note.
    std::optional<bool> changed();

private:
    struct Mark {
        std::uint64_t ownWrites = 0;     // this connection's write count
        std::int64_t othersCommits = 0;  // Database::othersCommits
        bool operator==(const Mark&) const = default;
    };
    std::optional<Mark> mark();
    std::optional<std::uint64_t> digest();

    store::Table& table_;
    std::optional<Mark> seen_;
    std::uint64_t digest_ = 0;
};

}  // namespace plorix::data
