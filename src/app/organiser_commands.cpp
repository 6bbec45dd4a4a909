#include "app/organiser_commands.h"

#include "app/main_frame.h"
#include "script/action_names.h"
#include "ui/browses/browse_contact_categories.h"
#include "ui/browses/browse_contacts.h"
#include "ui/browses/browse_messages.h"

namespace plorix::app {

namespace {

constexpr std::string_view kSendingStatus = "Sending Email...";

// Queues a "Send Email" item for the message, due now: the frame's stepper
// sends it on its next tick.
void queueSend(MainFrame& frame, std::int32_t emailId) {
    data::Scripting item;
    item.ACTION = script::kSendEmail;
    item.EMAILID = emailId;
    if (frame.engine().stepper().queueScript({item}, "Send Email"))
        frame.engine().frameTick().setOneShotStatus(kSendingStatus);
}

}  // namespace

void bindOrganiserCommands(MainFrame& frame, Prompter& prompter) {
    using C = FrameCommand;
    frame.bind(C::Contacts, [&frame, &prompter] { ui::openBrowseContacts(prompter, &frame); });
    frame.bind(C::EmailMessages, [&frame, &prompter] {
        ui::openBrowseMessages(
            prompter, [&frame](std::int32_t id) { queueSend(frame, id); }, &frame);
    });
    frame.bind(C::ContactCategories,
               [&frame, &prompter] { ui::openBrowseContactCategories(prompter, &frame); });
}

}  // namespace plorix::app
