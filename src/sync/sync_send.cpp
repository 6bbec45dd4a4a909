#include "sync/sync_send.h"

#include "data/warnings.h"
#include "io/exchange_files.h"

namespace plorix::sync {

SyncSendJob::SyncSendJob(std::string file, Prompter& prompter) : SteppedJob(prompter), transfer_(file) {}

SyncSendJob::~SyncSendJob() { abandon(); }

bool SyncSendJob::prepare() {
    if (const std::string why = io::protectedFile(transfer_.path(), io::Replacement::TransferFile);
        !why.empty()) {
        fail(kSyncTitle, why);
        return false;
    }
    local_ = std::make_unique<LocalTables>(prompter());
    const auto count = local_->schedule().records();
    total_ = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    if (const std::string why = transfer_.create(); !why.empty()) {
        fail(kSyncTitle, why);
        return false;
    }
    batch_.emplace(transfer_.schedule());
    if (!batch_->ok()) {
        batch_.reset();
        failWith("Cannot write " + transfer_.file());
        return false;
    }
    openProgress("Processing Records", "Sending");
    store::Table& schedule = local_->schedule();
    schedule.sendOption("QUICKSCAN=on");
    scan_ = std::make_unique<io::CompleteScan>(schedule, data::keys::Schedule::KEYTASKNAME);
    scan_->start();
    return true;
}

bool SyncSendJob::work(int count) {
    store::Table& schedule = local_->schedule();
    bool more = true;
    for (int i = 0; more && i < count; ++i) {
        const int code = scan_->next();
        if (code == store::kRecordNotAvailable) {
            more = false;
        } else if (code != store::kNoError) {
            // A transfer file that stopped at a damaged record would pass
            // for the whole schedule on the other side: nothing is sent.
            data::standardWarning(prompter(), data::Warning::RecordRetrievalError, schedule.name());
            failWith("Reading " + schedule.name() + " failed");
            return false;
        } else if (sendTask() != store::kNoError) {
            failWith("Cannot write " + transfer_.file());
            return false;
        }
    }
    meter().update(tasks_, total_);
    return more;
}

int SyncSendJob::sendTask() {
    store::Table& from = local_->schedule();
    store::Table& to = transfer_.schedule();
    store::copyByName(from.schema(), from.buffer(), to.schema(), to.buffer());
    if (const int code = to.add()) return code;
    ++tasks_;
    store::Table& items = transfer_.scripting();
    return forEachScriptItem(local_->scripting(), from.rec<data::Schedule>().ID, [&] {
        store::Table& item = local_->scripting();
        store::copyByName(item.schema(), item.buffer(), items.schema(), items.buffer());
        const int code = items.add();
        if (code == store::kNoError) ++items_;
        return code;
    });
}

int SyncSendJob::sendTodos() {
    store::Table& from = local_->todo();
    store::Table& to = transfer_.todo();
    from.sendOption("QUICKSCAN=on");
    from.setStart(-1);
    int code;
    while ((code = from.next()) == store::kNoError) {
        store::copyByName(from.schema(), from.buffer(), to.schema(), to.buffer());
        if ((code = to.add()) != store::kNoError) break;
        ++todos_;
    }
    from.sendOption("QUICKSCAN=off");
    return code == store::kRecordNotAvailable ? store::kNoError : code;
}

void SyncSendJob::failWith(std::string_view what) {
    fail(kSyncTitle, std::string(what) + ": " + store::lastError().describe() + ".");
}

void SyncSendJob::finish(State state) {
    if (local_) local_->schedule().sendOption("QUICKSCAN=off");
    meter().finish();
    if (state == State::Completed && sendTodos() != store::kNoError)
        failWith("Cannot write " + transfer_.file());
    if (batch_) {
        if (this->state() != State::Failed && batch_->commit() != store::kNoError)
            failWith("Cannot write " + transfer_.file());
        batch_.reset();  // rolls back what a failed run wrote
    }
    // A file that stopped half-way on an error would pass for a whole one.
    if (this->state() == State::Failed)
        transfer_.remove();
    else if (const std::string why = transfer_.commit(); !why.empty())
        fail(kSyncTitle, why);
    local_.reset();
}

bool syncSend(const std::string& file, Prompter& prompter) {
    SyncSendJob job(file, prompter);
    return job.run();
}

}  // namespace plorix::sync
