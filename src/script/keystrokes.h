#pragma once
// The "Send Keystrokes" action: a keystroke text such as "Hello[ENTER]" or
// "[AltF4]" is cut into passes, one portion of plain text or one bracketed
// name per pass, and the passes are delivered to the focused window with a
// pause before each so that slow applications keep up.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyboard.h"
#include "runtime/clock.h"

namespace plorix::script {

// Looks up a script value by name (system values included); nullopt when
// there is no such value.
using ValueLookup = std::function<std::optional<std::string>(std::string_view name)>;

// One pass of sending.
struct KeyPass {
    enum class Kind {
        Text,   // type `text` (may be empty: a pass that types nothing)
        Key,    // press `code` (a key code or mouse code with modifier bits)
        Pause,  // deliver nothing; the pass only costs its pause
    };
    Kind kind = Kind::Text;
    std::string text;
    int code = 0;
    friend bool operator==(const KeyPass&, const KeyPass&) = default;
};

// The passes of a keystroke text. `burstSize` is the most plain characters
// per pass (BurstSize, already adjusted by the settings); `lookup` may be
// empty, in which case no name is a value.
std::vector<KeyPass> parseKeystrokes(std::string_view text, int burstSize, const ValueLookup& lookup);

// How passes are spaced.
struct KeystrokePacing {
    // ScriptingDelay in hundredths of a second (already at least 50).
    std::int32_t delayHundredths = 50;
    // Waits the given hundredths while letting the rest of the program run
    // (the desktop program processes its events); empty: sleep.
    std::function<void(std::int64_t hundredths)> waitYielding;
    // Called at the start of every pass with its index (the frame animates
    // its tray icon); may be empty.
    std::function<void(std::size_t pass)> onPass;
};

// Delivers the passes, each after its pause. The pause is skipped when it
// would run past midnight, as the time of day would never reach its end.
void deliverKeyPasses(const std::vector<KeyPass>& passes, platform::Keyboard& keyboard, const Clock& clock,
                      const KeystrokePacing& pacing);

// Parses and delivers a keystroke text (a blank text returns at once).
void sendKeystrokes(std::string_view text, int burstSize, const ValueLookup& lookup,
                    platform::Keyboard& keyboard, const Clock& clock, const KeystrokePacing& pacing);

}  // namespace plorix::script
