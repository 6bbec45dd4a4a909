#pragma once
// The command of a DDE item on this desktop: "interface.Method" optionally
// followed by string arguments in parentheses, for example
//
//     org.example.Player.Open("/music/a b.ogg", loud)
//
// Arguments are separated by commas and trimmed of blanks; a double-quoted
// argument keeps its blanks and may hold commas and parentheses, with \" and
// \\ standing for a quote and a backslash. "()" and no parentheses both mean
// no arguments; an empty place between commas is an empty argument.
// Every implementation of Dde reads commands through this one parser.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plorix::platform {

struct DdeCommand {
    std::string interface;  // "org.example.Player"
    std::string method;     // "Open"
    std::vector<std::string> arguments;
    friend bool operator==(const DdeCommand&, const DdeCommand&) = default;
};

// Nullopt when the text is no such command: no interface, a name that D-Bus
// would refuse, unbalanced parentheses or quotes, text after the ")".
std::optional<DdeCommand> parseDdeCommand(std::string_view text);

// D-Bus naming rules, so a bad name is refused before it reaches the bus.
bool isBusName(std::string_view name);     // "org.example.Player", ":1.42"
bool isObjectPath(std::string_view path);  // "/", "/org/example/Player"
bool isInterfaceName(std::string_view name);
bool isMemberName(std::string_view name);

}  // namespace plorix::platform
