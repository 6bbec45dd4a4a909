#pragma once
// How the script engine hands a "Send Email" item to the mail sender. The
// sender lives above the engine; until one is installed the engine logs
// that sending is not available and the script goes on.

#include <cstdint>
#include <string_view>

namespace plorix::script {

inline constexpr std::string_view kMailNotAvailable = "Send Email not available";
inline constexpr int kMailPending = -1;

class MailSender {
public:
    virtual ~MailSender() = default;
    // Sends the stored message with this identifier on behalf of a script;
    // 0 on success, otherwise the sender's result code. A sender whose
    // transfer is still running answers kMailPending: the item stays current
    // and is asked again on the next tick.
    virtual int sendFromScript(std::int32_t emailId) = 0;
};

// The sender used where none is installed: logs kMailNotAvailable with the
// label "Script" and answers 1.
MailSender& unavailableMail();

}  // namespace plorix::script
