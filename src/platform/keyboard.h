#pragma once
// Typing into whatever window has the keyboard focus: text, single keys with
// modifiers, and mouse clicks. The pacing between portions is the caller's.

#include <string_view>

namespace plorix::platform {

// A key code: the virtual-key code of the base key in the low byte plus
// the modifier bits below. Codes 1..7 (with modifiers) are mouse clicks.
inline constexpr int kShiftBit = 256;
inline constexpr int kCtrlBit = 512;
inline constexpr int kAltBit = 1024;
inline constexpr int kBaseKeyMask = 0xFF;

// Mouse codes in the low byte.
inline constexpr int kMouseLeft = 1;
inline constexpr int kMouseRight = 2;
inline constexpr int kMouseCentre = 3;
inline constexpr int kMouseLeftDouble = 5;
inline constexpr int kMouseRightDouble = 6;
inline constexpr int kMouseCentreDouble = 7;

inline constexpr bool isMouseCode(int code) {
    const int base = code & kBaseKeyMask;
    return base >= kMouseLeft && base <= kMouseCentreDouble && base != 4;
}

class Keyboard {
public:
    virtual ~Keyboard() = default;
    // Types each character of the UTF-8 text into the focused window.
    // False when the desktop refused (no display, no focus window).
    virtual bool typeText(std::string_view text) = 0;
    // Presses and releases one key with the modifiers of its code held, or
    // clicks (double-clicks) a mouse button at the pointer.
    virtual bool pressKey(int code) = 0;
};

}  // namespace plorix::platform
