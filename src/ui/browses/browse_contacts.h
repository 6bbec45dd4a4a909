#pragma once
// BROWSECONTACTS ("Contacts"): the address book by name, phone, fax,
// e-mail address or one category (chosen with "&Pick"), with the
// highlighted contact copied to the clipboard as text, copied into a new
// contact, or written to in a new message ("Email..." on the right-click
// menu). Opened to select, "&Select" returns the highlighted contact.

#include <QString>
#include <functional>
#include <optional>

#include "data/form_save.h"
#include "data/tables/contact.h"
#include "ui/kit/browse_window.h"
#include "ui/kit/category_tab.h"

namespace plorix::ui {

class BrowseContacts final : public BrowseWindow {
    Q_OBJECT
public:
    enum Tab { LastNameTab, FirstNameTab, WorkPhoneTab, HomePhoneTab, FaxTab, EmailTab, CategoryTab };
    // With `choose` the browse selects: "&Select", Enter and a double-click
    // hand the highlighted contact to it.
    BrowseContacts(Prompter& prompter, std::function<void(const data::Contact&)> choose = {},
                   QWidget* parent = nullptr);

    // The category the category tab lists.
    void setCategory(const QString& category) { category_.set(category); }
    // "&Copy to Clipboard".
    void copyToClipboard();
    // "Email...": a new message to the highlighted contact.
    void writeMessage();

protected:
    void preparePage(int tab) override;

private:
    bool edit(data::FormAction action, bool copy);

    std::function<void(const data::Contact&)> choose_;
    ui::CategoryTab category_{*this, CategoryTab, "C_:CONTACTCATEGORY"};
};

BrowseContacts* openBrowseContacts(Prompter& prompter, QWidget* parent);

// The contact chosen in the browse opened to select; nullopt when closed.
std::optional<data::Contact> selectContact(Prompter& prompter, QWidget* parent = nullptr);

}  // namespace plorix::ui
