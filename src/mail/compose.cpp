#include "mail/compose.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "runtime/file_names.h"
#include "runtime/fixed_text.h"
#include "mail/encoding.h"

namespace plorix::mail {
namespace {

struct TypeByExtension {
    std::string_view extension;
    std::string_view type;
};

// The types a recipient's program needs to open common files directly;
// anything else goes as plain bytes.
constexpr std::array<TypeByExtension, 16> kTypes{{
    {"txt", "text/plain"},
    {"csv", "text/csv"},
    {"htm", "text/html"},
    {"html", "text/html"},
    {"pdf", "application/pdf"},
    {"zip", "application/zip"},
    {"png", "image/png"},
    {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},
    {"gif", "image/gif"},
    {"xml", "application/xml"},
    {"json", "application/json"},
    {"rtf", "application/rtf"},
    {"doc", "application/msword"},
    {"xls", "application/vnd.ms-excel"},
    {"pxs", "text/plain"},
}};

constexpr std::string_view kOctets = "application/octet-stream";

std::string contentTypeOf(const std::string& fileName) {
    const std::string extension = toLower(std::filesystem::path(fileName).extension().string());
    for (const auto& entry : kTypes)
        if (!extension.empty() && extension.substr(1) == entry.extension) return std::string(entry.type);
    return std::string(kOctets);
}

std::string randomHex(std::size_t digits) {
    static constexpr std::string_view kHex = "0123456789abcdef";
    std::random_device device;
    std::string out;
    while (out.size() < digits) {
        auto bits = device();
        for (int i = 0; i < 8 && out.size() < digits; ++i, bits >>= 4) out += kHex[bits & 15];
    }
    return out;
}

bool isAtextOrBlank(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
           std::string_view("!#$%&'*+-/=?^_`{|}~").find(c) != std::string_view::npos;
}

// A display name as a phrase: plain words as they are, other ASCII quoted,
// anything else as encoded words.
std::string phrase(std::string_view name) {
    const std::string safe = headerSafe(name);
    if (!isAscii(safe)) return encodedWords(safe);
    if (std::all_of(safe.begin(), safe.end(), isAtextOrBlank)) return safe;
    std::string quoted = "\"";
    for (char c : safe) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string mailboxList(const std::vector<MailRecipient>& list) {
    std::string out;
    for (const MailRecipient& r : list) out += (out.empty() ? "" : ", ") + mailbox(r);
    return out;
}

std::string joinedAddresses(const std::vector<MailRecipient>& list, std::string_view separator) {
    std::string out;
    for (const MailRecipient& r : list) out += (out.empty() ? "" : std::string(separator)) + r.address;
    return out;
}

std::string messageId(const std::string& senderAddress) {
    const std::size_t at = senderAddress.rfind('@');
    std::string domain = at == std::string::npos ? std::string() : senderAddress.substr(at + 1);
    if (domain.empty() || domain.front() == '[') domain = "plorix.invalid";
    return "<" + randomHex(24) + "@" + domain + ">";
}

// A file name for Content-Disposition: quoted when ASCII, else in the
// extended form (RFC 2231) that keeps every character.
std::string fileNameParameter(const std::string& name) {
    const std::string safe = headerSafe(name);
    if (isAscii(safe)) {
        std::string quoted;
        for (char c : safe)
            if (c != '"' && c != '\\') quoted += c;
        return "filename=\"" + quoted + "\"";
    }
    static constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : safe) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        if (plain) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return "filename*=UTF-8''" + encoded;
}

// The text part's headers and content.
std::string textPart(const std::string& body) {
    const std::string lines = crlfLines(body);
    bool longLine = false;
    for (std::size_t pos = 0; pos <= lines.size() && !longLine;) {
        const std::size_t end = std::min(lines.find("\r\n", pos), lines.size());
        longLine = end - pos > kMaxLineLength;
        pos = end + 2;
    }
    std::string out;
    if (isAscii(lines) && !longLine) {
        out = "Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n\r\n" + lines;
    } else {
        out =
            "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n" +
            quotedPrintable(lines);
    }
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) out += "\r\n";
    return out;
}

}  // namespace

