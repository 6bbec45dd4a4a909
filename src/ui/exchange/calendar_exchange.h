#pragma once
// File > Export > Calendar (.ics) and File > Import > Calendar (.ics): a
// file dialog, the work, then what it did in a message.

#include "runtime/prompter.h"

class QWidget;

namespace plorix::ui {

void exportCalendar(Prompter& prompter, QWidget* parent);
void importCalendar(Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
