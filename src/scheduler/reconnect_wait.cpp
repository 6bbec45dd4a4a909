#include "scheduler/reconnect_wait.h"

#include <thread>

#include "store/served_files.h"

namespace plorix::scheduler {
namespace {

constexpr int kPauseMs = 200;

}  // namespace

bool ReconnectWait::retry(const store::ErrorState& error, int& losses) {
    using namespace std::chrono;
    if (waitMs_ <= 0 || !store::connectionLost(error)) return false;
    if (!waiting_) {
        waiting_ = true;
        since_ = steady_clock::now();
        ++losses;
    }
    if (steady_clock::now() - since_ > milliseconds(waitMs_)) return false;
    if (interrupted_ && interrupted_()) return false;
    std::this_thread::sleep_for(milliseconds(kPauseMs));
    return true;
}

}  // namespace plorix::scheduler
