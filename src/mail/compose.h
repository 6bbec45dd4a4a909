#pragma once
// Writing a job out as the text a mail or news server receives: the headers
// (every value made header-safe, so no value can add a header of its own),
// the body, and the attachments as MIME parts.

#include <optional>
#include <string>
#include <vector>

#include "runtime/date_time.h"
#include "mail/job.h"
#include "mail/result.h"

namespace plorix::mail {

struct AttachmentFile {
    std::string fileName;  // the name the recipient sees
    std::string contentType;
    std::string bytes;
};

// Files larger than this are refused rather than read into memory whole.
inline constexpr std::size_t kMaxAttachmentBytes = 32u << 20;

// Reads the job's attachments; a file that cannot be read gives
// kMailAttachmentUnreadable naming it.
std::optional<MailResult> readAttachments(const MailJob& job, std::vector<AttachmentFile>& files);

// The message text, lines ending in CR LF. `to` are the entries of its To
// header (a mass mailing writes one message per entry); Bcc entries never
// appear. For news the To entries are the newsgroups.
std::string composeMessage(const MailJob& job, const std::vector<MailRecipient>& to,
                           const std::vector<AttachmentFile>& files);

// "Name <address>", or the bare address when there is no name.
std::string mailbox(const MailRecipient& recipient);

// An RFC 5322 date ("Sat, 31 Oct 1959 17:30:00 +0100") of a local moment.
std::string mailDate(Moment local);

}  // namespace plorix::mail
