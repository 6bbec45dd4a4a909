#include "mail/transfer.h"

#include "mail/address.h"
#include "mail/compose.h"
#include "mail/smtp.h"
#include "mail/transfer_log.h"
#include "mail/nntp_post.h"

namespace plorix::mail {

MailResult transferMail(const MailJob& job, const std::atomic<bool>& cancel) {
    TransferLog log(job.logFile, job.programName + " " + job.date + " " + job.server);
    MailResult result;
    std::vector<AttachmentFile> files;
    if (auto refused = checkMailJob(job)) {
        result = *refused;
    } else if (auto unreadable = readAttachments(job, files)) {
        result = *unreadable;
    } else if (job.kind == MailKind::News) {
        result = postNews(job, composeMessage(job, job.to, files), cancel, log);
    } else {
        result = sendSmtp(job, files, cancel, log);
    }
    log.note(result.ok() ? "sent" : mailErrorText(result));
    return result;
}

MailTransfer::MailTransfer(MailJob job) : job_(std::move(job)) {
    worker_ = std::thread([this] {
        result_ = transferMail(job_, cancel_);
        done_.store(true, std::memory_order_release);
    });
}

MailTransfer::~MailTransfer() {
    cancel();
    if (worker_.joinable()) worker_.join();
}

const MailResult& MailTransfer::wait() {
    if (worker_.joinable()) worker_.join();
    return result_;
}

}  // namespace plorix::mail
