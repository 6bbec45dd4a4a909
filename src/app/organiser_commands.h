#pragma once
// The Browse menu's address book and stored messages, bound to their
// windows; a message sent from the message browse goes through the
// frame's script queue as a "Send Email" item.

#include "runtime/prompter.h"

namespace plorix::app {

class MainFrame;

void bindOrganiserCommands(MainFrame& frame, Prompter& prompter);

}  // namespace plorix::app
