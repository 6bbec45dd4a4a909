#pragma once
// Alarm sounds through libcanberra, which plays a file on a thread of its
// own; "BEEP" rings the X bell. Neither a missing sound device nor a
// missing file ever blocks or ends the program: playing just fails.

#include <cstdint>

#include "platform/sound.h"

struct ca_context;

namespace plorix::platform {

class X11Connection;

class CanberraSound final : public Sound {
public:
    // Uses (does not own) the shared connection for the bell.
    explicit CanberraSound(X11Connection& connection);
    ~CanberraSound() override;
    CanberraSound(const CanberraSound&) = delete;
    CanberraSound& operator=(const CanberraSound&) = delete;

    bool playFile(std::string_view path) override;
    void bell() override;

private:
    ca_context* context();  // nullptr when no sound device can be opened
    X11Connection& x_;
    ca_context* context_ = nullptr;
    std::uint32_t nextId_ = 1;
};

}  // namespace plorix::platform
