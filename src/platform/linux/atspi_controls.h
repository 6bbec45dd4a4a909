#pragma once
// The controls of a window as the accessibility bus (AT-SPI) describes
// them: the only place where a Linux desktop tells the texts of buttons,
// labels and fields. An application's windows carry no X window id there,
// so a window is matched by its owner's process id and its name.

#include <optional>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace plorix::platform {

class AtspiControls {
public:
    // Whether the accessibility bus can be reached. The first call connects;
    // without a session bus nothing is tried, so no bus daemon is launched.
    static bool available();

    // The controls inside the window named `title` of process `pid`, in
    // tree order; nullopt when the bus is not up or the application does
    // not show that window there.
    static std::optional<std::vector<ChildControl>> controls(int pid, const std::string& title);
};

}  // namespace plorix::platform
