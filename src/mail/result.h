#pragma once
// The outcome of sending a message: a result code with its text, as the
// event log and the error boxes show it.

#include <string>
#include <string_view>

namespace plorix::mail {

enum MailCode : int {
    kMailSent = 0,
    kMailBadArguments = 1,
    kMailNoTempFile = 2,
    kMailNoSockets = 3,
    kMailUnresolvedHost = 4,
    kMailNoSocket = 5,
    kMailConnectFailed = 6,
    kMailSendFailed = 7,
    kMailReceiveFailed = 8,
    kMailServerError = 9,
    kMailUnresolvedHostName = 10,
    kMailOutOfMemory = 11,
    kMailTempFileFailed = 12,
    kMailUnknownError = 13,
    kMailUserCancel = 14,
    // Refused before anything was sent, so a typing slip in an address or a
    // missing attachment says what is wrong instead of "Unknown error".
    kMailInvalidAddress = 15,
    kMailAttachmentUnreadable = 16,
};

// Codes above this one, which older senders answered for a message that went
// out, count as success.
inline constexpr int kMailSuccessAbove = 1000;

struct MailResult {
    int code = kMailSent;
    // What the code alone does not say: the server's reply, the address that
    // was refused, the attachment that could not be read. Empty when none.
    std::string detail;

    bool ok() const { return code == kMailSent; }
};

// The text of a code ("Failed to connect"); "Unknown error" for codes
// outside the table.
std::string_view mailCodeText(int code);
// The code's text, followed by ": " and the detail when there is one.
std::string mailErrorText(const MailResult& result);
// A raw result as a sender answered it: above 1000 becomes success.
MailResult settleMailResult(MailResult raw);

}  // namespace plorix::mail
