#pragma once
// The program started as a user starts it, with its standard output read
// line by line while it runs and its standard input open (as a terminal's
// would be) until it ends; ended with SIGTERM (then SIGKILL) if still
// running at the end of the test.

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace plorix::app::test {

class ProgramChild {
public:
    // `env`: variables to set, "" to remove one.
    explicit ProgramChild(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& env = {});
    ~ProgramChild();
    ProgramChild(const ProgramChild&) = delete;
    ProgramChild& operator=(const ProgramChild&) = delete;

    int pid() const { return pid_; }
    // Waits for a line holding `text`; `pump` runs between reads (a test's
    // own event loop). The line, or "" when none came in time.
    std::string lineWith(const std::string& text, std::chrono::milliseconds limit,
                         const std::function<void()>& pump = {});
    // Everything read so far.
    const std::string& output() const { return all_; }
    // Sends SIGTERM and waits; the exit status (128 + signal), -1 when it did not end.
    int terminate(std::chrono::milliseconds limit = std::chrono::seconds(10));
    // Waits for the end without a signal; `pump` as for lineWith.
    int wait(std::chrono::milliseconds limit, const std::function<void()>& pump = {});

private:
    void readAvailable();

    int pid_ = 0;
    int out_ = -1;
    int in_ = -1;
    bool ended_ = false;
    int status_ = -1;
    std::string buffer_;
    std::string all_;
};

// Polls `done` every 20 ms until it holds or `seconds` have passed.
bool waitFor(const std::function<bool()>& done, double seconds);

}  // namespace plorix::app::test
