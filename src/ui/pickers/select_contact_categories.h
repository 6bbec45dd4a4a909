#pragma once
// SELECTCONTACTCATEGORIES ("Select a Contact Category"): the contact
// categories in their order; Enter, a double-click or "&Select" returns
// the highlighted one.

#include <QString>
#include <optional>

#include "runtime/prompter.h"

class QWidget;

namespace plorix::ui {

// The category chosen, nullopt when the picker was closed.
std::optional<QString> selectContactCategory(Prompter& prompter, QWidget* parent = nullptr);

}  // namespace plorix::ui
