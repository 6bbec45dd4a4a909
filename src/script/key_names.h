#pragma once
// The vocabulary of bracketed key names ("[AltF4]", "[ENTER]", "[MouseLeft]")
// and their key codes, and the text of the key list "KEYCODES.TXT".

#include <optional>
#include <string>
#include <string_view>

namespace plorix::script {

inline constexpr std::string_view kKeyCodesFile = "KEYCODES.TXT";

// What a bracketed name stands for.
struct KeyName {
    enum class Kind { Key, Pause };
    Kind kind = Kind::Key;
    int code = 0;  // for Key: virtual-key code plus modifier bits, or a mouse code
};

// The meaning of a name (letter case and trailing blanks ignored); nullopt
// when it is no key name.
std::optional<KeyName> lookupKeyName(std::string_view name);

// Every key name with its code, one per line (CR LF), grouped by form: the
// content of KEYCODES.TXT.
std::string keyCodesText();

// Writes keyCodesText() to `path`; false when the file cannot be written.
bool writeKeyCodesFile(const std::string& path);

}  // namespace plorix::script
