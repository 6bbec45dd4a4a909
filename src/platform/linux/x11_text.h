#pragma once
// Window titles as UTF-8, whatever encoding their owner chose: _NET_WM_NAME
// is UTF-8 (but nothing stops a program from putting invalid bytes there),
// WM_NAME may be Latin-1 (STRING), COMPOUND_TEXT (xterm's non-ASCII titles)
// or UTF8_STRING.

#include <X11/Xlib.h>

#include <string>
#include <string_view>

#include "platform/linux/x11_properties.h"

namespace plorix::platform {

// The characters of UTF-8 text; a byte outside a valid sequence reads as
// U+FFFD.
std::u32string decodeUtf8(std::string_view text);

// The text with every byte that does not belong to a valid UTF-8 sequence
// replaced by U+FFFD; it ends at the first NUL.
std::string repairUtf8(std::string_view bytes);

// Bytes that claim to be UTF-8: as they are when they are, else read as
// Latin-1, so that text from a program that mislabels its encoding keeps
// every character rather than losing them to U+FFFD. Ends at the first NUL.
std::string utf8OrLatin1(std::string_view bytes);

// The text of a WM_NAME-style property; "" when it has none.
std::string textPropertyToUtf8(Display* display, const PropertyValue& value, Atom utf8String);

}  // namespace plorix::platform
