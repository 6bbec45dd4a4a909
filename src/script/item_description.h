#pragma once
// The one-line description of a script item: the status bar shows it while
// the item is current, and the script's item list shows it as "Details".

#include <cstddef>
#include <string>

#include "data/tables/scripting.h"

namespace plorix::script {

inline constexpr std::size_t kDescriptionWidth = 128;

// At most 128 characters, trailing blanks removed; "" for actions that
// carry nothing worth showing.
std::string itemDescription(const data::Scripting& item);

// The script progress text: the action followed by "-" and the description,
// or the action alone when the description is empty.
std::string progressText(const data::Scripting& item);

}  // namespace plorix::script
