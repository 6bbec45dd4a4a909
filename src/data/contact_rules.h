#pragma once
// The rules of the address book and the stored messages that do not depend
// on a window: the forms' save rules, the text a contact is copied to the
// clipboard as, and the checks of what the user typed.

#include <string>
#include <string_view>

#include "data/field_choices.h"
#include "data/form_save.h"
#include "data/tables/contact.h"

namespace plorix::data {

// "Adding a Contact Record" / "Changing a Contact Record".
const FormRules& contactForm();
// "Adding a ContactCategories Record"; the name is required and unique
// regardless of letter case ("CC:KeyContactCategories").
const FormRules& contactCategoryForm();
// "Adding a Link Record"; a task related twice to one contact is refused
// naming "L:KeyClient".
const FormRules& linkForm();
// "Add Email Message" / "Change Email Message" are the form's own titles;
// the rules name the record for the standard messages.
const FormRules& messageForm();

// The address of a mass mailing, which goes to a category instead.
inline constexpr std::string_view kNoAddress = "N/A";

// "First Last" without the blanks of empty parts.
std::string contactName(const Contact& contact);

// The contact as thirteen lines, each ended by a line break (as text is
// pasted on this desktop, where a carriage return alone ends no line) and
// trimmed of trailing blanks: the names, the address, then the labelled
// phones, e-mail address, web site and category.
std::string contactClipboardText(const Contact& contact);

// Whether an address holds a control character (a line break, a tab ...),
// which would let one address smuggle in a header or a second recipient.
bool hasControlCharacter(std::string_view text);
inline constexpr std::string_view kBadAddressTitle = "Invalid Address";
// "The address in <field> holds a control character ..."
std::string badAddressText(std::string_view field);

}  // namespace plorix::data
