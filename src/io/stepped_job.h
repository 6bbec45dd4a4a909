#pragma once
// Long record loops driven in steps: a window calls step() from its timer,
// 25 records per tick, so that the frame keeps ticking in between; the
// command-line tool calls it until the work is done. Progress shows the
// percentage done followed by "% Completed", then "Process Completed",
// and offers Cancel, which stops after the current record.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/prompter.h"

namespace plorix::io {

inline constexpr int kRecordsPerStep = 25;

// A progress window told the percentage only when it changes.
class ProgressMeter {
public:
    ProgressMeter() = default;
    explicit ProgressMeter(std::unique_ptr<Progress> progress);
    // done ÷ total × 100, at most 100 (0 while total is 0).
    void update(std::uint64_t done, std::uint64_t total);
    bool cancelled();
    void finish();  // "Process Completed", then closes
    int percent() const { return percent_; }

private:
    std::unique_ptr<Progress> progress_;
    int percent_ = -1;
};

class SteppedJob {
public:
    enum class State { Ready, Running, Completed, Cancelled, Failed };

    explicit SteppedJob(Prompter& prompter) : prompter_(prompter) {}
    virtual ~SteppedJob() = default;
    SteppedJob(const SteppedJob&) = delete;
    SteppedJob& operator=(const SteppedJob&) = delete;

    // Prepares the work and opens the progress window; false (the reason
    // shown) when the work cannot start.
    bool start();
    // Does up to `count` records more; false once the work has ended
    // (done, cancelled or failed).
    bool step(int count = kRecordsPerStep);
    // start() and every step.
    bool run();

    State state() const { return state_; }
    // What went wrong, as shown to the user; empty when nothing did.
    const std::string& failure() const { return failure_; }
    int percent() const { return meter_.percent(); }

protected:
    // Prepares; false after fail().
    virtual bool prepare() = 0;
    // Does up to `count` records; false when nothing is left (or after fail()).
    virtual bool work(int count) = 0;
    // Once, when the work has ended in any state: close files, write what is pending.
    virtual void finish(State state) = 0;

    // Shows the message and ends the work as failed.
    void fail(std::string_view title, std::string_view text);
    // Records a failure that was shown already (a standard warning).
    void failQuietly(std::string_view text);
    Prompter& prompter() { return prompter_; }
    ProgressMeter& meter() { return meter_; }
    void openProgress(std::string_view title, std::string_view heading);
    // For the destructors of the jobs: work still running when its window
    // goes ends as if cancelled.
    void abandon();

private:
    void end(State state);
    Prompter& prompter_;
    ProgressMeter meter_;
    State state_ = State::Ready;
    std::string failure_;
};

}  // namespace plorix::io
