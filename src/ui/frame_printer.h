#pragma once
// The printer the program's reports print on, as "Print Setup ..." of the
// frame's File menu leaves it (paper, orientation, margins), for the whole
// of the program's run.

#include <QPrinter>
#include <QWidget>

namespace plorix::ui {

QPrinter& programPrinter();

// The printer setup dialog; true when the user accepted the changes.
bool showPrintSetup(QWidget* parent);

}  // namespace plorix::ui
