#pragma once
// Alarm sounds: a sound file played without waiting, or the bell.

#include <string_view>

namespace plorix::platform {

class Sound {
public:
    virtual ~Sound() = default;
    // Starts playing the file and returns at once; false when it cannot.
    virtual bool playFile(std::string_view path) = 0;
    virtual void bell() = 0;
};

// Plays an alarm as the user names it: "BEEP" (any letter case, blanks
// around it ignored) rings the bell, a blank name plays nothing, anything
// else is a sound file. False when nothing could be played.
bool playAlarm(Sound& sound, std::string_view name);

}  // namespace plorix::platform
