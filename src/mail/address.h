#pragma once
// Addresses, newsgroups and server names as the user types them, checked
// before anything is sent: a value that would not survive the trip to the
// server (a typing slip, a line break, a second address hidden in the first)
// is refused with a result the user can read.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mail/job.h"
#include "mail/result.h"

namespace plorix::mail {

// A bare address local@domain: a dot-atom or quoted local part of at most 64
// characters, and a domain of letters, digits and hyphens (or an address in
// brackets); at most 254 characters, no blanks, controls or angle brackets.
bool isValidAddress(std::string_view address);

// A newsgroup name: dot-separated parts of letters, digits, "+", "-" and "_".
bool isValidNewsgroup(std::string_view group);

// The entries of an address field as users fill it: addresses separated by
// "," or ";", each bare or as "Name <address>". The name of a bare entry is
// `name`. Entries are not checked here.
std::vector<MailRecipient> splitRecipients(std::string_view field, std::string_view name = {});

// "host", "host:port", "[v6 address]:port" or a bare v6 address.
struct ServerAddress {
    std::string host;
    int port = 0;
};
std::optional<ServerAddress> parseServer(std::string_view server, int defaultPort);

// Checks a job before its transfer starts: the server, the sender, every
// recipient (newsgroups for news), the log-in name. Nullopt when it may go.
std::optional<MailResult> checkMailJob(const MailJob& job);

}  // namespace plorix::mail
