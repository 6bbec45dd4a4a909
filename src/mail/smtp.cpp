#include "mail/smtp.h"

#include <curl/curl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <mutex>

#include "mail/address.h"

namespace plorix::mail {
namespace {

constexpr int kImplicitTlsPort = 465;

struct CurlCodeMapping {
    CURLcode curl;
    MailCode code;
};

// libcurl's results as our codes; anything else is "Unknown error" with
// libcurl's own description as the detail.
constexpr std::array<CurlCodeMapping, 19> kCurlCodes{{
    {CURLE_ABORTED_BY_CALLBACK, kMailUserCancel},   {CURLE_COULDNT_RESOLVE_HOST, kMailUnresolvedHost},
    {CURLE_COULDNT_CONNECT, kMailConnectFailed},    {CURLE_SEND_ERROR, kMailSendFailed},
    {CURLE_UPLOAD_FAILED, kMailSendFailed},         {CURLE_RECV_ERROR, kMailReceiveFailed},
    {CURLE_GOT_NOTHING, kMailReceiveFailed},        {CURLE_WEIRD_SERVER_REPLY, kMailReceiveFailed},
    {CURLE_OUT_OF_MEMORY, kMailOutOfMemory},        {CURLE_LOGIN_DENIED, kMailServerError},
    {CURLE_AUTH_ERROR, kMailServerError},           {CURLE_USE_SSL_FAILED, kMailConnectFailed},
    {CURLE_SSL_CONNECT_ERROR, kMailConnectFailed},  {CURLE_PEER_FAILED_VERIFICATION, kMailConnectFailed},
    {CURLE_SSL_CACERT_BADFILE, kMailConnectFailed}, {CURLE_SSL_CERTPROBLEM, kMailConnectFailed},
    {CURLE_SSL_CIPHER, kMailConnectFailed},         {CURLE_FAILED_INIT, kMailNoSockets},
    {CURLE_URL_MALFORMAT, kMailBadArguments},
}};

// Codes after which another message over the same server cannot succeed.
bool endsTheConnection(int code) { return code != kMailServerError && code != kMailInvalidAddress; }

void initialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What one transfer keeps while libcurl runs it.
struct Session {
    TransferLog& log;
    const std::atomic<bool>& cancel;
    std::string_view message;
    std::size_t sent = 0;
    std::string refusal;  // the first reply of the server that refused something
};

void forEachLine(std::string_view text, auto&& each) {
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty()) each(line);
        pos = end + 1;
    }
}

int onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
    Session& session = *static_cast<Session*>(user);
    const std::string_view text(data, size);
    switch (type) {
    case CURLINFO_HEADER_IN:
        forEachLine(text, [&](std::string_view line) {
            session.log.reply(line);
            if (session.refusal.empty() && (line.front() == '4' || line.front() == '5'))
                session.refusal = line;
        });
        break;
    case CURLINFO_HEADER_OUT:
        forEachLine(text, [&](std::string_view line) { session.log.command(line); });
        break;
    case CURLINFO_TEXT: forEachLine(text, [&](std::string_view line) { session.log.note(line); }); break;
    default: break;
    }
    return 0;
}

std::size_t onRead(char* buffer, std::size_t size, std::size_t count, void* user) {
    Session& session = *static_cast<Session*>(user);
    const std::size_t n = std::min(size * count, session.message.size() - session.sent);
    std::memcpy(buffer, session.message.data() + session.sent, n);
    session.sent += n;
    return n;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Session*>(user)->cancel.load() ? 1 : 0;
}

std::string ehloName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || !isValidAddress(std::string("x@") + name))
        return "localhost";
    return name;
}

// `user` goes into the address when its password is to be found in
// ~/.netrc: libcurl looks a password up there only for a user named so.
std::string smtpUrl(CURL* curl, const ServerAddress& server, const std::string& user) {
    const bool v6 = server.host.find(':') != std::string::npos;
    std::string login;
    if (!user.empty()) {
        char* escaped = curl_easy_escape(curl, user.c_str(), static_cast<int>(user.size()));
        login = std::string(escaped ? escaped : "") + "@";
        curl_free(escaped);
    }
    const std::string host = v6 ? "[" + server.host + "]" : server.host;
    return std::string(server.port == kImplicitTlsPort ? "smtps://" : "smtp://") + login + host + ":" +
           std::to_string(server.port) + "/" + ehloName();
}

