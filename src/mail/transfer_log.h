#pragma once
// The transfer log of a mail or news transfer ("inmail.log", "inserver.log"
// in the data folder): the conversation with the server, one line per
// command and reply, so a user can see why a server refused a message.
// Passwords never reach the file, and neither does the message itself.

#include <cstdio>
#include <string>
#include <string_view>

namespace plorix::mail {

// A log past this size is started afresh when the next transfer begins.
inline constexpr long kMaxTransferLogBytes = 256 * 1024;

class TransferLog {
public:
    // An empty file name keeps no log. `heading` starts the transfer's section.
    TransferLog(const std::string& fileName, std::string_view heading);
    ~TransferLog();
    TransferLog(const TransferLog&) = delete;
    TransferLog& operator=(const TransferLog&) = delete;

    // A command sent to the server; the secret part of a log-in is masked.
    void command(std::string_view line);
    // A reply line of the server.
    void reply(std::string_view line);
    // Anything else worth knowing (connecting, the size of the message, the outcome).
    void note(std::string_view text);

private:
    void write(char mark, std::string_view text);
    std::FILE* file_ = nullptr;
    bool secret_ = false;  // inside a log-in exchange: what we send is masked
};

}  // namespace plorix::mail
