#pragma once
// The small dialogs of a query by example: the match type of one field,
// the upper limit of a range, and what to do with the matching records.

#include <QString>
#include <optional>

#include "data/qbe_match.h"

class QWidget;

namespace plorix::ui {

// "Match Type for <KIND> Field": the types the kind offers, the current one
// chosen; the type chosen, nullopt on "Cancel".
std::optional<int> askMatchType(QWidget* parent, data::QbeKind kind, int current);

// "Enter Upper Limit" for the range starting at `lower`: the upper limit
// confirmed, nullopt on "&Cancel". An upper limit that does not compare
// greater than the lower one cannot be confirmed.
std::optional<QString> askUpperLimit(QWidget* parent, const QString& lower, const QString& upper);

// "Begin Search": "What do you want to do?"
enum class NextStep { Cancel = 0, Edit = 1, Select = 2, Unselect = 3 };
NextStep askNextStep(QWidget* parent, bool offerUnselect = true);

}  // namespace plorix::ui