MailResult resultOf(CURLcode rc, CURL* curl, const Session& session, const char* errorText) {
    if (rc == CURLE_OK) return {};
    if (rc == CURLE_ABORTED_BY_CALLBACK) return {kMailUserCancel, {}};
    if (!session.refusal.empty()) return {kMailServerError, session.refusal};
    if (rc == CURLE_OPERATION_TIMEDOUT) {
        curl_off_t connected = 0;
        curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &connected);
        return {connected > 0 ? kMailReceiveFailed : kMailConnectFailed, "timed out"};
    }
    if (rc == CURLE_COULDNT_CONNECT) {
        // The system's reason ("Connection refused"), as the news poster gives it.
        long osError = 0;
        curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osError);
        return {kMailConnectFailed, osError ? std::strerror(static_cast<int>(osError)) : ""};
    }
    const std::string detail = *errorText ? errorText : curl_easy_strerror(rc);
    for (const auto& m : kCurlCodes)
        if (m.curl == rc) return {m.code, m.code == kMailConnectFailed ? detail : std::string()};
    return {kMailUnknownError, detail};
}

using CurlHandle = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using CurlList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

CurlList envelope(const std::vector<const MailRecipient*>& recipients) {
    curl_slist* list = nullptr;
    for (const MailRecipient* r : recipients)
        list = curl_slist_append(list, ("<" + r->address + ">").c_str());
    return {list, &curl_slist_free_all};
}

}  // namespace

MailResult sendSmtp(const MailJob& job, const std::vector<AttachmentFile>& files,
                    const std::atomic<bool>& cancel, TransferLog& log) {
    initialiseCurl();
    const auto server = parseServer(job.server, kDefaultSmtpPort);
    if (!server) return {kMailUnresolvedHost, job.server};
    CurlHandle curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) return {kMailNoSockets, {}};

    Session session{log, cancel, {}};
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    const bool netrc = !job.user.empty() && job.password.empty();
    const std::string url = smtpUrl(c, *server, netrc ? job.user : std::string());
    const std::string from = "<" + job.senderAddress + ">";
    const long timeout = job.timeout();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    if (!job.caFile.empty()) curl_easy_setopt(c, CURLOPT_CAINFO, job.caFile.c_str());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, timeout);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, timeout);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, onDebug);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &session);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &session);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, onRead);
    curl_easy_setopt(c, CURLOPT_READDATA, &session);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.c_str());
    if (netrc) {
        curl_easy_setopt(c, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
    } else if (!job.user.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, job.user.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, job.password.c_str());
    }

    // One message with every recipient, or one per To entry.
    std::vector<std::vector<const MailRecipient*>> batches;
    if (job.separately) {
        for (const MailRecipient& r : job.to) batches.push_back({&r});
    } else {
        batches.emplace_back();
        for (const auto* list : {&job.to, &job.cc, &job.bcc})
            for (const MailRecipient& r : *list) batches.back().push_back(&r);
    }

    MailResult first;
    for (const auto& batch : batches) {
        std::vector<MailRecipient> headerTo;
        if (job.separately) {
            headerTo.push_back(*batch.front());
        } else {
            headerTo = job.to;
        }
        const std::string message = composeMessage(job, headerTo, files);
        const CurlList rcpt = envelope(batch);
        session.message = message;
        session.sent = 0;
        session.refusal.clear();
        errorText[0] = '\0';
        curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());
        curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
        log.note("message of " + std::to_string(message.size()) + " bytes");
        const MailResult result = resultOf(curl_easy_perform(c), c, session, errorText);
        if (!result.ok()) {
            if (first.ok()) first = result;
            if (endsTheConnection(result.code)) break;
        }
    }
    return first;
}

}  // namespace plorix::mail
