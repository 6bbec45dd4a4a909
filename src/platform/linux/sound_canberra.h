#pragma once
// Alarm sounds through libcanberra, which plays a file on a thread of its
// own; "BEEP" rings the X bell. Neither a missing sound device nor a
// missing file ever blocks or ends the program: playing just fails.

#include "platform/sound.h"

namespace plorix::platform {

class X11Connection;

class CanberraSound final : public Sound {
public:
    // Uses (does not own) the shared connection for the bell.
    explicit CanberraSound(X11Connection& connection);

    bool playFile(std::string_view path) override;
    void bell() override;

private:
    X11Connection& x_;
};

}  // namespace plorix::platform
