#include "mail/nntp_socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace plorix::mail {
namespace {

// Waits are cut into slices of this length, so a cancel is seen quickly.
// A time-out is counted in slices of silence rather than read from a clock.
constexpr int kSliceMilliseconds = 100;
constexpr std::size_t kMaxLine = 4096;

}  // namespace

LineSocket::LineSocket(const std::atomic<bool>& cancel, int timeoutSeconds)
    : cancel_(cancel), timeoutSlices_(timeoutSeconds * 1000 / kSliceMilliseconds) {}

LineSocket::~LineSocket() {
    if (fd_ >= 0) ::close(fd_);
}

int LineSocket::wait(short events, int timeoutCode, int& slicesLeft) {
    for (; slicesLeft > 0; --slicesLeft) {
        if (cancel_.load()) return kMailUserCancel;
        pollfd p{fd_, events, 0};
        const int n = ::poll(&p, 1, kSliceMilliseconds);
        if (n > 0) return 0;
        if (n < 0 && errno != EINTR) return timeoutCode;
    }
    return cancel_.load() ? kMailUserCancel : timeoutCode;
}

MailResult LineSocket::connect(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int rc = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &found); rc != 0)
        return {kMailUnresolvedHost, host};
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);
    MailResult result{kMailConnectFailed, {}};
    int slicesLeft = timeoutSlices_;  // one time-out for all the host's addresses
    for (const addrinfo* a = found; a; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            result = {kMailNoSocket, std::strerror(errno)};
            continue;
        }
        fd_ = fd;
        int error = 0;
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            error = errno;
            if (error == EINPROGRESS) {
                const int waited = wait(POLLOUT, kMailConnectFailed, slicesLeft);
                if (waited == kMailUserCancel) return {kMailUserCancel, {}};
                socklen_t length = sizeof error;
                if (waited != 0) {
                    error = ETIMEDOUT;
                } else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
                    error = errno;
                }
            }
        }
        if (error == 0) return {};
        result = {kMailConnectFailed, error == ETIMEDOUT ? "timed out" : std::strerror(error)};
        ::close(fd);
        fd_ = -1;
    }
    return result;
}

MailResult LineSocket::send(std::string_view bytes) {
    while (!bytes.empty()) {
        int slicesLeft = timeoutSlices_;
        if (const int waited = wait(POLLOUT, kMailSendFailed, slicesLeft); waited != 0) return {waited, {}};
        const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return {kMailSendFailed, std::strerror(errno)};
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

MailResult LineSocket::readLine(std::string& line) {
    while (true) {
        if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
            line = buffer_.substr(0, end);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            buffer_.erase(0, end + 1);
            return {};
        }
        if (buffer_.size() > kMaxLine) return {kMailReceiveFailed, "reply too long"};
        int slicesLeft = timeoutSlices_;
        if (const int waited = wait(POLLIN, kMailReceiveFailed, slicesLeft); waited != 0)
            return {waited, waited == kMailReceiveFailed ? "timed out" : ""};
        char chunk[1024];
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n == 0) return {kMailReceiveFailed, "connection closed"};
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return {kMailReceiveFailed, std::strerror(errno)};
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

}  // namespace plorix::mail
