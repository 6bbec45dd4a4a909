#include "data/contact_rules.h"

#include "data/tables.h"
#include "runtime/fixed_text.h"

namespace plorix::data {

const FormRules& contactForm() {
    static const FormRules rules{"Contact Record", {}, {}};
    return rules;
}

const FormRules& contactCategoryForm() {
    static const FormRules rules{
        "ContactCategories Record",
        {"CC:CONTACTCATEGORY"},
        {{keys::ContactCategories::KEYCONTACTCATEGORIES, "CC:KeyContactCategories"}}};
    return rules;
}

const FormRules& linkForm() {
    static const FormRules rules{"Link Record", {"L:ID"}, {{keys::Link::KEYCLIENT, "L:KeyClient"}}};
    return rules;
}

const FormRules& messageForm() {
    static const FormRules rules{"Messages Record", {}, {}};
    return rules;
}

std::string contactName(const Contact& contact) {
    return trim(trim(contact.FIRSTNAME.str()) + " " + trim(contact.LASTNAME.str()));
}

std::string contactClipboardText(const Contact& c) {
    const std::pair<std::string_view, std::string> lines[] = {
        {"", c.LASTNAME.str()},
        {"", c.FIRSTNAME.str()},
        {"", c.ADDRESSLINE1.str()},
        {"", c.ADDRESSLINE2.str()},
        {"", c.ADDRESSLINE3.str()},
        {"", c.POSTALCODE.str()},
        {"Work Phone: ", c.WORKDAYPHONE.str()},
        {"Home Phone: ", c.HOMEEVENINGPHONE.str()},
        {"Fax: ", c.FAX.str()},
        {"Other Phone: ", c.OTHERPHONE.str()},
        {"Email: ", c.EMAIL.str()},
        {"Web Site: ", c.WEBSITE.str()},
        {"Category: ", c.CONTACTCATEGORY.str()},
    };
    std::string text;
    for (const auto& [label, value] : lines) text += clip(std::string(label) + value) + '\n';
    return text;
}

bool hasControlCharacter(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) return true;
    }
    return false;
}

std::string badAddressText(std::string_view field) {
    return "The address in " + std::string(field) +
           " holds a control character (a line break or a tab).  Remove it and try again.";
}

}  // namespace plorix::data
