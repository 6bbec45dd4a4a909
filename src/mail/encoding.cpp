#include "mail/encoding.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "runtime/fixed_text.h"

namespace plorix::mail {
namespace {

constexpr std::string_view kBase64Digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
// "=?UTF-8?B?" and "?=" around each encoded word.
constexpr std::size_t kEncodedWordOverhead = 12;
constexpr std::size_t kMaxEncodedWord = 75;

std::size_t utf8Length(unsigned char lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

std::string hexByte(unsigned char c) { return {'=', kHexDigits[c >> 4], kHexDigits[c & 15]}; }

std::size_t longestWord(std::string_view text) {
    std::size_t longest = 0;
    for (std::size_t pos = 0; pos <= text.size();) {
        const std::size_t blank = std::min(text.find(' ', pos), text.size());
        longest = std::max(longest, blank - pos);
        pos = blank + 1;
    }
    return longest;
}

}  // namespace

std::string headerSafe(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return trim(out);
}

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t block = 0;
        for (std::size_t k = 0; k < 3; ++k)
            block = (block << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kBase64Digits[(block >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::string base64Lines(std::string_view bytes) {
    const std::string flat = base64(bytes);
    std::string out;
    for (std::size_t i = 0; i < flat.size(); i += kFoldWidth) out += flat.substr(i, kFoldWidth) + "\r\n";
    return out;
}

std::string encodedWords(std::string_view text) {
    // Each word holds whole characters only, so every word decodes alone.
    const std::size_t maxBytes = (kMaxEncodedWord - kEncodedWordOverhead) / 4 * 3;
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size()) {
            const std::size_t len = utf8Length(static_cast<unsigned char>(text[end]));
            if (end + len - pos > maxBytes) break;
            end += len;
        }
        if (end == pos) end = std::min(text.size(), pos + maxBytes);  // a broken sequence
        if (!out.empty()) out += ' ';
        out += "=?UTF-8?B?" + base64(text.substr(pos, end - pos)) + "?=";
        pos = end;
    }
    return out;
}

std::string headerLine(std::string_view name, std::string_view value, HeaderKind kind) {
    std::string out = std::string(name) + ":";
    if (value.empty()) return out + "\r\n";
    const bool text = kind == HeaderKind::Text;
    std::string encoded;
    if (text && (!isAscii(value) || longestWord(value) + name.size() + 2 > kFoldWidth)) {
        encoded = encodedWords(value);
        value = encoded;
    }
    std::vector<std::string_view> words;
    for (std::size_t pos = 0; pos < value.size();) {
        const std::size_t blank = std::min(value.find(' ', pos), value.size());
        words.push_back(value.substr(pos, blank - pos));
        pos = blank + 1;
    }
    std::size_t lineLength = out.size();
    for (std::string_view word : words) {
        if (lineLength > 1 && lineLength + 1 + word.size() > kFoldWidth) {
            out += "\r\n";
            lineLength = 0;
        }
        out += " ";
        out += word;
        lineLength += 1 + word.size();
    }
    return out + "\r\n";
}

std::string crlfLines(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string quotedPrintable(std::string_view text) {
    std::string out;
    std::size_t lineStart = 0;
    while (lineStart <= text.size()) {
        std::size_t lineEnd = text.find("\r\n", lineStart);
        const bool last = lineEnd == std::string_view::npos;
        if (last) lineEnd = text.size();
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        std::size_t column = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool trailingBlank = (c == ' ' || c == '\t') && i + 1 == line.size();
            const bool plain =
                (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !trailingBlank);
            const std::string piece = plain ? std::string(1, static_cast<char>(c)) : hexByte(c);
            if (column + piece.size() > kFoldWidth - 1) {  // room for the soft break "="
                out += "=\r\n";
                column = 0;
            }
            out += piece;
            column += piece.size();
        }
        if (last) break;
        out += "\r\n";
        lineStart = lineEnd + 2;
    }
    return out;
}

}  // namespace plorix::mail
