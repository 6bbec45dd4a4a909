#pragma once
// Long record loops run a slice at a time from the event loop, so windows
// keep painting, the frame keeps ticking and a progress window's Cancel is
// seen at once. The caller waits for the end as if the loop were its own.

#include <functional>

#include "data/tagging.h"
#include "runtime/prompter.h"

namespace plorix::ui {

// Calls `step` from the event loop until it returns false.
void runSteps(const std::function<bool()>& step);

// The tags of a table counted and cleared in steps, under the progress
// windows "Counting Tags" and "Clearing Tags" (whose Cancel stops clearing).
std::int32_t countTagsInSteps(Prompter& prompter, data::TagTable table);
void clearTagsInSteps(Prompter& prompter, data::TagTable table);

}  // namespace plorix::ui
