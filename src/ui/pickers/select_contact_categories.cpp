#include "ui/pickers/select_contact_categories.h"

#include "data/tables/contact_categories.h"
#include "ui/browses/browse_contact_categories.h"
#include "ui/kit/record_picker.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

BrowseSpec selectSpec() {
    BrowseSpec declaration = contactCategoriesSpec();
    declaration.title = "Select a Contact Category";
    declaration.section = "SelectContactCategories";
    declaration.emptyText = "No contact categories are defined yet.";
    return declaration;
}

class SelectContactCategories final : public RecordPicker {
public:
    SelectContactCategories(Prompter& prompter, QWidget* parent)
        : RecordPicker(selectSpec(), prompter, "Use the highlighted category", parent) {}
    std::optional<QString> chosen;

protected:
    void take(const void* record) override {
        chosen = qs(static_cast<const data::ContactCategories*>(record)->CONTACTCATEGORY.str());
    }
};

}  // namespace

std::optional<QString> selectContactCategory(Prompter& prompter, QWidget* parent) {
    SelectContactCategories picker(prompter, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.chosen;
}

}  // namespace plorix::ui
