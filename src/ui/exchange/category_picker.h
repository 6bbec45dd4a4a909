#pragma once
// The schedule categories as a list to choose one from, for the reports
// that ask for a category.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "runtime/prompter.h"

namespace plorix::ui {

// Every category of the Categories table, in alphabetical order.
std::vector<std::string> categoryNames(Prompter& prompter);

// Lets the user choose one category; nothing when cancelled or when there
// is none to choose (then says so).
std::optional<std::string> pickCategory(QWidget* parent, Prompter& prompter);

}  // namespace plorix::ui
