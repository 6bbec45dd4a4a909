#include "ui/pickers/select_categories.h"

#include <QVBoxLayout>

#include "data/tables/categories.h"
#include "ui/browses/browse_categories.h"
#include "ui/kit/browse_window.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

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

SelectCategories::SelectCategories(Prompter& prompter, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select a Category"));
    auto* layout = new QVBoxLayout(this);
    browse_ = new BrowseWindow(selectSpec(), prompter, this);
    browse_->setWindowFlags(Qt::Widget);
    browse_->setAttribute(Qt::WA_DeleteOnClose, false);
    layout->addWidget(browse_);
    browse_->setActions({.edit = [this](const void*) {
        choose();
        return false;
    }});
    browse_->setButtons({{"&Select", "Use the highlighted category", [this] { choose(); },
                          [this] { return browse_->hasSelection(); }}});
    browse_->start();
    rememberPosition(*this, "SelectCategories");
}

void SelectCategories::choose() {
    const auto* category = static_cast<const data::Categories*>(browse_->selected());
    if (!category) return;
    chosen_ = qs(category->CATEGORY);
    accept();
}

std::optional<QString> selectCategory(Prompter& prompter, QWidget* parent) {
    SelectCategories picker(prompter, parent);
    if (picker.exec() != QDialog::Accepted) return std::nullopt;
    return picker.chosen();
}

}  // namespace plorix::ui
