#include "mail/transfer_log.h"

#include <sys/stat.h>

#include "runtime/fixed_text.h"

namespace plorix::mail {
namespace {

constexpr std::string_view kMask = "****";

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

// The first `count` words of a line.
std::string_view firstWords(std::string_view line, int count) {
    std::size_t end = 0;
    for (int i = 0; i < count && end != std::string_view::npos; ++i) end = line.find(' ', end + (i ? 1 : 0));
    return end == std::string_view::npos ? line : line.substr(0, end);
}

}  // namespace

TransferLog::TransferLog(const std::string& fileName, std::string_view heading) {
    if (fileName.empty()) return;
    struct stat info {};
    const bool tooLarge = ::stat(fileName.c_str(), &info) == 0 && info.st_size > kMaxTransferLogBytes;
    file_ = std::fopen(fileName.c_str(), tooLarge ? "wb" : "ab");
    if (file_) write('-', heading);
}

TransferLog::~TransferLog() {
    if (file_) std::fclose(file_);
}

void TransferLog::write(char mark, std::string_view text) {
    if (!file_) return;
    std::fprintf(file_, "%c %.*s\r\n", mark, static_cast<int>(text.size()), text.data());
    std::fflush(file_);
}

void TransferLog::command(std::string_view line) {
    line = withoutLineEnd(line);
    if (secret_) {
        write('>', kMask);
    } else if (startsWithNoCase(line, "AUTHINFO PASS")) {
        write('>', "AUTHINFO PASS " + std::string(kMask));
    } else if (startsWithNoCase(line, "AUTH ")) {
        // "AUTH PLAIN <credentials>": keep the mechanism, mask the rest and
        // every answer to the server's challenges.
        const std::string_view mechanism = firstWords(line, 2);
        write('>', mechanism.size() < line.size() ? std::string(mechanism) + " " + std::string(kMask)
                                                  : std::string(line));
        secret_ = true;
    } else {
        write('>', line);
    }
}

void TransferLog::reply(std::string_view line) {
    line = withoutLineEnd(line);
    if (!startsWithNoCase(line, "334")) secret_ = false;
    write('<', line);
}

void TransferLog::note(std::string_view text) { write('*', withoutLineEnd(text)); }

}  // namespace plorix::mail
