#pragma once
// A dry run of the scheduler: the real frame tick, driven by a clock the
// simulation moves itself, against the data folder's tables. Nothing
// outside is performed: messages, questions, warnings, program starts and
// sounds are recorded, and each event is handed to a sink as it happens.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/date_time.h"
#include "runtime/prompter.h"

namespace plorix::scheduler {

struct SimulationEvent {
    Moment when;
    std::string kind;  // fire, message, run, question, warning, log, history
    std::string detail;
    // The zone's abbreviation at that moment ("CEST"), given only when the
    // clocks change between the start and the end, where the wall clock
    // alone would be ambiguous.
    std::string zone;
    friend bool operator==(const SimulationEvent&, const SimulationEvent&) = default;
};

struct SimulationOptions {
    Moment from;
    Moment to;
    // The answer to every question (kYes or kNo); kNoButton takes each
    // question's default.
    int answer = kNoButton;
    // Moves the clock straight to the next tick at which anything can
    // happen instead of ticking through idle stretches; the outcome is the
    // same either way.
    bool skipIdle = true;
    // Asked after every tick; true ends the run there as if `to` were
    // reached (an interrupted command).
    std::function<bool()> interrupted;
    // How long a lost connection to the database server is waited for, in
    // milliseconds; 0 stops the simulation as any failure does. Waiting, the
    // simulation commits every tick on its own and prints a tick's events
    // once its writes are committed: a tick the lost connection undid is run
    // again at the same moment, so every run is done and printed once.
    int reconnectWaitMs = 0;
};

struct SimulationSummary {
    long long ticks = 0;
    long long fired = 0;
    // Why the simulation stopped early, on one line: a batch of writes that
    // could not be begun or committed, a write or read inside a tick that
    // failed. Empty when it ran to the end.
    std::string failure;
    bool interrupted = false;
    int reconnects = 0;  // lost connections waited out
};

// Runs the tick from `from` to `to` (inclusive, wall-clock moments of the
// process's time zone) on the data file of the current folder, at the
// frame's timer periods, with the scheduler active. The clock walks real
// time, so a daylight-saving change skips or repeats its hour as the
// system clock would.
// The file is changed as the program would change it: callers that want to
// keep it run on a copy. Store failures that end the program throw
// FatalError as usual.
SimulationSummary simulate(const SimulationOptions& options,
                           const std::function<void(const SimulationEvent&)>& sink);

// Moments as the simulator and the forecast print them: "YYYY-MM-DD HH:MM:SS".
std::string isoMoment(Moment moment);
// "YYYY-MM-DD", "YYYY-MM-DDTHH:MM" or "YYYY-MM-DDTHH:MM:SS" (a blank may
// stand for the T); nullopt when it is not a valid moment.
std::optional<Moment> parseIsoMoment(std::string_view text);

}  // namespace plorix::scheduler
