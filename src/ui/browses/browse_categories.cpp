#include "ui/browses/browse_categories.h"

#include "data/holiday_category_rules.h"
#include "data/tables/categories.h"
#include "ui/qt_text.h"

namespace plorix::ui {

BrowseSpec categoriesSpec() {
    return {.schema = &data::Categories::schema(),
            .title = "Categories",
            .section = "BrowseCategories",
            .tabs = {{"Category", data::keys::Categories::KEYCATEGORY}},
            .columns = {{"CAT:CATEGORY", "", "Category", 24}},
            .emptyText = "No categories are defined yet. Press Add to enter one."};
}

const RecordFormSpec& updateCategoriesForm() {
    static const RecordFormSpec declaration{.schema = &data::Categories::schema(),
                                     .title = "Update Category",
                                     .section = "UpdateCategories",
                                     .rules = &data::categoryForm(),
                                     .fields = {{"CAT:CATEGORY", EditorKind::Text, "&Category:"}}};
    return declaration;
}

BrowseCategories::BrowseCategories(Prompter& prompter, std::function<void(const QString&)> schedule,
                                   QWidget* parent)
    : BrowseWindow(categoriesSpec(), prompter, parent) {
    setActions(formActions(updateCategoriesForm(), *this));
    std::vector<BrowseButton> buttons = standardButtons(*this);
    setMenu(buttons);
    buttons.push_back({"&Schedule", "Show the tasks of the highlighted category",
                       [this, schedule] {
                           if (const auto* c = static_cast<const data::Categories*>(selected()))
                               schedule(qs(c->CATEGORY));
                       },
                       [this, enabled = bool(schedule)] { return enabled && hasSelection(); }});
    setButtons(std::move(buttons));
    start();
}

BrowseCategories* openBrowseCategories(Prompter& prompter, std::function<void(const QString&)> schedule,
                                       QWidget* parent) {
    auto* window = new BrowseCategories(prompter, std::move(schedule), parent);
    window->show();
    return window;
}

}  // namespace plorix::ui
