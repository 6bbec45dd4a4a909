#include "mail/nntp_post.h"

#include <cstdlib>
#include <initializer_list>

#include "mail/address.h"
#include "mail/nntp_socket.h"

namespace plorix::mail {
namespace {

// Reply codes of the exchange.
constexpr int kPostingAllowed = 200;
constexpr int kNoPosting = 201;
constexpr int kAuthAccepted = 281;
constexpr int kPasswordRequired = 381;
constexpr int kSendArticle = 340;
constexpr int kArticlePosted = 240;

class Conversation {
public:
    Conversation(LineSocket& socket, TransferLog& log) : socket_(socket), log_(log) {}

    // Reads one reply; its code in `code` (0 when it has none).
    MailResult reply(int& code) {
        std::string line;
        if (MailResult r = socket_.readLine(line); !r.ok()) return r;
        log_.reply(line);
        last_ = line;
        code = line.size() >= 3 ? std::atoi(line.substr(0, 3).c_str()) : 0;
        return {};
    }
    MailResult command(const std::string& line) {
        log_.command(line);
        return socket_.send(line + "\r\n");
    }
    // Sends `line` (unless empty) and reads the reply, which must be one of `expected`.
    MailResult exchange(const std::string& line, std::initializer_list<int> expected, int& code) {
        if (!line.empty())
            if (MailResult r = command(line); !r.ok()) return r;
        if (MailResult r = reply(code); !r.ok()) return r;
        for (int e : expected)
            if (code == e) return {};
        return {kMailServerError, last_};
    }

private:
    LineSocket& socket_;
    TransferLog& log_;
    std::string last_;
};

}  // namespace

std::string dotStuffed(const std::string& article) {
    std::string out;
    out.reserve(article.size() + 8);
    bool lineStart = true;
    for (char c : article) {
        if (lineStart && c == '.') out += '.';
        out += c;
        lineStart = c == '\n';
    }
    if (!out.empty() && !lineStart) out += "\r\n";
    return out + ".\r\n";
}

MailResult postNews(const MailJob& job, const std::string& article, const std::atomic<bool>& cancel,
                    TransferLog& log) {
    const auto server = parseServer(job.server, kDefaultNntpPort);
    if (!server) return {kMailUnresolvedHost, job.server};
    LineSocket socket(cancel, job.timeout());
    log.note("connecting to " + server->host + " port " + std::to_string(server->port));
    if (MailResult r = socket.connect(server->host, server->port); !r.ok()) return r;
    Conversation talk(socket, log);
    int code = 0;
    if (MailResult r = talk.exchange({}, {kPostingAllowed, kNoPosting}, code); !r.ok()) return r;
    if (!job.user.empty()) {
        if (MailResult r =
                talk.exchange("AUTHINFO USER " + job.user, {kAuthAccepted, kPasswordRequired}, code);
            !r.ok())
            return r;
        if (code == kPasswordRequired)
            if (MailResult r = talk.exchange("AUTHINFO PASS " + job.password, {kAuthAccepted}, code); !r.ok())
                return r;
    }
    if (MailResult r = talk.exchange("POST", {kSendArticle}, code); !r.ok()) return r;
    log.note("article of " + std::to_string(article.size()) + " bytes");
    if (MailResult r = socket.send(dotStuffed(article)); !r.ok()) return r;
    if (MailResult r = talk.exchange({}, {kArticlePosted}, code); !r.ok()) return r;
    // The article is posted; how the server takes our leave does not matter.
    if (talk.command("QUIT").ok()) talk.reply(code);
    return {};
}

}  // namespace plorix::mail
