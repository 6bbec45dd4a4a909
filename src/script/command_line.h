#pragma once
// Command lines as users write them in a "Start Program" item or a schedule
// entry: split into an argument vector with shell-like quoting, never
// handed to a shell; and the program/parameter splits tried when the whole
// command cannot be opened.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plorix::script {

// Splits a command line at blanks and tabs. Double or single quotes group a
// part that holds blanks and are removed; quoted and unquoted parts that
// touch form one argument ("a"b -> ab); "" gives an empty argument. A
// backslash is an ordinary character, because users write folders with
// either separator. Nullopt when a quote is left open; an empty vector for
// a blank line.
std::optional<std::vector<std::string>> splitCommandLine(std::string_view line);

// A command split into the program to open and its parameters.
struct CommandSplit {
    std::string program;
    std::string parameters;  // trimmed of blanks
    friend bool operator==(const CommandSplit&, const CommandSplit&) = default;
};

// The first retry of a command that could not be opened whole: a leading
// double quote closes at the next double quote; otherwise the split is at
// the first blank. Nullopt when there is no split point.
std::optional<CommandSplit> firstSplit(std::string_view command);

// The further retries, in order: a split at every blank from the right,
// from the last character but one down to the third.
std::vector<CommandSplit> splitsFromTheRight(std::string_view command);

}  // namespace plorix::script
