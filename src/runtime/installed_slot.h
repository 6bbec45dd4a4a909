#pragma once
// A process-wide pointer to an implementation installed at start-up or by a
// test, with a fallback while none is installed. Internal to the runtime.

#include <atomic>

namespace plorix {

template <typename Interface>
class InstalledSlot {
public:
    Interface& get(Interface& fallback) const {
        Interface* installed = slot_.load(std::memory_order_acquire);
        return installed ? *installed : fallback;
    }
    void set(Interface* installed) { slot_.store(installed, std::memory_order_release); }

private:
    std::atomic<Interface*> slot_{nullptr};
};

}  // namespace plorix
