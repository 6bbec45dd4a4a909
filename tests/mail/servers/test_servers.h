#pragma once
// Real servers for the mail tests, each on a free loopback port: our mail and
// news sink scripts (smtp_sink.py on aiosmtpd, nntp_sink.py), a server that
// accepts connections and never answers, and a port nobody listens on.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "mail/job.h"
#include "support/temp_dir.h"

namespace plorix::mail::test {

// One message as a sink received it (see mail_sink_common.py).
struct Received {
    std::string raw;                                           // as received, CR LF lines
    std::vector<std::string> envelope;                         // "from x", "rcpt y", "user z", "tls 1"
    std::vector<std::pair<std::string, std::string>> headers;  // decoded
    std::string body;                                          // the text part, decoded
    std::map<std::string, std::string> attachments;            // file name -> bytes

    // The decoded value of the first header of that name ("" when absent).
    std::string header(const std::string& name) const;
    int headerCount(const std::string& name) const;
    std::vector<std::string> recipients() const;  // the "rcpt" lines
};

class SinkServer {
public:
    // Starts `script` ("smtp_sink.py", "nntp_sink.py") with its options and
    // waits until it listens.
    SinkServer(const std::string& script, const std::vector<std::string>& options = {});
    // Ends the server process and waits for it.
    ~SinkServer();
    SinkServer(const SinkServer&) = delete;
    SinkServer& operator=(const SinkServer&) = delete;

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    // Waits up to 10 seconds until `count` messages have arrived.
    bool waitFor(int count) const;
    int count() const;
    Received message(int number) const;  // 1 = the first

private:
    void stop();
    plorix::test::TempDir folder_{false};
    int pid_ = -1;
    int port_ = 0;
};

// A server that says nothing. Answerless: the kernel accepts connections
// and nobody ever answers on them. Unreachable: the backlog is full, so a
// connection attempt gets no answer at all, as with a machine switched off.
class SilentServer {
public:
    enum Mode { Answerless, Unreachable };
    explicit SilentServer(Mode mode = Answerless);
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
    std::vector<int> fillers_;
};

// A job with a sender, a subject, one recipient (a newsgroup for news), a
// body, the transfer log of its kind and a time-out of five seconds.
mail::MailJob testJob(mail::MailKind kind, const std::string& server);

// "127.0.0.1:PORT" of a port that was free a moment ago and has nobody listening.
std::string refusedAddress();

// The path of a file next to these tests (the sink scripts).
std::string testScript(const std::string& name);

}  // namespace plorix::mail::test
