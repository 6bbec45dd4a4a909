#pragma once
// UPDATECONTACTS ("Update the Contact File"): one contact on its tabs (the
// address card, the notes, the tasks related to it). A category typed that
// is not in the list may be added on the spot; an e-mail address holding a
// control character is refused.

#include <QStringList>
#include <cstdint>

#include "data/tables/contact.h"
#include "ui/kit/update_form.h"

class QTabWidget;

namespace plorix::ui {

class UpdateContacts final : public UpdateForm {
    Q_OBJECT
public:
    // Edits `contacts`' buffer, which holds the contact.
    UpdateContacts(store::Table& contacts, data::FormAction action, Prompter& prompter,
                   QWidget* parent = nullptr);

    data::Contact& contact() { return table().rec<data::Contact>(); }
    QTabWidget& tabs() { return *tabs_; }
    // The category shown is one of the list, or the user had it added;
    // false (the focus back on the category) otherwise.
    bool checkCategory();

protected:
    bool prepareSave() override;
    int save() override;

private:
    void fillCategories();

    QTabWidget* tabs_ = nullptr;
    QStringList categories_;
    bool asking_ = false;
};

// Adds a contact (its number reserved at once, primed from `seed`) or
// changes the one stored at `position`; whether it was saved.
bool updateContact(data::FormAction action, std::int64_t position, const data::Contact& seed,
                   Prompter& prompter, QWidget* parent);

}  // namespace plorix::ui
