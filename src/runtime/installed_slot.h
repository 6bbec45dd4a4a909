#pragma once
// A process-wide pointer to an implementation installed at start-up or by a
// test, falling back to a default implementation while none is installed.
// Internal to the runtime.

#include <atomic>

namespace plorix {

template <typename Interface, typename Fallback>
class InstalledSlot {
public:
    Interface& get() const {
        static Fallback fallback;
        Interface* installed = slot_.load(std::memory_order_acquire);
        return installed ? *installed : fallback;
    }
    void set(Interface* installed) { slot_.store(installed, std::memory_order_release); }

private:
    std::atomic<Interface*> slot_{nullptr};
};

}  // namespace plorix
