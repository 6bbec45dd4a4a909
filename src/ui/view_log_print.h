#pragma once
// Printing the event log's lines as VIEWLOG lists them.

#include <string>
#include <vector>

class QPrinter;

namespace plorix::ui {

// Prints the rows in a fixed-pitch font, as many to a page as fit, so the
// log's columns stay aligned. Returns the number of pages printed (0 when
// the printer could not be started or there is nothing to print).
int printRows(const std::vector<std::string>& rows, QPrinter& printer);

}  // namespace plorix::ui
