#include "platform/sound.h"

#include "runtime/fixed_text.h"

namespace plorix::platform {

bool playAlarm(Sound& sound, std::string_view name) {
    const std::string file = trim(name);
    if (file.empty()) return false;
    if (equalNoCase(file, "BEEP")) {
        sound.bell();
        return true;
    }
    return sound.playFile(file);
}

}  // namespace plorix::platform
