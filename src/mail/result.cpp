#include "mail/result.h"

#include <array>
#include <utility>

namespace plorix::mail {
namespace {

constexpr std::array<std::pair<int, std::string_view>, 16> kTexts{{
    {kMailBadArguments, "Bad arguments from form"},
    {kMailNoTempFile, "Unable to open temporary mailfile for read"},
    {kMailNoSockets, "Failed to start sockets"},
    {kMailUnresolvedHost, "Failed to resolve host"},
    {kMailNoSocket, "Failed to obtain socket handle"},
    {kMailConnectFailed, "Failed to connect"},
    {kMailSendFailed, "Failed to send"},
    {kMailReceiveFailed, "Failed to receive"},
    {kMailServerError, "server error"},
    {kMailUnresolvedHostName, "Failed to resolve the host IP name"},
    {kMailOutOfMemory, "Out of memory"},
    {kMailTempFileFailed, "Failed to open temporary file"},
    {kMailUnknownError, "Unknown error"},
    {kMailUserCancel, "User Cancel"},
    {kMailInvalidAddress, "Invalid address"},
    {kMailAttachmentUnreadable, "Cannot read attachment"},
}};

}  // namespace

std::string_view mailCodeText(int code) {
    for (const auto& [c, text] : kTexts)
        if (c == code) return text;
    return "Unknown error";
}

std::string mailErrorText(const MailResult& result) {
    std::string text(mailCodeText(result.code));
    if (!result.detail.empty()) text += ": " + result.detail;
    return text;
}

MailResult settleMailResult(MailResult raw) {
    if (raw.code > kMailSuccessAbove) return {};
    return raw;
}

}  // namespace plorix::mail
