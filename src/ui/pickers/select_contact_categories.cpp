#include "ui/pickers/select_contact_categories.h"

#include "data/tables/contact_categories.h"
#include "ui/browses/browse_contact_categories.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/browse_picker.h"
#include "ui/qt_text.h"

namespace plorix::ui {

std::optional<QString> selectContactCategory(Prompter& prompter, QWidget* parent) {
    BrowseSpec declaration = contactCategoriesSpec();
    declaration.title = "Select a Contact Category";
    declaration.section = "SelectContactCategories";
    declaration.emptyText = "No contact categories are defined yet.";
    return pickRecord<QString>(
        declaration.title, declaration.section, parent, [&](const auto& choose, QWidget* picker) {
            auto* browse = new BrowseWindow(declaration, prompter, picker);
            browse->setWindowFlags(Qt::Widget);
            browse->setAttribute(Qt::WA_DeleteOnClose, false);
            auto chooseHighlighted = [browse, choose] {
                if (const auto* c = static_cast<const data::ContactCategories*>(browse->selected()))
                    choose(qs(c->CONTACTCATEGORY.str()));
            };
            browse->setActions({.edit = [chooseHighlighted](const void*) {
                chooseHighlighted();
                return false;
            }});
            browse->setButtons({{"&Select", "Use the highlighted category", chooseHighlighted,
                                 [browse] { return browse->hasSelection(); }}});
            browse->start();
            return browse;
        });
}

}  // namespace plorix::ui
