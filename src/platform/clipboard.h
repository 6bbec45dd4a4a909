#pragma once
// The desktop's clipboard, as text.

#include <optional>
#include <string>
#include <string_view>

namespace plorix::platform {

// The format a password manager adds to what it copies, with the content
// "secret", so that clipboard histories leave it out.
inline constexpr std::string_view kPasswordManagerHint = "x-kde-passwordManagerHint";

// The clipboard's text with what its owner says about it.
struct ClipboardText {
    std::string text;     // UTF-8; bytes offered as UTF-8 that are not are read as Latin-1
    bool secret = false;  // marked secret by a password manager
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text, nullopt when it holds no text.
    virtual std::optional<std::string> text() = 0;
    // The text and its secret mark; a clipboard that knows no marks gives
    // the text alone.
    virtual std::optional<ClipboardText> read() {
        auto plain = text();
        if (!plain) return std::nullopt;
        return ClipboardText{std::move(*plain), false};
    }
    // Replaces the clipboard's content with the text.
    virtual bool setText(std::string_view text) = 0;
};

}  // namespace plorix::platform
