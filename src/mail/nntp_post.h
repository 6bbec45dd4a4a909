#pragma once
// Posting a news article with our own small NNTP client: the greeting,
// AUTHINFO USER/PASS when the job names a user, POST, the article, QUIT.

#include <atomic>
#include <string>

#include "mail/job.h"
#include "mail/result.h"
#include "mail/transfer_log.h"

namespace plorix::mail {

// Posts `article` (composed, lines ending in CR LF) to the job's server. A
// reply other than the expected one is kMailServerError with the reply as
// its detail.
MailResult postNews(const MailJob& job, const std::string& article, const std::atomic<bool>& cancel,
                    TransferLog& log);

// The article as it goes over the wire: every line that starts with a dot
// gets a second one, and a line with a single dot ends it.
std::string dotStuffed(const std::string& article);

}  // namespace plorix::mail
