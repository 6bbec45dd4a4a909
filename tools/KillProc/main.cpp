// KillProc: ends every process of an executable, as "Close Program" asks.
//
//     KillProc [-g SECONDS] NAME
//
// NAME is a path (that executable only) or a bare file name (that file in
// any folder). Each process is asked to end (SIGTERM); those still running
// after the grace period (3 seconds unless -g says otherwise) are killed.
// Exit status: 0 when some process was ended, 1 when none was running,
// 2 for a wrong command line.

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/linux/process_names.h"

namespace {

constexpr const char* kUsage = "usage: KillProc [-g SECONDS] NAME\n       KillProc --version | --help\n";

int usage() {
    std::cerr << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace plorix::platform;
    std::chrono::milliseconds grace = kDefaultGrace;
    std::string name;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "KillProc " PLORIX_VERSION "\n";
            return 0;
        }
        if (arg == "-g" && i + 1 < argc) {
            char* end = nullptr;
            const double seconds = std::strtod(argv[++i], &end);
            if (*end != '\0' || seconds < 0 || seconds > 3600) return usage();
            grace = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        } else if (name.empty() && !arg.empty() && arg[0] != '-') {
            name = arg;
        } else {
            return usage();
        }
    }
    if (name.empty()) return usage();
    const auto processes = processesNamed(name);
    if (processes.empty()) {
        std::cerr << "KillProc: no process of " << name << " is running\n";
        return 1;
    }
    const int asked = askToEnd(processes);
    killAfterGrace(processes, grace);
    return asked > 0 ? 0 : 1;
}
