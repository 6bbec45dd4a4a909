#pragma once
// Whether an X display can be reached, asked before Qt tries (Qt aborts
// with several lines of its own when it cannot connect).

namespace plorix::app {
bool displayReachable();
}
