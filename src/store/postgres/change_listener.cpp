#include "store/postgres/change_listener.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <cstdlib>

#include "store/postgres/server_admin.h"

namespace plorix::store::postgres {

std::string changeChannel(const std::string& schema) { return "plorix_changes_" + schema; }

ChangeListener::ChangeListener(std::string url, std::string schema)
    : url_(std::move(url)), schema_(std::move(schema)) {}

ChangeListener::~ChangeListener() { close(); }

void ChangeListener::close() {
    PQfinish(connection_);
    connection_ = nullptr;
}

bool ChangeListener::listen() {
    close();
    AdminConnection admin(url_);
    if (!admin.ok()) {
        error_ = admin.error();
        return false;
    }
    if (!admin.exec("LISTEN " + admin.quote(changeChannel(schema_)))) {
        error_ = admin.error();
        return false;
    }
    // The connection outlives the helper that made it.
    connection_ = admin.release();
    PQsetnonblocking(connection_, 1);
    error_.clear();
    return true;
}

int ChangeListener::socket() const { return connection_ ? PQsocket(connection_) : -1; }

bool ChangeListener::takeChanges() {
    if (!connection_) return false;
    if (PQconsumeInput(connection_) == 0 || PQstatus(connection_) != CONNECTION_OK) {
        error_ = "the connection to " + describeServer(url_) + " is lost";
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
