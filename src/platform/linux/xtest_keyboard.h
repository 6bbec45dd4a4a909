#pragma once
// Typing into the focused window through the XTest extension: any Unicode
// text, single keys with Shift, Ctrl and Alt held, and mouse clicks at the
// pointer.

#include <chrono>

#include "platform/keyboard.h"

namespace plorix::platform {

class X11Connection;

class XTestKeyboard final : public Keyboard {
public:
    // Uses (does not own) the shared connection.
    explicit XTestKeyboard(X11Connection& connection);

    bool typeText(std::string_view text) override;
    bool pressKey(int code) override;

    // A character the keyboard map lacks is typed through a key that is
    // given its keysym for the moment; programs need this long to notice the
    // changed map before the key and after it, or they lose characters.
    static constexpr std::chrono::milliseconds kRemapSettle{20};

private:
    bool ready();  // a display with XTest and a window with the focus
    X11Connection& x_;
};

}  // namespace plorix::platform
