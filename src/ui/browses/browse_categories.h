#pragma once
// BROWSECATEGORIES ("Categories") and its form UPDATECATEGORIES: the names
// tasks and to-do items are grouped by. Renaming or deleting one that tasks
// use is refused by the rules in data/.

#include <functional>

#include "ui/kit/browse_window.h"
#include "ui/kit/record_form.h"

namespace plorix::ui {

const RecordFormSpec& updateCategoriesForm();
// The list of categories, as the browse and the picker show it.
BrowseSpec categoriesSpec();

class BrowseCategories final : public BrowseWindow {
public:
    // `schedule` shows the tasks of a category ("&Schedule"); empty: disabled.
    BrowseCategories(Prompter& prompter, std::function<void(const QString&)> schedule,
                     QWidget* parent = nullptr);
};

BrowseCategories* openBrowseCategories(Prompter& prompter, std::function<void(const QString&)> schedule,
                                       QWidget* parent);

}  // namespace plorix::ui
