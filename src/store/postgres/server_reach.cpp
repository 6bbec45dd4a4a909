#include "store/postgres/server_reach.h"

#include <libpq-fe.h>

#include <algorithm>
#include <map>
#include <mutex>

namespace plorix::store::postgres {
namespace {

using Clock = std::chrono::steady_clock;

struct Reach {
    long tried = 0;
    int failures = 0;  // in a row
    Clock::time_point retryAt{};
    bool probing = false;
    bool lost = false;  // a connection to it broke: the next connect is a probe
    std::string failure;
};

std::mutex reachMutex;
std::map<std::string, Reach>& reaches() {
    static std::map<std::string, Reach> servers;
    return servers;
}

// libpq's options ahead of the URL's own, which win over them. Over TCP a
// connection whose server stops acknowledging is given up after the connect
// time-out, and an idle one (the listener's) is probed, so that a server
// gone from the network is noticed instead of waited for.
struct Options {
    std::string timeout = std::to_string(kConnectTimeoutSeconds);
    std::string unacknowledged = std::to_string(kConnectTimeoutSeconds * 1000);
    const char* keywords[8] = {
        "connect_timeout",  "tcp_user_timeout", "keepalives_idle", "keepalives_interval",
        "keepalives_count", "application_name", "dbname",          nullptr};
    const char* values[8];
    Options(const std::string& url, const std::string& application)
        : values{timeout.c_str(), unacknowledged.c_str(), "30", "10", "3", application.c_str(), url.c_str(),
                 nullptr} {}
};

}  // namespace

std::string firstLine(const char* text) {
    std::string line = text ? text : "";
    if (const auto end = line.find('\n'); end != std::string::npos) line.erase(end);
    return line;
}

ConnectAttempt::ConnectAttempt(std::string url) : url_(std::move(url)) {
    std::lock_guard lock(reachMutex);
    Reach& reach = reaches()[url_];
    if (reach.failures > 0 || reach.lost) {
        if (reach.probing || Clock::now() < reach.retryAt) {
            heldBack_ = reach.failure;
            return;
        }
        reach.probing = probe_ = true;
    }
    ++reach.tried;
    admitted_ = true;
}

ConnectAttempt::~ConnectAttempt() {
    if (admitted_ && !told_) failed("the connect was abandoned");
}

void ConnectAttempt::succeeded() {
    if (!admitted_ || told_) return;
    told_ = true;
    std::lock_guard lock(reachMutex);
    Reach& reach = reaches()[url_];
    reach.failures = 0;
    reach.probing = reach.lost = false;
}

void ConnectAttempt::failed(const std::string& message) {
    if (!admitted_ || told_) return;
    told_ = true;
    std::lock_guard lock(reachMutex);
    Reach& reach = reaches()[url_];
    // Connects begun together before the first failure was known end in
    // one failure, not one each.
    if (!probe_ && reach.failures > 0) return;
    reach.probing = false;
    const int doublings = std::min(reach.failures++, 5);
    reach.retryAt = Clock::now() + std::min(kFirstBackoff * (1 << doublings), kLongestBackoff);
    reach.failure = message;
}

void connectionBroke(const std::string& url, const std::string& message) {
    std::lock_guard lock(reachMutex);
    Reach& reach = reaches()[url];
    if (reach.failures > 0 || reach.lost) return;
    reach.lost = true;
    reach.failure = message;
}

std::chrono::milliseconds backoffLeft(const std::string& url) {
    std::lock_guard lock(reachMutex);
    const auto it = reaches().find(url);
    if (it == reaches().end() || it->second.failures == 0) return {};
    const auto left = it->second.retryAt - Clock::now();
    return std::max(std::chrono::ceil<std::chrono::milliseconds>(left), std::chrono::milliseconds(0));
}

long connectsTried(const std::string& url) {
    std::lock_guard lock(reachMutex);
    const auto it = reaches().find(url);
    return it == reaches().end() ? 0 : it->second.tried;
}

pg_conn* connectServer(const std::string& url, const std::string& application, std::string& why) {
    ConnectAttempt attempt(url);
    if (!attempt.admitted()) {
        why = attempt.heldBack();
        return nullptr;
    }
    const Options options(url, application);
    PGconn* connection = PQconnectdbParams(options.keywords, options.values, 1);
    if (PQstatus(connection) == CONNECTION_OK) {
        attempt.succeeded();
        return connection;
    }
    why = firstLine(PQerrorMessage(connection));
    attempt.failed(why);
    PQfinish(connection);
    return nullptr;
}

pg_conn* startConnect(const std::string& url, const std::string& application) {
    const Options options(url, application);
    return PQconnectStartParams(options.keywords, options.values, 1);
}

}  // namespace plorix::store::postgres
