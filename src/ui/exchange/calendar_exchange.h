#pragma once
// File > Export > Calendar (.ics) and File > Import > Calendar (.ics): a
// file dialog, the work, then what it did in a message.

#include <string>

#include "runtime/prompter.h"

class QWidget;

namespace plorix::ui {

// Each asks for the file, then does the work with it.
void exportCalendar(Prompter& prompter, QWidget* parent);
void importCalendar(Prompter& prompter, QWidget* parent);

// The work on a chosen file, its outcome shown through `prompter`: how many
// were written or imported and, at most twenty lines, what became of the
// entries the calendar cannot carry or of each item read.
void exportCalendarTo(const std::string& file, Prompter& prompter);
void importCalendarFrom(const std::string& file, Prompter& prompter);

}  // namespace plorix::ui
