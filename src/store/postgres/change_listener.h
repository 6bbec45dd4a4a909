#pragma once
// Hears of other stations' writes to a schema: the store announces every
// commit that wrote on the channel "plorix_changes_<schema>" with the
// writer's process id, and this keeps a connection listening there.
//
// It never waits for the server: start() begins to connect, and the owner
// watches socket() for what the last step asks (reading or writing) and
// calls advance() when it is ready, or when timeLeftMs() has run out; once
// listening it watches socket() for reading and calls takeChanges(). The
// connects keep the server's back-off (server_reach.h).

#include <chrono>
#include <memory>
#include <string>

struct pg_conn;

namespace plorix::store::postgres {

class ConnectAttempt;

// The channel the store announces a schema's commits on.
std::string changeChannel(const std::string& schema);

class ChangeListener {
public:
    // What the connection waits for next.
    enum class Step { Read, Write, Listening, Failed };

    ChangeListener(std::string url, std::string schema);
    ~ChangeListener();
    ChangeListener(const ChangeListener&) = delete;
    ChangeListener& operator=(const ChangeListener&) = delete;

    // Begins to connect and listen (anew after a lost connection). Failed,
    // with error() set, when the URL cannot be read or the server's
    // back-off holds the connect back.
    Step start();
    // Moves the connection on; Failed when it broke or the time-out ran out
    // before it was listening.
    Step advance();
    bool listening() const { return step_ == Step::Listening; }
    bool connecting() const { return step_ == Step::Read || step_ == Step::Write; }
    const std::string& error() const { return error_; }
    // The socket to watch, -1 while neither connecting nor listening.
    int socket() const;
    // Milliseconds left until a connect under way (up to listening) is
    // given up.
    int timeLeftMs() const;

    // Reads what has arrived without waiting. True when another process
    // committed a write since the last call, and also when the connection
    // was lost (writes may have gone unheard meanwhile): then listening()
    // is false until start() succeeds again.
    bool takeChanges();

private:
    Step fail(const std::string& why);
    Step connectStep();
    Step subscribeStep();
    void close();

    std::string url_;
    std::string schema_;
    std::string error_;
    pg_conn* connection_ = nullptr;
    std::unique_ptr<ConnectAttempt> attempt_;
    std::chrono::steady_clock::time_point giveUpAt_{};
    Step step_ = Step::Failed;
};

}  // namespace plorix::store::postgres
