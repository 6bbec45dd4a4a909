#pragma once
// Building the mail job of a stored message: the kind of send its mail type
// asks for, the servers and sender of the settings (a server named in the
// message itself wins), the recipients, and the subject and body after value
// substitution.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/tables/messages.h"
#include "runtime/date_time.h"
#include "mail/job.h"
#include "settings/settings.h"

namespace plorix::script {

enum class MessageKind { Email, MassMailing, News };

// "News" and "Mass Mailing" (in any letter case); anything else is a single e-mail.
MessageKind messageKindOf(std::string_view mailType);

// Value substitution of a text, the result cut to `width` characters.
using MailSubstitution = std::function<std::string(std::string_view text, std::size_t width)>;

inline constexpr std::size_t kSubjectWidth = 255;
inline constexpr std::size_t kBodyWidth = 10000;

inline constexpr std::string_view kEmailNotSetup =
    "Email not setup.  Select File->Setup, Email tab, and fill in the required information.";
inline constexpr std::string_view kNewsNotSetup =
    "Email (News) not setup. Select File->Setup, Email tab, and fill in the required information.";

// The server the message goes to: its own server field, else the setting.
std::string serverFor(const data::Messages& message, const settings::Settings& s);

// The text of the "Error!" box when the settings lack a server or a sender
// for the message's kind; nullopt when sending may go ahead.
std::optional<std::string_view> missingSetup(const data::Messages& message, const settings::Settings& s);

// The contacts of a category in the order of C_:KEYCATEGORY, as To entries
// ("First Last" and the address); contacts without an address are left out.
// The Contact table must be open.
std::vector<mail::MailRecipient> contactsOfCategory(std::string_view category);

// The job for `message`. `groupContacts` are the To entries of a mass
// mailing; `now` dates the message.
mail::MailJob buildMailJob(const data::Messages& message, const settings::Settings& s,
                           const std::vector<mail::MailRecipient>& groupContacts,
                           const MailSubstitution& substitute, Moment now);

}  // namespace plorix::script
