#include "ui/pickers/select_categories.h"

#include "data/tables/categories.h"
#include "ui/browses/browse_categories.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

BrowseSpec selectSpec() {
    BrowseSpec declaration = categoriesSpec();
    declaration.title = "Select a Category";
    declaration.section = "SelectCategories";
    declaration.emptyText = "No categories are defined yet.";
    return declaration;
}

}  // namespace

SelectCategories::SelectCategories(Prompter& prompter, QWidget* parent)
    : RecordPicker(selectSpec(), prompter, "Use the highlighted category", parent) {}

void SelectCategories::take(const void* record) {
    chosen_ = qs(static_cast<const data::Categories*>(record)->CATEGORY);
}

std::optional<QString> selectCategory(Prompter& prompter, QWidget* parent) {
    SelectCategories picker(prompter, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.chosen();
}

}  // namespace plorix::ui
