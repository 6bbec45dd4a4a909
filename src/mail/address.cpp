#include "mail/address.h"

#include <algorithm>
#include <charconv>

#include "runtime/fixed_text.h"

namespace plorix::mail {
namespace {

constexpr std::size_t kMaxAddress = 254;
constexpr std::size_t kMaxLocalPart = 64;
constexpr std::size_t kMaxDomain = 253;
constexpr std::size_t kMaxLabel = 63;

bool isAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The characters of an unquoted local part besides letters and digits.
bool isAtext(char c) {
    return isAlnum(c) || std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

bool isDotAtom(std::string_view text) {
    if (text.empty() || text.front() == '.' || text.back() == '.') return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '.') {
            if (text[i + 1] == '.') return false;  // never the last character (checked above)
        } else if (!isAtext(text[i])) {
            return false;
        }
    }
    return true;
}

// "..." with printable characters inside; a backslash escapes the next one.
bool isQuotedLocal(std::string_view text) {
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (isControl(c) || static_cast<unsigned char>(c) >= 0x80) return false;
        if (c == '"') return false;
        if (c == '\\' && ++i + 1 >= text.size()) return false;
    }
    return true;
}

bool isHostLabel(std::string_view label) {
    if (label.empty() || label.size() > kMaxLabel || label.front() == '-' || label.back() == '-')
        return false;
    return std::all_of(label.begin(), label.end(), [](char c) { return isAlnum(c) || c == '-'; });
}

bool isHostName(std::string_view name) {
    if (name.empty() || name.size() > kMaxDomain) return false;
    std::size_t begin = 0;
    while (true) {
        const std::size_t dot = name.find('.', begin);
        if (!isHostLabel(name.substr(begin, dot - begin))) return false;
        if (dot == std::string_view::npos) return true;
        begin = dot + 1;
    }
}

bool isAddressLiteral(std::string_view text) {
    if (text.size() < 3 || text.front() != '[' || text.back() != ']') return false;
    std::string_view inner = text.substr(1, text.size() - 2);
    if (startsWithNoCase(inner, "IPv6:")) inner.remove_prefix(5);
    return !inner.empty() && std::all_of(inner.begin(), inner.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.' ||
               c == ':';
    });
}

bool isV6Host(std::string_view host) {
    return host.find(':') != std::string_view::npos && isAddressLiteral("[" + std::string(host) + "]");
}

std::optional<int> parsePort(std::string_view text) {
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// Splits at "," and ";" that are outside quotes and angle brackets.
std::vector<std::string> splitEntries(std::string_view field) {
    std::vector<std::string> entries;
    std::string current;
    bool quoted = false;
    bool angled = false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '"' && !angled) quoted = !quoted;
        if (c == '<' && !quoted) angled = true;
        if (c == '>' && !quoted) angled = false;
        if ((c == ',' || c == ';') && !quoted && !angled) {
            entries.push_back(trim(current));
            current.clear();
            continue;
        }
        current += c;
    }
    entries.push_back(trim(current));
    std::erase_if(entries, [](const std::string& e) { return e.empty(); });
    return entries;
}

std::string unquote(std::string text) {
    text = trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
    return text;
}

bool hasControl(std::string_view text) { return std::any_of(text.begin(), text.end(), isControl); }

std::optional<MailResult> checkRecipients(const std::vector<MailRecipient>& list, bool news) {
    for (const MailRecipient& r : list) {
        // A line break in an entry can carry a second address past the
        // check of the first: the whole entry is refused.
        if (hasControl(r.name)) return MailResult{kMailInvalidAddress, r.name + " <" + r.address + ">"};
        if (news ? !isValidNewsgroup(r.address) : !isValidAddress(r.address))
            return MailResult{kMailInvalidAddress, r.address};
    }
    return std::nullopt;
}

}  // namespace

bool isValidAddress(std::string_view address) {
    if (address.empty() || address.size() > kMaxAddress) return false;
    const std::size_t at = address.rfind('@');
    if (at == std::string_view::npos) return false;
    const std::string_view local = address.substr(0, at);
    const std::string_view domain = address.substr(at + 1);
    if (local.empty() || local.size() > kMaxLocalPart) return false;
    if (!isDotAtom(local) && !isQuotedLocal(local)) return false;
    return isHostName(domain) || isAddressLiteral(domain);
}

bool isValidNewsgroup(std::string_view group) {
    if (group.empty() || group.front() == '.' || group.back() == '.' ||
        group.find("..") != std::string_view::npos)
        return false;
    return std::all_of(group.begin(), group.end(),
                       [](char c) { return isAlnum(c) || c == '.' || c == '+' || c == '-' || c == '_'; });
}

std::vector<MailRecipient> splitRecipients(std::string_view field, std::string_view name) {
    std::vector<MailRecipient> out;
    const std::vector<std::string> entries = splitEntries(field);
    for (const std::string& entry : entries) {
        const std::size_t open = entry.rfind('<');
        if (open != std::string::npos && entry.back() == '>') {
            out.push_back(
                {unquote(entry.substr(0, open)), trim(entry.substr(open + 1, entry.size() - open - 2))});
        } else {
            out.push_back({entries.size() == 1 ? trim(name) : std::string(), entry});
        }
    }
    return out;
}

std::optional<ServerAddress> parseServer(std::string_view server, int defaultPort) {
    const std::string text = trim(server);
    ServerAddress result{text, defaultPort};
    std::optional<std::string_view> portText;
    const auto colons = std::count(text.begin(), text.end(), ':');
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos) return std::nullopt;
        result.host = text.substr(1, close - 1);
        const std::string_view rest = std::string_view(text).substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return std::nullopt;
            portText = rest.substr(1);
        }
        if (!isV6Host(result.host)) return std::nullopt;
    } else if (colons > 1) {
        if (!isV6Host(result.host)) return std::nullopt;  // a bare v6 address: no port
    } else if (colons == 1) {
        const std::size_t colon = text.find(':');
        result.host = text.substr(0, colon);
        portText = std::string_view(text).substr(colon + 1);
    }
    if (portText) {
        const auto port = parsePort(*portText);
        if (!port) return std::nullopt;
        result.port = *port;
    }
    if (isHostName(result.host) || isV6Host(result.host)) return result;
    // Underscores appear in the names of some local machines; let the
    // resolver judge those, but nothing that could leave the host name.
    const bool plain = !result.host.empty() &&
                       std::all_of(result.host.begin(), result.host.end(),
                                   [](char c) { return isAlnum(c) || c == '.' || c == '-' || c == '_'; });
    if (!plain) return std::nullopt;
    return result;
}

std::optional<MailResult> checkMailJob(const MailJob& job) {
    const int defaultPort = job.kind == MailKind::News ? kDefaultNntpPort : kDefaultSmtpPort;
    if (!parseServer(job.server, defaultPort)) return MailResult{kMailUnresolvedHost, trim(job.server)};
    if (!isValidAddress(job.senderAddress)) return MailResult{kMailInvalidAddress, job.senderAddress};
    const bool news = job.kind == MailKind::News;
    for (const auto* list : {&job.to, &job.cc, &job.bcc})
        if (auto bad = checkRecipients(*list, news)) return bad;
    if (job.to.empty() && job.cc.empty() && job.bcc.empty())
        return MailResult{kMailBadArguments, "no recipient"};
    if (hasControl(job.user) || job.user.find(' ') != std::string::npos)
        return MailResult{kMailBadArguments, "user name"};
    if (hasControl(job.password)) return MailResult{kMailBadArguments, "password"};
    return std::nullopt;
}

}  // namespace plorix::mail
