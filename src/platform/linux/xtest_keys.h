#pragma once
// Which X keysym a virtual-key code or a typed character stands for.

#include <X11/X.h>

namespace plorix::platform {

// The keysym of the base key of a code (its low byte): letters give the
// small letter, so that the Shift bit alone decides the case. NoSymbol for
// a code no key stands for.
KeySym keysymForVirtualKey(int virtualKey);

// The keysym that types one character; NoSymbol for control characters
// other than line feed (Return) and tab.
KeySym keysymForCharacter(char32_t character);

}  // namespace plorix::platform
