#include "sync/sync_send.h"

#include "data/warnings.h"
#include "io/exchange_files.h"

namespace plorix::sync {

SyncSendJob::SyncSendJob(std::string file, Prompter& prompter)
    : SteppedJob(prompter), transfer_(file) {}

SyncSendJob::~SyncSendJob() { abandon(); }

bool SyncSendJob::prepare() {
    if (io::isDataFile(transfer_.path())) {
        fail(kSyncTitle, transfer_.file() + " is the data file; choose another name for the transfer file.");
        return false;
    }
    local_ = std::make_unique<LocalTables>(prompter());
    const auto count = local_->schedule().records();
    total_ = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    if (const std::string why = transfer_.create(); !why.empty()) {
        fail(kSyncTitle, why);
        return false;
    }
    // The whole file is one batch of writes.
    if (transfer_.schedule().stream() != data::kNoError) {
        failWith("Cannot write " + transfer_.file());
        return false;
    }
    writing_ = true;
    openProgress("Processing Records", "Sending");
    data::Table& schedule = local_->schedule();
    schedule.sendOption("QUICKSCAN=on");
    scan_ = std::make_unique<io::CompleteScan>(schedule, schedule.schema().keyIndex("SCH:KEYTASKNAME"));
    scan_->start();
    return true;
}

bool SyncSendJob::work(int count) {
    data::Table& schedule = local_->schedule();
    bool more = true;
    for (int i = 0; more && i < count; ++i) {
        const int code = scan_->next();
        if (code == data::kRecordNotAvailable) {
            more = false;
        } else if (code != data::kNoError) {
            // The tasks read so far are sent all the same.
            data::standardWarning(prompter(), 35, schedule.name());
            more = false;
        } else if (sendTask() != data::kNoError) {
            failWith("Cannot write " + transfer_.file());
            return false;
        }
    }
    meter().update(tasks_, total_);
    return more;
}

int SyncSendJob::sendTask() {
    data::Table& from = local_->schedule();
    data::Table& to = transfer_.schedule();
    data::copyByName(from.schema(), from.buffer(), to.schema(), to.buffer());
    if (const int code = to.add()) return code;
    ++tasks_;
    data::Table& items = transfer_.scripting();
    return forEachScriptItem(local_->scripting(), from.rec<data::Schedule>().ID, [&] {
        data::Table& item = local_->scripting();
        data::copyByName(item.schema(), item.buffer(), items.schema(), items.buffer());
        const int code = items.add();
        if (code == data::kNoError) ++items_;
        return code;
    });
}

int SyncSendJob::sendTodos() {
    data::Table& from = local_->todo();
    data::Table& to = transfer_.todo();
    from.sendOption("QUICKSCAN=on");
    from.setStart(-1);
    int code;
    while ((code = from.next()) == data::kNoError) {
        data::copyByName(from.schema(), from.buffer(), to.schema(), to.buffer());
        if ((code = to.add()) != data::kNoError) break;
        ++todos_;
    }
    from.sendOption("QUICKSCAN=off");
    return code == data::kRecordNotAvailable ? data::kNoError : code;
}

void SyncSendJob::failWith(std::string_view what) {
    fail(kSyncTitle, std::string(what) + ": " + data::lastError().describe() + ".");
}

void SyncSendJob::finish(State state) {
    if (local_) local_->schedule().sendOption("QUICKSCAN=off");
    meter().finish();
    if (state == State::Completed && sendTodos() != data::kNoError) failWith("Cannot write " + transfer_.file());
    if (writing_) {
        writing_ = false;
        if (this->state() == State::Failed) transfer_.schedule().rollback();
        else if (transfer_.schedule().flush() != data::kNoError) failWith("Cannot write " + transfer_.file());
    }
    // A file that stopped half-way on an error would pass for a whole one.
    if (this->state() == State::Failed) transfer_.remove();
    else transfer_.close();
    local_.reset();
}

bool syncSend(const std::string& file, Prompter& prompter) {
    SyncSendJob job(file, prompter);
    return job.run();
}

}  // namespace plorix::sync
