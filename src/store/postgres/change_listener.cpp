#include "store/postgres/change_listener.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "store/postgres/server_admin.h"
#include "store/postgres/server_reach.h"

namespace plorix::store::postgres {

std::string changeChannel(const std::string& schema) {
    std::string channel = "plorix_changes_" + schema;
    // The server cuts names to 63 bytes: two long schemas alike in their
    // first 48 would share a channel. Those are told apart by a digest.
    constexpr std::size_t kLongestName = 63;
    if (channel.size() <= kLongestName) return channel;
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const unsigned char c : schema) hash = (hash ^ c) * 1099511628211ull;
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(hash));
    return "plorix_changes_" + std::string(digest);
}

ChangeListener::ChangeListener(std::string url, std::string schema)
    : url_(std::move(url)), schema_(std::move(schema)) {}

ChangeListener::~ChangeListener() { close(); }

void ChangeListener::close() {
    PQfinish(connection_);
    connection_ = nullptr;
    attempt_.reset();
    step_ = Step::Failed;
}

ChangeListener::Step ChangeListener::fail(const std::string& why) {
    error_ = "the connection to " + describeServer(url_) + " is lost: " + why;
    if (attempt_) attempt_->failed(why);
    close();
    return step_;
}

ChangeListener::Step ChangeListener::start() {
    close();
    attempt_ = std::make_unique<ConnectAttempt>(url_);
    if (!attempt_->admitted()) return fail(attempt_->heldBack());
    connection_ = startConnect(url_, "plorix");
    giveUpAt_ = std::chrono::steady_clock::now() + std::chrono::seconds(kConnectTimeoutSeconds);
    if (PQstatus(connection_) == CONNECTION_BAD) return fail(firstLine(PQerrorMessage(connection_)));
    step_ = Step::Write;  // as libpq asks of a connect just begun
    return step_;
}

int ChangeListener::timeLeftMs() const {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(giveUpAt_ - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<long long>(left.count(), 0));
}

// The time-out covers the answer to LISTEN as well as the connect.
ChangeListener::Step ChangeListener::advance() {
    if (!connecting()) return step_;
    if (timeLeftMs() == 0) return fail("timeout expired");
    return attempt_ ? connectStep() : subscribeStep();
}

ChangeListener::Step ChangeListener::connectStep() {
    switch (PQconnectPoll(connection_)) {
    case PGRES_POLLING_READING: return step_ = Step::Read;
    case PGRES_POLLING_WRITING: return step_ = Step::Write;
    case PGRES_POLLING_OK: break;
    default: return fail(firstLine(PQerrorMessage(connection_)));
    }
    attempt_->succeeded();
    attempt_.reset();
    PQsetnonblocking(connection_, 1);
    const std::string name = changeChannel(schema_);
    char* channel = PQescapeIdentifier(connection_, name.c_str(), name.size());
    const bool sent = channel && PQsendQuery(connection_, ("LISTEN " + std::string(channel)).c_str()) == 1;
    PQfreemem(channel);
    if (!sent) return fail(firstLine(PQerrorMessage(connection_)));
    return subscribeStep();
}

// The answer to LISTEN, read as it arrives.
ChangeListener::Step ChangeListener::subscribeStep() {
    const int flushed = PQflush(connection_);
    if (flushed < 0) return fail(firstLine(PQerrorMessage(connection_)));
    if (flushed == 1) return step_ = Step::Write;
    if (PQconsumeInput(connection_) == 0) return fail(firstLine(PQerrorMessage(connection_)));
    while (!PQisBusy(connection_)) {
        PGresult* result = PQgetResult(connection_);
        if (!result) {
            error_.clear();
            return step_ = Step::Listening;
        }
        const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
        const std::string why = firstLine(PQresultErrorMessage(result));
        PQclear(result);
        if (!ok) return fail(why);
    }
    return step_ = Step::Read;
}

int ChangeListener::socket() const { return connection_ ? PQsocket(connection_) : -1; }

bool ChangeListener::takeChanges() {
    if (!listening()) return false;
    if (PQconsumeInput(connection_) == 0 || PQstatus(connection_) != CONNECTION_OK) {
        const std::string why = firstLine(PQerrorMessage(connection_));
        error_ = "the connection to " + describeServer(url_) + " is lost: " + why;
        connectionBroke(url_, why);
        close();
        return true;
    }
    bool changed = false;
    const long ours = static_cast<long>(getpid());
    while (PGnotify* notice = PQnotifies(connection_)) {
        changed = changed || std::strtol(notice->extra, nullptr, 10) != ours;
        PQfreemem(notice);
    }
    return changed;
}

}  // namespace plorix::store::postgres
