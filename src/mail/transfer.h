#pragma once
// Transferring a mail job: checking it, reading its attachments, composing
// the message and handing it to the SMTP or NNTP sender, with the
// conversation kept in the job's transfer log.
//
// A transfer can block for as long as its time-out, so the program runs it on
// a worker thread and asks on each tick whether it has ended:
//
//     MailTransfer transfer(std::move(job));    // the worker starts at once
//     if (transfer.finished()) use(transfer.result());
//
// The worker touches nothing but the job (a copy of its own), the attachment
// files and the transfer log.

#include <atomic>
#include <thread>

#include "mail/job.h"
#include "mail/result.h"

namespace plorix::mail {

// Runs the whole transfer on the calling thread.
MailResult transferMail(const MailJob& job, const std::atomic<bool>& cancel);

class MailTransfer {
public:
    explicit MailTransfer(MailJob job);
    // Cancels a transfer still running and waits for its worker (a fraction of a second).
    ~MailTransfer();
    MailTransfer(const MailTransfer&) = delete;
    MailTransfer& operator=(const MailTransfer&) = delete;

    const MailJob& job() const { return job_; }
    bool finished() const { return done_.load(std::memory_order_acquire); }
    // The outcome; only once finished().
    const MailResult& result() const { return result_; }
    // Blocks until the transfer has ended and gives its outcome.
    const MailResult& wait();
    // Asks the transfer to stop; it ends with kMailUserCancel unless it was done.
    void cancel() { cancel_.store(true); }

private:
    MailJob job_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    MailResult result_;
    std::thread worker_;
};

}  // namespace plorix::mail
