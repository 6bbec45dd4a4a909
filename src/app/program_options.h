#pragma once
// The desktop program's command line.

#include <string>
#include <vector>

namespace plorix::app {

struct ProgramOptions {
    std::string dataFolder;  // -d DIR: changed into before anything else; empty for the default
    bool inactive = false;   // "/I": the scheduler starts inactive
    bool headless = false;   // --headless: the scheduler without windows
    bool help = false;       // -h, --help
    bool version = false;    // --version
    std::string database;    // --database URL: the data file's tables on a server
    std::string error;       // a refused command line, in one line
};

// Arguments Qt understands (-platform, -style ...) are left to it.
ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments);

std::string usageText();

}  // namespace plorix::app
