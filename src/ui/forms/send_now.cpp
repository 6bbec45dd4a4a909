#include "ui/forms/send_now.h"

#include <QTimer>

#include "mail/result.h"
#include "script/mail_sender.h"
#include "ui/qt_text.h"

namespace plorix::ui {

namespace {

constexpr int kPollMilliseconds = 50;
constexpr std::string_view kSentTitle = "Mail";
constexpr std::string_view kFailedTitle = "Mail Error";

}  // namespace

// Passes the sender's messages on, except the error boxes of a failed
// transfer: the one box of "Could not send:  " says it all.
class SendNow::Quiet final : public Prompter {
public:
    explicit Quiet(Prompter& target) : target_(target) {}
    int message(std::string_view title, std::string_view text, Icon icon, ButtonSet buttons,
                int defaultButton) override {
        if (holding && buttons == kOk) return kOk;
        return target_.message(title, text, icon, buttons, defaultButton);
    }
    std::unique_ptr<Progress> progress(std::string_view title, std::string_view heading) override {
        return target_.progress(title, heading);
    }
    bool holding = false;

private:
    Prompter& target_;
};

SendNow::SendNow(Prompter& prompter, QObject* parent)
    : QObject(parent), quiet_(std::make_unique<Quiet>(prompter)), timer_(new QTimer(this)) {
    script::MailServices services;
    services.prompter = quiet_.get();
    sender_ = std::make_unique<script::MessageSender>(std::move(services));
    timer_->setInterval(kPollMilliseconds);
    connect(timer_, &QTimer::timeout, this, &SendNow::poll);
}

// A transfer still running when the window goes is cancelled by its end.
SendNow::~SendNow() = default;

bool SendNow::start(std::int32_t emailId, const QString& address) {
    if (pending_) return false;
    int code = 0;
    pending_ = sender_->begin({emailId, nullptr, false}, code);
    if (!pending_) return false;
    address_ = address;
    timer_->start();
    return true;
}

void SendNow::poll() {
    if (!pending_ || !pending_->finished()) return;
    timer_->stop();
    quiet_->holding = true;
    const int code = sender_->finish(*pending_);
    quiet_->holding = false;
    const std::string error = mail::mailErrorText(mail::settleMailResult(pending_->transfer().result()));
    pending_.reset();
    const std::string address = address_.toStdString();
    if (code == mail::kMailSent)
        quiet_->message(kSentTitle, "Mail sent:  " + address, Icon::Information, kOk, kOk);
    else
        quiet_->message(kFailedTitle,
                        "Could not send:  " + address + "\n\nResult " + std::to_string(code) + ": " + error,
                        Icon::Error, kOk, kOk);
    emit finished(code == mail::kMailSent);
}

}  // namespace plorix::ui
