#include "ui/browses/browse_contacts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>

#include "data/contact_rules.h"
#include "runtime/fixed_text.h"
#include "settings/settings.h"
#include "ui/forms/update_contacts.h"
#include "ui/forms/update_messages.h"
#include "ui/kit/record_form.h"
#include "ui/kit/browse_picker.h"
#include "ui/pickers/select_contact_categories.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

using data::Contact;
namespace keys = data::keys;

BrowseSpec contactsSpec() {
    return {.schema = &Contact::schema(),
            .title = "Contacts",
            .section = "BrowseContacts",
            .tabs = {{"Last Name", keys::Contact::KEYLASTNAME},
                     {"First Name", keys::Contact::KEYFIRSTNAME},
                     {"Work/Day Phone", keys::Contact::KEYWORKPHONE},
                     {"Home/Evening Phone", keys::Contact::KEYHOMEPHONE},
                     {"Fax", keys::Contact::KEYFAXNUMBER},
                     {"Email", keys::Contact::KEYEMAIL},
                     {"Category", keys::Contact::KEYCATEGORY}},
            .columns = {{"C_:LASTNAME", "", "Last Name", 16},
                        {"C_:FIRSTNAME", "", "First Name", 12},
                        {"C_:ADDRESSLINE1", "", "Address Line 1", 16},
                        {"C_:ADDRESSLINE2", "", "Address Line 2", 14},
                        {"C_:ADDRESSLINE3", "", "Address Line 3", 14},
                        {"C_:POSTALCODE", "", "Postal Code", 11},
                        {"C_:WORKDAYPHONE", "", "Work/Day Phone", 15},
                        {"C_:HOMEEVENINGPHONE", "", "Home/Evening Phone", 19},
                        {"C_:FAX", "", "Fax", 13}},
            .emptyText = "No contacts are stored yet. Press Add to enter one."};
}

}  // namespace

BrowseContacts::BrowseContacts(Prompter& prompter, std::function<void(const data::Contact&)> choose,
                               QWidget* parent)
    : BrowseWindow(contactsSpec(), prompter, parent), choose_(std::move(choose)) {
    if (choose_) makePartOfPicker(*this);
    auto chosen = [this] { return hasSelection(); };
    auto selectedContact = [this] { return static_cast<const Contact*>(selected()); };
    setActions({.add = [this] { return edit(data::FormAction::Adding, false); },
                .edit =
                    [this, selectedContact](const void*) {
                        if (!choose_) return edit(data::FormAction::Changing, false);
                        choose_(*selectedContact());
                        return false;
                    },
                .remove =
                    [this](const void*) {
                        return deleteRecordAt(Contact::schema(), selectedPosition(), this->prompter());
                    }});
    std::vector<BrowseButton> buttons{
        {"&Copy to Clipboard", "Copy the highlighted contact to the clipboard as text",
         [this] { copyToClipboard(); }, chosen},
        {"&Add", "Add a new contact", [this] { insertRecord(); }, {}}};
    if (choose_)
        buttons.push_back({"&Select", "Use the highlighted contact",
                           [this, selectedContact] {
                               if (hasSelection()) choose_(*selectedContact());
                           },
                           chosen});
    buttons.push_back({"Cop&y", "Copy record",
                       [this] {
                           if (edit(data::FormAction::Adding, true)) refresh();
                       },
                       chosen});
    buttons.push_back({"&Edit", "Edit the highlighted contact",
                       [this] {
                           if (hasSelection() && edit(data::FormAction::Changing, false)) refresh();
                       },
                       chosen});
    buttons.push_back({"&Delete", "Delete the highlighted contact", [this] { deleteRecord(); }, chosen});
    std::vector<BrowseButton> menu = buttons;
    menu.push_back({"-", "", {}, {}});
    menu.push_back({"Email...", "", [this] { writeMessage(); }, {}});
    setMenu(std::move(menu));
    buttons.push_back({"&Pick", "Select the category whose contacts the tab lists",
                       [this] {
                           if (auto category = selectContactCategory(this->prompter(), this))
                               setCategory(*category);
                       },
                       [this] { return tab() == CategoryTab; }});
    setButtons(std::move(buttons));
    start();
    setWindowTitle(userTitle(declaration().title));
}

void BrowseContacts::preparePage(int tab) { category_.prepare(tab); }

void BrowseContacts::copyToClipboard() {
    if (const auto* contact = static_cast<const Contact*>(selected()))
        QGuiApplication::clipboard()->setText(qs(data::contactClipboardText(*contact)));
}

// The new message is addressed to the highlighted contact, if any.
void BrowseContacts::writeMessage() {
    const auto* contact = static_cast<const Contact*>(selected());
    std::function<void(data::Messages&)> prime;
    if (contact)
        prime = [c = *contact](data::Messages& m) {
            m.CONTACTID = c.CLIENTID;
            m.EMAILTO = trim(c.EMAIL.str());
            m.EMAILTONAME = data::contactName(c);
        };
    updateMessage(data::FormAction::Adding, 0, prime, prompter(), this);
}

bool BrowseContacts::edit(data::FormAction action, bool copy) {
    if (action == data::FormAction::Changing)
        return updateContact(action, selectedPosition(), {}, prompter(), this);
    const auto* source = static_cast<const Contact*>(selected());
    // A new contact joins the category the browse is looking at.
    Contact seed;
    if (copy && source) seed = *source;
    if (!copy && tab() == CategoryTab) seed.CONTACTCATEGORY = category_.category().toStdString();
    return updateContact(action, 0, seed, prompter(), this);
}

BrowseContacts* openBrowseContacts(Prompter& prompter, QWidget* parent) {
    if (auto* open = bringForwardOpen<BrowseContacts>(parent)) return open;
    auto* window = new BrowseContacts(prompter, {}, parent);
    window->show();
    return window;
}

std::optional<data::Contact> selectContact(Prompter& prompter, QWidget* parent) {
    return pickRecord<data::Contact>(
        "Select a Contact", "SelectContacts", parent,
        [&](const auto& choose, QWidget* picker) { return new BrowseContacts(prompter, choose, picker); });
}

}  // namespace plorix::ui
