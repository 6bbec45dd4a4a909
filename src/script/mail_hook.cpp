#include "script/mail_hook.h"

#include "log/event_log.h"

namespace plorix::script {
namespace {

class UnavailableMail final : public MailSender {
public:
    int sendFromScript(std::int32_t) override {
        log::logEvent(kMailNotAvailable, "Script");
        return 1;
    }
};

}  // namespace

MailSender& unavailableMail() {
    static UnavailableMail sender;
    return sender;
}

}  // namespace plorix::script
