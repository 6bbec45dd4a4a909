#pragma once
// The encodings a message needs on its way through mail and news servers:
// header values that can never start a line of their own, words outside
// ASCII in headers, and bodies and files as seven-bit lines.

#include <string>
#include <string_view>

namespace plorix::mail {

// The longest line we write, and the longest a server must accept.
inline constexpr std::size_t kFoldWidth = 76;
inline constexpr std::size_t kMaxLineLength = 998;

// A header value with every line break and other control character turned
// into a blank and surrounding blanks removed: whatever the user or a script
// value put into it, it stays inside its own header.
std::string headerSafe(std::string_view value);

bool isAscii(std::string_view text);

// Whether a header holds free text (Subject, Organization) that may be
// written as encoded words, or addresses and names, which must keep their form.
enum class HeaderKind { Text, Addresses };

// A header line "Name: value" ending in CR LF, folded at blanks so that lines
// stay near kFoldWidth. Free text outside ASCII, or with words too long to
// fold, is written as encoded words. `value` must be headerSafe and, for
// addresses, ASCII (names already encoded): every line break this writes is
// followed by a blank, so the header can only continue, never end early.
std::string headerLine(std::string_view name, std::string_view value, HeaderKind kind = HeaderKind::Text);

// Text as encoded words (UTF-8, base64), each at most 75 characters and
// holding whole characters, separated by blanks.
std::string encodedWords(std::string_view text);

// Every line end (CR LF, a lone CR or a lone LF) as CR LF.
std::string crlfLines(std::string_view text);

// Base64 in lines of 76 characters, each ending in CR LF.
std::string base64Lines(std::string_view bytes);
std::string base64(std::string_view bytes);

// Quoted-printable of CR LF text: lines of at most 76 characters.
std::string quotedPrintable(std::string_view text);

}  // namespace plorix::mail
