#include "script/mail_job_build.h"

#include "data/process_tables.h"
#include "data/tables/contact.h"
#include "runtime/fixed_text.h"
#include "mail/address.h"
#include "mail/compose.h"

namespace plorix::script {
namespace {

constexpr std::string_view kNoRecipient = "N/A";

}  // namespace

MessageKind messageKindOf(std::string_view mailType) {
    if (equalNoCase(mailType, "News")) return MessageKind::News;
    if (equalNoCase(mailType, "Mass Mailing")) return MessageKind::MassMailing;
    return MessageKind::Email;
}

std::string serverFor(const data::Messages& message, const settings::Settings& s) {
    const bool news = messageKindOf(message.MAILTYPE) == MessageKind::News;
    const std::string own = trim(news ? message.NEWS_SERVER.str() : message.MAIL_SERVER.str());
    return own.empty() ? trim(news ? s.NHost : s.Host) : own;
}

std::optional<std::string_view> missingSetup(const data::Messages& message, const settings::Settings& s) {
    const bool news = messageKindOf(message.MAILTYPE) == MessageKind::News;
    const std::string sender = trim(news ? s.NSender : s.Sender);
    if (!serverFor(message, s).empty() && !sender.empty()) return std::nullopt;
    return news ? kNewsNotSetup : kEmailNotSetup;
}

std::vector<mail::MailRecipient> contactsOfCategory(std::string_view category) {
    std::vector<mail::MailRecipient> out;
    if (trim(category).empty()) return out;
    store::Table& contacts = data::processTable<data::Contact>();
    auto& c = contacts.rec<data::Contact>();
    c = data::Contact{};
    c.CONTACTCATEGORY = category;
    contacts.setAt(data::keys::Contact::KEYCATEGORY);
    while (contacts.next() == store::kNoError && equalNoCase(c.CONTACTCATEGORY, category)) {
        const std::string address = trim(c.EMAIL.str());
        if (!address.empty()) out.push_back({trim(c.FIRSTNAME.str() + " " + c.LASTNAME.str()), address});
    }
    return out;
}

mail::MailJob buildMailJob(const data::Messages& message, const settings::Settings& s,
                           const std::vector<mail::MailRecipient>& groupContacts,
                           const MailSubstitution& substitute, Moment now) {
    const MessageKind kind = messageKindOf(message.MAILTYPE);
    const bool news = kind == MessageKind::News;
    mail::MailJob job;
    job.kind = news ? mail::MailKind::News : mail::MailKind::Email;
    job.server = serverFor(message, s);
    job.programName = std::string(settings::kProductTitle);
    job.senderName = trim(news ? s.NSenderName : s.SenderName);
    job.senderAddress = trim(news ? s.NSender : s.Sender);
    job.organisation = trim(news ? s.NOrg : s.Org);
    if (!message.SUBJECT.empty()) job.subject = substitute(message.SUBJECT, kSubjectWidth);
    job.body = clip(substitute(message.MESSAGE, kBodyWidth));
    if (!trim(message.ATTACHMENT.str()).empty()) job.attachments.push_back(trim(message.ATTACHMENT.str()));
    job.date = mail::mailDate(now);

    const std::string to = trim(message.EMAILTO.str());
    switch (kind) {
    case MessageKind::News: {
        const std::string name = trim(message.EMAILTONAME.str());
        job.to = mail::splitRecipients(to, name.empty() ? to : name);
        job.user = trim(message.NEWS_USER.str());
        job.password = clip(message.NEWS_PASSWORD.str());
        job.logFile = std::string(mail::kNewsTransferLog);
        break;
    }
    case MessageKind::MassMailing:
        job.to = groupContacts;
        job.separately = true;
        job.user = trim(message.MAIL_USER.str());
        break;
    case MessageKind::Email:
        if (!to.empty() && !equalNoCase(to, kNoRecipient))
            job.to = mail::splitRecipients(to, message.EMAILTONAME);
        job.cc = mail::splitRecipients(message.CC);
        job.bcc = mail::splitRecipients(message.BCC);
        job.user = trim(message.MAIL_USER.str());
        job.logFile = std::string(mail::kMailTransferLog);
        break;
    }
    return job;
}

}  // namespace plorix::script
