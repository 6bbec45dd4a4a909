#pragma once
// Sending an e-mail job by SMTP through libcurl: STARTTLS whenever the server
// offers it (implicit TLS on port 465), log-in when the job names a user,
// time-outs on the connection and on every answer, and a cancel flag that
// ends the transfer within a fraction of a second.

#include <atomic>
#include <vector>

#include "mail/compose.h"
#include "mail/job.h"
#include "mail/result.h"
#include "mail/transfer_log.h"

namespace plorix::mail {

// The job must have passed checkMailJob. A job sent `separately` is one
// message per To entry over the same connection; a recipient the server
// refuses does not stop the others, a lost connection does. The result is
// the first failure, or success.
MailResult sendSmtp(const MailJob& job, const std::vector<AttachmentFile>& files,
                    const std::atomic<bool>& cancel, TransferLog& log);

}  // namespace plorix::mail
