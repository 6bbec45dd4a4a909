#include "platform/dde_command.h"

namespace plorix::platform {
namespace {

constexpr std::size_t kMaxNameLength = 255;

bool isWordChar(char c, bool allowDigit, bool allowHyphen) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           (allowDigit && c >= '0' && c <= '9') || (allowHyphen && c == '-');
}

// Dot-separated elements, at least `minElements` of them.
bool isDottedName(std::string_view name, bool firstMayBeDigit, bool allowHyphen, std::size_t minElements) {
    if (name.empty() || name.size() > kMaxNameLength) return false;
    std::size_t elements = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = name.find('.', start);
        const std::string_view element = name.substr(start, dot == name.npos ? name.npos : dot - start);
        if (element.empty() || !isWordChar(element.front(), firstMayBeDigit, allowHyphen)) return false;
        for (char c : element)
            if (!isWordChar(c, true, allowHyphen)) return false;
        ++elements;
        if (dot == name.npos) break;
        start = dot + 1;
    }
    return elements >= minElements;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The arguments between the parentheses.
std::optional<std::vector<std::string>> parseArguments(std::string_view inside) {
    std::vector<std::string> arguments;
    if (trimBlanks(inside).empty()) return arguments;
    std::size_t pos = 0;
    for (;;) {
        while (pos < inside.size() && (inside[pos] == ' ' || inside[pos] == '\t')) ++pos;
        std::string argument;
        if (pos < inside.size() && inside[pos] == '"') {
            ++pos;
            bool closed = false;
            while (pos < inside.size()) {
                const char c = inside[pos++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && pos < inside.size() && (inside[pos] == '"' || inside[pos] == '\\'))
                    argument += inside[pos++];
                else
                    argument += c;
            }
            if (!closed) return std::nullopt;
            while (pos < inside.size() && (inside[pos] == ' ' || inside[pos] == '\t')) ++pos;
            if (pos < inside.size() && inside[pos] != ',') return std::nullopt;
        } else {
            const std::size_t comma = inside.find(',', pos);
            const std::string_view raw = inside.substr(pos, comma == inside.npos ? inside.npos : comma - pos);
            // Quotes and parentheses belong inside a quoted argument.
            if (raw.find_first_of("\"()") != raw.npos) return std::nullopt;
            argument = std::string(trimBlanks(raw));
            pos = comma == inside.npos ? inside.size() : comma;
        }
        arguments.push_back(std::move(argument));
        if (pos >= inside.size()) return arguments;
        ++pos;  // the comma; a comma at the end leaves one empty argument
    }
}

}  // namespace

bool isInterfaceName(std::string_view name) { return isDottedName(name, false, false, 2); }

bool isMemberName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxNameLength && isDottedName(name, false, false, 1) &&
           name.find('.') == name.npos;
}

bool isBusName(std::string_view name) {
    if (!name.empty() && name.front() == ':') return isDottedName(name.substr(1), true, true, 2);
    return isDottedName(name, false, true, 2);
}

bool isObjectPath(std::string_view path) {
    if (path == "/") return true;
    if (path.empty() || path.front() != '/' || path.back() == '/') return false;
    char previous = '\0';
    for (char c : path) {
        if (c == '/' && previous == '/') return false;
        if (c != '/' && !isWordChar(c, true, false)) return false;
        previous = c;
    }
    return true;
}

std::optional<DdeCommand> parseDdeCommand(std::string_view text) {
    text = trimBlanks(text);
    const std::size_t open = text.find('(');
    const std::string_view name = trimBlanks(text.substr(0, open));
    const std::size_t dot = name.rfind('.');
    if (dot == name.npos) return std::nullopt;
    DdeCommand command{std::string(name.substr(0, dot)), std::string(name.substr(dot + 1)), {}};
    if (!isInterfaceName(command.interface) || !isMemberName(command.method)) return std::nullopt;
    if (open == text.npos) return command;
    if (text.back() != ')') return std::nullopt;
    auto arguments = parseArguments(text.substr(open + 1, text.size() - open - 2));
    if (!arguments) return std::nullopt;
    command.arguments = std::move(*arguments);
    return command;
}

}  // namespace plorix::platform