std::string mailbox(const MailRecipient& recipient) {
    const std::string name = phrase(recipient.name);
    if (name.empty() || headerSafe(recipient.name) == recipient.address) return recipient.address;
    return name + " <" + recipient.address + ">";
}

std::string mailDate(Moment local) {
    const CivilDate civil = civilFromDate(local.date);
    std::tm parts{};
    parts.tm_year = civil.year - 1900;
    parts.tm_mon = civil.month - 1;
    parts.tm_mday = civil.day;
    const Time time = std::max(local.time, kMidnight) - 1;
    parts.tm_hour = time / kHundredthsPerHour;
    parts.tm_min = time / kHundredthsPerMinute % 60;
    parts.tm_sec = time / kHundredthsPerSecond % 60;
    parts.tm_isdst = -1;
    std::tm resolved = parts;
    const std::time_t instant = std::mktime(&resolved);
    std::tm zoned{};
    localtime_r(&instant, &zoned);
    const long offset = zoned.tm_gmtoff / 60;
    static constexpr std::array<std::string_view, 7> kDays{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr std::array<std::string_view, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                  kDays[weekdayOf(local.date)].data(), civil.day, kMonths[civil.month - 1].data(), civil.year,
                  parts.tm_hour, parts.tm_min, parts.tm_sec, offset < 0 ? '-' : '+', std::labs(offset) / 60,
                  std::labs(offset) % 60);
    return text;
}

std::optional<MailResult> readAttachments(const MailJob& job, std::vector<AttachmentFile>& files) {
    for (const std::string& name : job.attachments) {
        const std::string path = normaliseSeparators(name);
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        if (error || !std::filesystem::is_regular_file(path, error))
            return MailResult{kMailAttachmentUnreadable, name};
        if (size > kMaxAttachmentBytes) return MailResult{kMailAttachmentUnreadable, name + " is too large"};
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (!in) return MailResult{kMailAttachmentUnreadable, name};
        const std::string fileName = std::filesystem::path(path).filename().string();
        files.push_back({fileName, contentTypeOf(fileName), std::move(bytes).str()});
    }
    return std::nullopt;
}

std::string composeMessage(const MailJob& job, const std::vector<MailRecipient>& to,
                           const std::vector<AttachmentFile>& files) {
    const bool news = job.kind == MailKind::News;
    std::string out;
    if (!job.date.empty()) out += headerLine("Date", job.date);
    out += headerLine("From", mailbox({job.senderName, job.senderAddress}), HeaderKind::Addresses);
    if (news) {
        out += headerLine("Newsgroups", joinedAddresses(to, ","), HeaderKind::Addresses);
    } else {
        if (!to.empty()) out += headerLine("To", mailboxList(to), HeaderKind::Addresses);
        if (!job.cc.empty()) out += headerLine("Cc", mailboxList(job.cc), HeaderKind::Addresses);
    }
    std::string subject = headerSafe(job.subject);
    if (news && subject.empty()) subject = "(no subject)";  // news servers refuse articles without one
    out += headerLine("Subject", subject);
    if (const std::string org = headerSafe(job.organisation); !org.empty())
        out += headerLine("Organization", org);
    if (const std::string program = headerSafe(job.programName); !program.empty())
        out += headerLine(news ? "User-Agent" : "X-Mailer", program);
    out += headerLine("Message-ID", messageId(job.senderAddress), HeaderKind::Addresses);
    out += "MIME-Version: 1.0\r\n";
    if (files.empty()) return out + textPart(job.body);

    const std::string boundary = "=_plorix_" + randomHex(32);
    out += "Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n\r\n";
    out += "This is a message with attachments in MIME format.\r\n";
    out += "--" + boundary + "\r\n" + textPart(job.body);
    for (const AttachmentFile& file : files) {
        out += "--" + boundary + "\r\n";
        out += "Content-Type: " + file.contentType + "\r\n";
        out += "Content-Disposition: attachment; " + fileNameParameter(file.fileName) + "\r\n";
        out += "Content-Transfer-Encoding: base64\r\n\r\n";
        out += base64Lines(file.bytes);
    }
    return out + "--" + boundary + "--\r\n";
}

}  // namespace plorix::mail
