#pragma once
// Reaching a server. A server that did not answer a connect is left alone
// for a while: further connects from this process to it fail at once with
// the failure that held them back, for a second after the first failure,
// doubling with every failure after it up to half a minute, until a connect
// goes through. Once the wait is over, or when a connection to it broke,
// one connect is tried at a time; the others fail at once until it ends (a
// connect that never waits, the change listener's, spares the window). So a window that works with the server
// waits at most one connect time-out per back-off period, however often it
// asks. Every connect of the program (the store's, administration, the
// change listener) goes through here.

#include <chrono>
#include <string>

struct pg_conn;

namespace plorix::store::postgres {

// How long a connect may take before it is given up (the URL may say
// otherwise for the blocking ones).
inline constexpr int kConnectTimeoutSeconds = 5;
inline constexpr std::chrono::milliseconds kFirstBackoff{1000};
inline constexpr std::chrono::milliseconds kLongestBackoff{30000};

// One connect to a server, if the back-off lets it be tried. Tell it how the
// connect ended; one that is not told counts as failed.
class ConnectAttempt {
public:
    explicit ConnectAttempt(std::string url);
    ~ConnectAttempt();
    ConnectAttempt(const ConnectAttempt&) = delete;
    ConnectAttempt& operator=(const ConnectAttempt&) = delete;

    // Whether it may go ahead; if not, heldBack() is the failure that holds
    // it back (libpq's message).
    bool admitted() const { return admitted_; }
    const std::string& heldBack() const { return heldBack_; }
    void succeeded();
    void failed(const std::string& message);

private:
    std::string url_;
    std::string heldBack_;
    bool admitted_ = false;
    bool told_ = false;
    bool probe_ = false;  // tried after a failure: its end sets the next wait
};

// A connection to `url` broke: until a connect to it goes through, one
// connect is tried at a time (the first to ask) and the others fail at once
// with `message`, as after a failed connect but without a wait.
void connectionBroke(const std::string& url, const std::string& message);
// How long until a connect to `url` may be tried (zero: at once).
std::chrono::milliseconds backoffLeft(const std::string& url);
// Connects tried to `url` by this process so far (those held back are not).
long connectsTried(const std::string& url);

// The first line of a message of libpq's ("" for null).
std::string firstLine(const char* text);

// Connects to `url` and waits for the outcome, within the rule above: null
// with `why` set (libpq's message) when it failed or was held back.
pg_conn* connectServer(const std::string& url, const std::string& application, std::string& why);
// Begins a connect to `url` without waiting for it (PQconnectPoll moves it
// on; CONNECTION_BAD at once when the URL cannot be read). The caller asks
// ConnectAttempt first and gives it up after kConnectTimeoutSeconds.
pg_conn* startConnect(const std::string& url, const std::string& application);

}  // namespace plorix::store::postgres
