#pragma once
// Sending a stored message (a Messages record) as an e-mail, a mass mailing
// to the contacts of one category, or a news article, and telling the user
// how it went: lines in the event log, an error box for mass mailings and
// news, and M_:LASTDATESENT set once the message has gone.
//
// A send has three steps. begin() runs on the frame's thread: it reads the
// message, checks the settings and builds the job; the transfer then runs on
// a worker thread; finish() is back on the frame's thread and reports. The
// script stepper drives the steps through sendFromScript(), which answers
// kMailPending while the transfer runs, so the "Send Email" item stays
// current and the program keeps ticking. sendMessage() does all three at
// once, waiting for the transfer.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "data/tables/messages.h"
#include "runtime/clock.h"
#include "runtime/prompter.h"
#include "script/mail_hook.h"
#include "script/mail_job_build.h"
#include "mail/result.h"
#include "mail/transfer.h"
#include "settings/settings.h"

namespace plorix::script {

inline constexpr std::string_view kMailErrorLabel = "Mail Error";
inline constexpr std::string_view kNewsErrorLabel = "News Error";
inline constexpr std::string_view kMissingMessageText = "Error sending message";

// What the sender reaches besides the tables. Null members stand for the
// process's own (processClock(), processPrompter(), settings()); an empty
// substitution is the process's value store.
struct MailServices {
    const Clock* clock = nullptr;
    Prompter* prompter = nullptr;
    const settings::Settings* settings = nullptr;
    MailSubstitution substitute;
    // Copied into every job (0 and empty: the defaults).
    int timeoutSeconds = 0;
    std::string caFile;
};

struct SendRequest {
    std::int32_t emailId = 0;
    // The message as the caller holds it, to be sent as it is ("already
    // loaded"); ignored when the request comes from a script, which always
    // sends the stored message.
    const data::Messages* loaded = nullptr;
    bool fromScript = false;
};

// A send whose transfer runs.
class PendingSend {
public:
    std::int32_t emailId() const { return message_.EMAILID; }
    bool finished() const { return transfer_->finished(); }
    const mail::MailTransfer& transfer() const { return *transfer_; }

private:
    friend class MessageSender;
    data::Messages message_;
    bool writeDateSent_ = false;
    std::unique_ptr<mail::MailTransfer> transfer_;
};

class MessageSender final : public MailSender {
public:
    explicit MessageSender(MailServices services = {});
    ~MessageSender() override;

    // The whole send, waiting for its transfer: 0 or the result code.
    int sendMessage(const SendRequest& request);

    // Starts a send. When it ends before any transfer (no such message, no
    // setup) the result is in `code` and nothing is returned.
    std::unique_ptr<PendingSend> begin(const SendRequest& request, int& code);
    // Reports a finished send (waiting for its transfer if need be); its code.
    int finish(PendingSend& send);

    // The "Send Email" item: starts the send on the first call and answers
    // kMailPending until its transfer has ended, then its code. A call for
    // another message while a transfer runs (the queue was emptied meanwhile)
    // waits for that transfer, reports it, then starts its own.
    int sendFromScript(std::int32_t emailId) override;
    bool busy() const { return pending_ != nullptr; }

private:
    const Clock& clock() const;
    Prompter& prompter() const;
    const settings::Settings& settings() const;
    std::string substitute(std::string_view text, std::size_t width) const;
    void reportFailure(const PendingSend& send, const mail::MailResult& result);
    void writeDateSent(std::int32_t emailId);

    MailServices services_;
    std::unique_ptr<PendingSend> pending_;
};

// The program's sender, on the process's clock, prompter, settings and values.
MessageSender& processMailSender();

}  // namespace plorix::script
