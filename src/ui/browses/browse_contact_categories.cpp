#include "ui/browses/browse_contact_categories.h"

#include "data/contact_rules.h"
#include "data/tables/contact_categories.h"

namespace plorix::ui {

BrowseSpec contactCategoriesSpec() {
    return {.schema = &data::ContactCategories::schema(),
            .title = "Contact Categories",
            .section = "BrowseContactCategories",
            .tabs = {{"Contact Category", data::keys::ContactCategories::KEYCONTACTCATEGORIES}},
            .columns = {{"CC:CONTACTCATEGORY", "", "Contact Category", 24}},
            .emptyText = "No contact categories are defined yet. Press Add to enter one."};
}

const RecordFormSpec& updateContactCategoriesForm() {
    static const RecordFormSpec declaration{
        .schema = &data::ContactCategories::schema(),
        .title = "Update the Contact Categories File",
        .section = "UpdateContactCategories",
        .rules = &data::contactCategoryForm(),
        .fields = {{"CC:CONTACTCATEGORY", EditorKind::Text, "&Contact Category:"}}};
    return declaration;
}

BrowseContactCategories::BrowseContactCategories(Prompter& prompter, QWidget* parent)
    : BrowseWindow(contactCategoriesSpec(), prompter, parent) {
    setActions(formActions(updateContactCategoriesForm(), *this));
    setButtons(standardButtons(*this));
    setMenu(standardButtons(*this));
    start();
}

BrowseContactCategories* openBrowseContactCategories(Prompter& prompter, QWidget* parent) {
    if (auto* open = bringForwardOpen<BrowseContactCategories>(parent)) return open;
    auto* window = new BrowseContactCategories(prompter, parent);
    window->show();
    return window;
}

bool addContactCategory(const QString& name, Prompter& prompter, QWidget* parent) {
    return addRecord(updateContactCategoriesForm(), prompter, parent, [&](void* record) {
        static_cast<data::ContactCategories*>(record)->CONTACTCATEGORY = name.toStdString();
    });
}

}  // namespace plorix::ui
