#pragma once
// A mail job: everything a sender needs to transfer one stored message as an
// e-mail or a news article. It is built on the frame's thread from the
// message, the settings and the contacts, and then handed whole to the
// transfer's worker thread, which touches nothing else.
//
// The job keeps the fields of the parameter block the program has always
// handed to its mail sender, under names that say what they hold. The block's
// constant slots (a reserved empty text, the bytes 3 and 6, two zero numbers,
// a zero byte and the result slots that were reset unread) carry nothing and
// are not kept; the attachment flag (always 8) is not kept either.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plorix::mail {

enum class MailKind : std::uint8_t { Email = 1, News = 2 };

// One entry of a To, Cc or Bcc list. For news the address is a newsgroup.
struct MailRecipient {
    std::string name;     // display name; may be empty
    std::string address;  // bare address, without angle brackets
};

inline constexpr int kDefaultSmtpPort = 25;
inline constexpr int kDefaultNntpPort = 119;
// How long a sender waits for a connection, and then for each answer of the
// server, unless the job says otherwise.
inline constexpr int kDefaultMailTimeoutSeconds = 30;

// The transfer logs kept in the data folder.
inline constexpr std::string_view kMailTransferLog = "inmail.log";
inline constexpr std::string_view kNewsTransferLog = "inserver.log";

struct MailJob {
    MailKind kind = MailKind::Email;
    std::string server;       // host name or address, optionally ":port"
    std::string programName;  // the sending program, shown to the recipient
    std::string senderName;
    std::string senderAddress;
    std::string organisation;  // empty: no organisation line
    std::string subject;       // after value substitution
    std::vector<MailRecipient> to;
    std::vector<MailRecipient> cc;
    std::vector<MailRecipient> bcc;        // envelope only: never in the headers
    std::string user;                      // log-in name; empty: no authentication
    std::string password;                  // empty for e-mail: looked up in ~/.netrc
    std::string body;                      // after value substitution
    std::vector<std::string> attachments;  // file names, relative to the data folder
    std::string logFile;                   // transfer log; empty: none

    // Our own additions to the block.
    // Each To entry gets a message of its own that names only that entry, so
    // no recipient of a mass mailing learns the others' addresses.
    bool separately = false;
    int timeoutSeconds = 0;  // 0: kDefaultMailTimeoutSeconds
    std::string date;        // the Date header, taken from the program's clock
    std::string caFile;      // certificates to trust for TLS; empty: the system's

    int timeout() const { return timeoutSeconds > 0 ? timeoutSeconds : kDefaultMailTimeoutSeconds; }
};

}  // namespace plorix::mail
