#pragma once
// The Linux desktop: X11 windows and XTest keystrokes, processes started
// without a shell, the clipboard, libcanberra sounds, the login name and
// D-Bus commands, installed as the process's desktop while this object
// lives. Without an X display everything that needs one finds nothing.

#include <memory>
#include <string>

#include "platform/desktop.h"
#include "platform/linux/process_launcher.h"

namespace plorix::platform {

class LinuxDesktop {
public:
    // `splitArguments` splits the parameters handed to a program that is
    // opened (the script engine's command-line splitting); `displayName`
    // "" means $DISPLAY.
    explicit LinuxDesktop(ArgumentSplitter splitArguments, std::string displayName = {});
    ~LinuxDesktop();
    LinuxDesktop(const LinuxDesktop&) = delete;
    LinuxDesktop& operator=(const LinuxDesktop&) = delete;

    // The implementations, for callers that want one directly.
    const Desktop& parts() const { return parts_; }

private:
    struct Parts;
    std::unique_ptr<Parts> own_;
    Desktop parts_;
    std::unique_ptr<ScopedDesktop> scope_;
};

}  // namespace plorix::platform
