#include "ui/pickers/select_contact_categories.h"

#include <QDialog>
#include <QVBoxLayout>

#include "data/tables/contact_categories.h"
#include "ui/browses/browse_contact_categories.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

namespace plorix::ui {

std::optional<QString> selectContactCategory(Prompter& prompter, QWidget* parent) {
    BrowseSpec declaration = contactCategoriesSpec();
    declaration.title = "Select a Contact Category";
    declaration.section = "SelectContactCategories";
    declaration.emptyText = "No contact categories are defined yet.";
    QDialog picker(parent);
    picker.setWindowTitle(qs(declaration.title));
    auto* browse = new BrowseWindow(declaration, prompter, &picker);
    browse->setWindowFlags(Qt::Widget);
    browse->setAttribute(Qt::WA_DeleteOnClose, false);
    (new QVBoxLayout(&picker))->addWidget(browse);
    std::optional<QString> chosen;
    auto choose = [&] {
        const auto* category = static_cast<const data::ContactCategories*>(browse->selected());
        if (!category) return;
        chosen = qs(category->CONTACTCATEGORY.str());
        picker.accept();
    };
    browse->setActions({.edit = [&](const void*) {
        choose();
        return false;
    }});
    browse->setButtons(
        {{"&Select", "Use the highlighted category", choose, [browse] { return browse->hasSelection(); }}});
    browse->start();
    rememberPosition(picker, "SelectContactCategories");
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return chosen;
}

}  // namespace plorix::ui
