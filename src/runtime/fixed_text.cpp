#include "runtime/fixed_text.h"

#include <algorithm>

namespace plorix {
namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view clipView(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ') --end;
    return text.substr(0, end);
}

// Length in bytes of the character starting at text[pos]: the whole sequence
// when it is well-formed UTF-8, otherwise one byte, so broken text still
// advances and is never cut inside a valid character.
std::size_t characterLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = lead < 0x80                    ? 1
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                         : lead >= 0xE0                 ? 3
                         : lead >= 0xC2 && lead <= 0xDF ? 2
                                                        : 0;
    if (length <= 1) return 1;
    if (pos + length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
    return length;
}

// Byte length of the first `width` characters.
std::size_t prefixBytes(std::string_view text, std::size_t width) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < width && pos < text.size(); ++n) pos += characterLength(text, pos);
    return pos;
}

template <typename Fold>
int compareFolded(std::string_view a, std::string_view b, Fold fold) {
    a = clipView(a);
    b = clipView(b);
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(fold(a[i]));
        const auto y = static_cast<unsigned char>(fold(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool equalFoldedAt(std::string_view text, std::size_t pos, std::string_view part) {
    for (std::size_t i = 0; i < part.size(); ++i)
        if (upper(text[pos + i]) != upper(part[i])) return false;
    return true;
}

}  // namespace

std::string clip(std::string_view text) { return std::string(clipView(text)); }

std::string_view trimmedView(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isWhite(text[begin])) ++begin;
    while (end > begin && isWhite(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string trim(std::string_view text) { return std::string(trimmedView(text)); }

std::string twoDigits(int n) {
    if (n < 0 || n > 99) return std::to_string(n);
    return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) ++count;
    return count;
}

std::string cutToWidth(std::string_view text, std::size_t width) {
    return std::string(text.substr(0, prefixBytes(text, width)));
}

std::string padRight(std::string_view text, std::size_t width) {
    std::string result = cutToWidth(text, width);
    result.append(width - characterCount(result), ' ');
    return result;
}

std::string padLeft(std::string_view text, std::size_t width) {
    std::string cut = cutToWidth(text, width);
    return std::string(width - characterCount(cut), ' ') + cut;
}

std::string toUpper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), upper);
    return result;
}

std::string toLower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lower);
    return result;
}

int compareBlankPadded(std::string_view a, std::string_view b) {
    return compareFolded(a, b, [](char c) { return c; });
}
bool equalBlankPadded(std::string_view a, std::string_view b) { return compareBlankPadded(a, b) == 0; }

int compareNoCase(std::string_view a, std::string_view b) { return compareFolded(a, b, upper); }
bool equalNoCase(std::string_view a, std::string_view b) { return compareNoCase(a, b) == 0; }

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return prefix.size() <= text.size() && equalFoldedAt(text, 0, prefix);
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    return suffix.size() <= text.size() && equalFoldedAt(text, text.size() - suffix.size(), suffix);
}

std::size_t findNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (from > text.size() || needle.size() > text.size() - from) return std::string_view::npos;
    for (std::size_t pos = from; pos + needle.size() <= text.size(); ++pos)
        if (equalFoldedAt(text, pos, needle)) return pos;
    return std::string_view::npos;
}

bool containsNoCase(std::string_view text, std::string_view needle) {
    return findNoCase(text, needle) != std::string_view::npos;
}

}  // namespace plorix
