#pragma once
// Texts the reminder windows share with the external message program.

#include <string_view>

namespace plorix::messages {

// The title of every reminder window.
inline constexpr std::string_view kMessageTitle = "Message";

}  // namespace plorix::messages
