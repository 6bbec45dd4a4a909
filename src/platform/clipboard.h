#pragma once
// The desktop's clipboard, as text.

#include <optional>
#include <string>
#include <string_view>

namespace plorix::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // The clipboard's text, nullopt when it holds no text.
    virtual std::optional<std::string> text() = 0;
    // Replaces the clipboard's content with the text.
    virtual bool setText(std::string_view text) = 0;
};

}  // namespace plorix::platform
