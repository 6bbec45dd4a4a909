#pragma once
// Receive: a transfer file merged into this installation's tasks, script
// items and to-do items. A received task replaces the local tasks of the
// same name and category unless a local copy was changed later; a received
// to-do item replaces the local items of the same text that are older.
// Identifiers are never used to match: a received task takes the next free
// local identifier, and its script items follow it there.
//
// The file is checked whole before anything local is touched, and the merge
// is one transaction: a file that is not a transfer file, has another key or
// was cut short, and any failure on the way, leave the local tables as they
// were, and so does Cancel: half a merge would leave tasks of the file
// without the to-do items sent with them.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>

#include "io/complete_scan.h"
#include "io/stepped_job.h"
#include "sync/local_tables.h"
#include "sync/transfer_file.h"

namespace plorix::sync {

struct ReceiveCounts {
    std::uint64_t tasksAdded = 0;     // received tasks added as local tasks
    std::uint64_t tasksReplaced = 0;  // local tasks deleted for a received copy
    std::uint64_t tasksDropped = 0;   // received tasks left out for a newer local copy
    std::uint64_t itemsAdded = 0;
    std::uint64_t todosAdded = 0;
    std::uint64_t todosReplaced = 0;
    std::uint64_t todosDropped = 0;
};

// The job may run on another thread than the one that made it: it keeps
// the data folder and the transfer file as absolute paths from the start.
class SyncReceiveJob final : public io::SteppedJob {
public:
    SyncReceiveJob(std::string file, Prompter& prompter);
    ~SyncReceiveJob() override;

    const ReceiveCounts& counts() const { return counts_; }

private:
    bool prepare() override;
    bool work(int count) override;
    void finish(State state) override;

    int mergeTask();
    int deleteLocalTask(std::int64_t position, std::int32_t id);
    int addReceivedTask(std::int32_t receivedId);
    int nextFreeTaskId(std::int32_t& id);
    int mergeTodos();
    int mergeTodo();
    // Shows the failure with the store's last error and ends the run; the
    // merge is rolled back.
    void failWith(std::string_view what);

    std::string folder_;  // the data folder
    TransferFile transfer_;
    bool isDataFile_;  // the file chosen is the data file itself
    std::unique_ptr<LocalTables> local_;
    std::unique_ptr<io::CompleteScan> scan_;
    std::shared_ptr<void> received_;  // the received task as a local record
    bool merging_ = false;
    std::uint64_t total_ = 0;
    std::uint64_t done_ = 0;
    // Records this run added are never taken for local copies of a later
    // received record: two received tasks of one name both arrive.
    std::unordered_set<std::int32_t> addedTasks_;
    std::unordered_set<std::int64_t> addedTodos_;
    ReceiveCounts counts_;
};

// Runs a whole receive; true when it completed.
bool syncReceive(const std::string& file, Prompter& prompter);

}  // namespace plorix::sync
