#pragma once
// Hears of other stations' writes to a schema: the store announces every
// commit that wrote on the channel "plorix_changes_<schema>" with the
// writer's process id, and this keeps a connection listening there. The
// owner watches socket() for reading (a QSocketNotifier in the frame) and
// calls takeChanges() when it is readable.

#include <string>

struct pg_conn;

namespace plorix::store::postgres {

// The channel the store announces a schema's commits on.
std::string changeChannel(const std::string& schema);

class ChangeListener {
public:
    ChangeListener(std::string url, std::string schema);
    ~ChangeListener();
    ChangeListener(const ChangeListener&) = delete;
    ChangeListener& operator=(const ChangeListener&) = delete;

    // Connects and listens; false with error() set when the server cannot be
    // reached. Called again after a lost connection, it connects anew.
    bool listen();
    bool listening() const { return connection_ != nullptr; }
    const std::string& error() const { return error_; }
    // The socket to watch, -1 while not listening.
    int socket() const;

    // Reads what has arrived without waiting. True when another process
    // committed a write since the last call, and also when the connection
    // was lost (writes may have gone unheard meanwhile): then listening()
    // is false until listen() succeeds again.
    bool takeChanges();

private:
    void close();

    std::string url_;
    std::string schema_;
    std::string error_;
    pg_conn* connection_ = nullptr;
};

}  // namespace plorix::store::postgres
