#pragma once
// Runs a program of ours as a user would, capturing what it prints.

#include <map>
#include <string>
#include <vector>

namespace plorix::test {

struct ProcessResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Runs `argv` (argv[0] is the program's path) in `folder` (the current one
// when empty), with `env` added to the environment ("NAME" mapped to "" removes
// it), and waits for it to end.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& folder = {},
                         const std::map<std::string, std::string>& env = {});

// Splits text into lines without their line ends.
std::vector<std::string> lines(const std::string& text);

}  // namespace plorix::test
