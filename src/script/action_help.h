#pragma once
// The help text the script item form shows for the action chosen.

#include <string_view>

namespace plorix::script {

// The text for `action` (an action name as SCR:ACTION holds it); "" for an
// action without one.
std::string_view actionHelp(std::string_view action);

}  // namespace plorix::script
