#pragma once
// The File menu's import, export and synchronisation and the Reports
// menu, bound to their windows.

#include "runtime/prompter.h"

namespace plorix::app {

class MainFrame;

void bindExchangeCommands(MainFrame& frame, Prompter& prompter);

}  // namespace plorix::app
