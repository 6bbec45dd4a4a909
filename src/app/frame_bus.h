#pragma once
// The frame's side of the bus: opening windows by their menu names and
// raising the frame when the folder's program is started again.

#include <string>
#include <string_view>

#include "app/bus_service.h"
#include "app/frame_commands.h"

namespace plorix::app {

class MainFrame;

// The command of a menu item named as the menu shows it without '&'
// ("View Schedule", any letter case); None for a name that opens no window.
FrameCommand windowCommandNamed(std::string_view name);

// What the bus asks of `frame` (which must outlive the service).
BusHost frameBusHost(MainFrame& frame);

}  // namespace plorix::app
