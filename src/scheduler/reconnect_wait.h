#pragma once
// Waiting out a lost connection to the database server: the operation that
// met it did nothing, and the store connects again on the next one.

#include <chrono>
#include <functional>

#include "store/error.h"

namespace plorix::scheduler {

// Pauses a little at a time while the connection stays lost, for at most
// `waitMs` in all (0: not at all), so that the work under way can be done
// again once it is back.
class ReconnectWait {
public:
    ReconnectWait(int waitMs, std::function<bool()> interrupted)
        : waitMs_(waitMs), interrupted_(std::move(interrupted)) {}
    // Whether `error` is a lost connection worth trying again; true after a
    // pause. Counts the losses in `losses`.
    bool retry(const store::ErrorState& error, int& losses);
    // The work went through: the next loss is waited for afresh.
    void restored() { waiting_ = false; }

private:
    int waitMs_;
    std::function<bool()> interrupted_;
    bool waiting_ = false;
    std::chrono::steady_clock::time_point since_{};
};

}  // namespace plorix::scheduler
