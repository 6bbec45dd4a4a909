#include "script/mail_sender.h"

#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/tables/contact.h"
#include "log/event_log.h"
#include "runtime/fixed_text.h"
#include "script/stepper.h"
#include "script/value_store.h"

namespace plorix::script {
namespace {

constexpr std::string_view kMassMailingBox = "Error Sending Mass Mailing";
constexpr std::string_view kNewsBox = "Error Sending News Article";
constexpr std::string_view kSetupBox = "Error!";

// Reads the stored message into `out`; false when there is none.
bool readMessage(std::int32_t emailId, data::Messages& out) {
    store::Table& table = data::processTable<data::Messages>();
    auto& m = table.rec<data::Messages>();
    m.EMAILID = emailId;
    if (table.get(data::keys::Messages::KEYEMAILID) != store::kNoError) return false;
    out = m;
    return true;
}

std::string lines(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts) {
        if (!out.empty()) out += '\r';
        out += part;
    }
    return out;
}

}  // namespace

MessageSender::MessageSender(MailServices services) : services_(std::move(services)) {}

// Looked up at each use: the program's sender lives from its first use to
// the end, and the program may install its prompter after that first use.
const Clock& MessageSender::clock() const { return services_.clock ? *services_.clock : processClock(); }
Prompter& MessageSender::prompter() const {
    return services_.prompter ? *services_.prompter : processPrompter();
}
const settings::Settings& MessageSender::settings() const {
    return services_.settings ? *services_.settings : settings::settings();
}

MessageSender::~MessageSender() = default;

std::string MessageSender::substitute(std::string_view text, std::size_t width) const {
    if (services_.substitute) return services_.substitute(text, width);
    return processValues().substitute(text, width);
}

std::unique_ptr<PendingSend> MessageSender::begin(const SendRequest& request, int& code) {
    auto send = std::make_unique<PendingSend>();
    const bool readHere = request.fromScript || !request.loaded;
    if (readHere) {
        data::TableUse use(data::processTable<data::Messages>(), prompter());
        if (!readMessage(request.emailId, send->message_)) {
            log::logEvent(kMissingMessageText, kScriptLogLabel);
            code = mail::kMailBadArguments;
            return nullptr;
        }
    } else {
        send->message_ = *request.loaded;
    }
    send->writeDateSent_ = readHere;
    const data::Messages& message = send->message_;

    if (const auto missing = missingSetup(message, settings())) {
        prompter().message(kSetupBox, *missing, Icon::Error, kOk, kOk);
        code = mail::kMailBadArguments;
        return nullptr;
    }
    std::vector<mail::MailRecipient> group;
    if (messageKindOf(message.MAILTYPE) == MessageKind::MassMailing) {
        data::TableUse use(data::processTable<data::Contact>(), prompter());
        group = contactsOfCategory(message.EMAILTOGROUP);
    }
    mail::MailJob job = buildMailJob(
        message, settings(), group,
        [this](std::string_view text, std::size_t width) { return substitute(text, width); },
        clock().current());
    job.timeoutSeconds = services_.timeoutSeconds;
    job.caFile = services_.caFile;
    send->transfer_ = std::make_unique<mail::MailTransfer>(std::move(job));
    return send;
}

int MessageSender::finish(PendingSend& send) {
    const mail::MailResult result = mail::settleMailResult(send.transfer_->wait());
    const data::Messages& message = send.message_;
    if (result.ok()) {
        log::logEvent("Sent " + message.EMAILTO.str(), message.MAILTYPE.str());
        if (send.writeDateSent_) writeDateSent(message.EMAILID);
    } else {
        reportFailure(send, result);
    }
    return result.code;
}

void MessageSender::reportFailure(const PendingSend& send, const mail::MailResult& result) {
    const data::Messages& message = send.message_;
    const mail::MailJob& job = send.transfer_->job();
    const MessageKind kind = messageKindOf(message.MAILTYPE);
    const std::string_view label = kind == MessageKind::News ? kNewsErrorLabel : kMailErrorLabel;
    const std::string error = mail::mailErrorText(result);
    log::logEvent("Error:  " + error, label);
    log::logEvent("Could not send " + message.EMAILTO.str(), label);
    const std::string errorLine = "Error: " + error;
    if (kind == MessageKind::MassMailing) {
        prompter().message(kMassMailingBox,
                           lines({errorLine, job.server, job.senderAddress, job.senderName, job.programName,
                                  job.subject, message.EMAILTOGROUP.str()}),
                           Icon::Error, kOk, kOk);
    } else if (kind == MessageKind::News) {
        prompter().message(kNewsBox,
                           lines({errorLine, job.server, job.senderAddress, job.senderName, job.programName,
                                  job.subject, message.EMAILTONAME.str(), message.EMAILTO.str()}),
                           Icon::Error, kOk, kOk);
    }
}

// The record is read afresh: the table's buffer is shared, and the message
// may have been edited while it was on its way.
void MessageSender::writeDateSent(std::int32_t emailId) {
    store::Table& table = data::processTable<data::Messages>();
    data::TableUse use(table, prompter());
    auto& m = table.rec<data::Messages>();
    m.EMAILID = emailId;
    if (table.get(data::keys::Messages::KEYEMAILID) != store::kNoError) return;
    m.LASTDATESENT = clock().today();
    // The mail went out; a date that cannot be stored is not worth a box.
    [[maybe_unused]] const int stored = table.put();
}

int MessageSender::sendMessage(const SendRequest& request) {
    int code = 0;
    auto send = begin(request, code);
    return send ? finish(*send) : code;
}

int MessageSender::sendFromScript(std::int32_t emailId) {
    if (pending_) {
        if (!pending_->finished()) return kMailPending;
        const bool same = pending_->emailId() == emailId;
        const int code = finish(*pending_);
        pending_.reset();
        if (same) return code;
    }
    int code = 0;
    pending_ = begin({emailId, nullptr, true}, code);
    return pending_ ? kMailPending : code;
}

MessageSender& processMailSender() {
    static MessageSender sender;
    return sender;
}

}  // namespace plorix::script
