#pragma once
// BROWSECONTACTCATEGORIES ("Contact Categories") and its form
// UPDATECONTACTCATEGORIES: the categories contacts are filed under. One
// that contacts still use can neither be deleted nor renamed (the rules in
// data/ refuse it).

#include "ui/kit/browse_window.h"
#include "ui/kit/record_form.h"

namespace plorix::ui {

const RecordFormSpec& updateContactCategoriesForm();
// The list of contact categories, as the browse and the picker show it.
BrowseSpec contactCategoriesSpec();

class BrowseContactCategories final : public BrowseWindow {
    Q_OBJECT
public:
    explicit BrowseContactCategories(Prompter& prompter, QWidget* parent = nullptr);
};

BrowseContactCategories* openBrowseContactCategories(Prompter& prompter, QWidget* parent);

// Adds a contact category with the form, prefilled with `name`; whether
// it was added.
bool addContactCategory(const QString& name, Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
