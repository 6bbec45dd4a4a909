#pragma once
// Send: every task of this installation with its script items, and every
// to-do item, written into a new transfer file for another installation to
// receive. Tasks go in name order, 25 per step, whatever their owner, state
// or flags.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "io/complete_scan.h"
#include "io/stepped_job.h"
#include "store/transaction.h"
#include "sync/local_tables.h"
#include "sync/transfer_file.h"

namespace plorix::sync {

class SyncSendJob final : public io::SteppedJob {
public:
    SyncSendJob(std::string file, Prompter& prompter);
    ~SyncSendJob() override;

    std::uint64_t tasksSent() const { return tasks_; }
    std::uint64_t itemsSent() const { return items_; }
    std::uint64_t todosSent() const { return todos_; }

private:
    bool prepare() override;
    bool work(int count) override;
    void finish(State state) override;
    int sendTask();
    int sendTodos();
    // Shows the failure with the store's last error and ends the run.
    void failWith(std::string_view what);

    TransferFile transfer_;
    std::unique_ptr<LocalTables> local_;
    std::unique_ptr<io::CompleteScan> scan_;
    std::optional<store::Transaction> batch_;  // the whole file is one batch of writes
    std::uint64_t total_ = 0;
    std::uint64_t tasks_ = 0;
    std::uint64_t items_ = 0;
    std::uint64_t todos_ = 0;
};

// Runs a whole send; true when it completed.
bool syncSend(const std::string& file, Prompter& prompter);

}  // namespace plorix::sync
