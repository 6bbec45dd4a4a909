#include "script/command_line.h"

#include "runtime/fixed_text.h"

namespace plorix::script {

std::optional<std::vector<std::string>> splitCommandLine(std::string_view line) {
    std::vector<std::string> argv;
    std::string current;
    bool inArgument = false;
    char quote = 0;
    for (char c : line) {
        if (quote != 0) {
            if (c == quote)
                quote = 0;
            else
                current += c;
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (inArgument) argv.push_back(std::move(current));
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '"' || c == '\'')
            quote = c;
        else
            current += c;
    }
    if (quote != 0) return std::nullopt;
    if (inArgument) argv.push_back(std::move(current));
    return argv;
}

namespace {
CommandSplit splitAt(std::string_view command, std::size_t programEnd, std::size_t restStart) {
    return {std::string(command.substr(0, programEnd)), trim(command.substr(restStart))};
}
}  // namespace

std::optional<CommandSplit> firstSplit(std::string_view command) {
    if (!command.empty() && command.front() == '"') {
        const std::size_t close = command.find('"', 1);
        if (close == std::string_view::npos) return std::nullopt;
        CommandSplit split = splitAt(command.substr(1), close - 1, close);
        return split;
    }
    const std::size_t blank = command.find(' ');
    if (blank == std::string_view::npos || blank + 1 == command.size()) return std::nullopt;
    return splitAt(command, blank, blank + 1);
}

std::vector<CommandSplit> splitsFromTheRight(std::string_view command) {
    std::vector<CommandSplit> splits;
    if (command.size() < 4) return splits;
    for (std::size_t i = command.size() - 2; i >= 2; --i)
        if (command[i] == ' ') splits.push_back(splitAt(command, i, i + 1));
    return splits;
}

}  // namespace plorix::script
