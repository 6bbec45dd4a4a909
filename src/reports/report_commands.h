#pragma once
// The reports as the Reports menu starts them: the criteria, title or
// category asked first where the report needs one, then the run.

#include <QWidget>

#include "reports/rows/report_defs.h"
#include "runtime/prompter.h"

namespace plorix::reports {

// Asks what the report needs and starts it; false when the user cancelled
// before it started.
bool openReport(ReportId id, Prompter& prompter, QWidget* parent);

}  // namespace plorix::reports
