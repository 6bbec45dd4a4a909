#pragma once
// A line-oriented TCP connection for the news poster: connecting, sending and
// reading lines with a time-out on every wait and a cancel flag looked at
// every tenth of a second, so a dead or silent server never holds the
// transfer for longer than the time-out.

#include <atomic>
#include <string>
#include <string_view>

#include "mail/result.h"

namespace plorix::mail {

class LineSocket {
public:
    // `timeoutSeconds` bounds the connection attempt and each silence of the
    // server while we wait to send or to read.
    LineSocket(const std::atomic<bool>& cancel, int timeoutSeconds);
    ~LineSocket();
    LineSocket(const LineSocket&) = delete;
    LineSocket& operator=(const LineSocket&) = delete;

    // kMailUnresolvedHost, kMailNoSocket, kMailConnectFailed, kMailUserCancel.
    MailResult connect(const std::string& host, int port);
    // kMailSendFailed, kMailUserCancel.
    MailResult send(std::string_view bytes);
    // One line without its line end; kMailReceiveFailed when the server closes
    // the connection or stays silent too long, kMailUserCancel.
    MailResult readLine(std::string& line);

private:
    // Waits for `events` on the socket, using up slices of silence: 0 when
    // ready, else the result code for a time-out (`timeoutCode`) or a cancel.
    int wait(short events, int timeoutCode, int& slicesLeft);
    const std::atomic<bool>& cancel_;
    int timeoutSlices_;
    int fd_ = -1;
    std::string buffer_;
};

}  // namespace plorix::mail
