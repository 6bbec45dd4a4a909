#pragma once
// The one routine through which every table is opened, and the process-wide
// use counts that keep a table open while any window or task still uses it.
//
// A failure the program cannot continue from shows its standard warning and
// throws FatalError.

#include <string>

#include "store/store.h"
#include "runtime/prompter.h"

namespace plorix::data {

// Opens `table`, creating a missing file silently; recovers a lock once,
// offers to rebuild broken keys and upgrades older layouts. On return the
// table is open; otherwise FatalError has been thrown. With `shared` the
// given mode is ignored and the table is opened read/write, deny none.
void openTable(store::Table& table, Prompter& prompter, int mode = store::kReadWriteDenyNone,
               bool create = true, bool noCreate = false, bool shared = true);

// How long a locked file is waited for before the open gives up, in seconds
// (the driver's "Recover=N"; 10 unless changed, tests shorten it).
void setRecoverSeconds(int seconds);
int recoverSeconds();

struct OpenOptions {
    int mode = store::kReadWriteDenyNone;
    bool create = true;
    bool noCreate = false;
    bool shared = true;
};

// Use counts. acquireTable opens the table (through openTable) when nobody
// uses it yet, then counts this user; releaseTable uncounts and closes the
// table when its last user is gone. Counts belong to the Table object, which
// for the program's tables is the one object per stored name.
void acquireTable(store::Table& table, Prompter& prompter, const OpenOptions& options = {});
void releaseTable(store::Table& table);
int useCount(const store::Table& table);
// Forgets every count (with resetProcessTables, between tests).
void resetUseCounts();

// One use of a table for the lifetime of a window, a task or a command:
//     TableUse use(scheduleTable(), prompter);
class TableUse {
public:
    TableUse(store::Table& table, Prompter& prompter, const OpenOptions& options = {});
    ~TableUse();
    TableUse(TableUse&& other) noexcept;
    TableUse& operator=(TableUse&& other) noexcept;
    TableUse(const TableUse&) = delete;
    TableUse& operator=(const TableUse&) = delete;

    store::Table& table() const { return *table_; }
    store::Table* operator->() const { return table_; }
    void release();  // gives the use up early

private:
    store::Table* table_;
};

}  // namespace plorix::data
