// plorix-cli: Plorix's data folder from the command line.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli.h"
#include "data/fatal_error.h"
#include "data/process_tables.h"

namespace {

void usage(std::ostream& out) {
    out << "usage: plorix-cli [-d DIR] COMMAND [ARGS...]\n\ncommands:\n";
    for (const auto& c : plorix::cli::commands()) out << "  " << c.usage << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    using namespace plorix;
    cli::Args args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "-d") {
        if (chdir(args[1].c_str()) != 0) {
            std::cerr << "plorix-cli: cannot use data folder " << args[1] << ": "
                      << std::strerror(errno) << '\n';
            return 2;
        }
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty() || args[0] == "-h" || args[0] == "--help") {
        usage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    const std::string name = args[0];
    args.erase(args.begin());
    cli::CliPrompter prompter;
    setProcessPrompter(&prompter);
    int status = 2;
    try {
        bool found = false;
        for (const auto& c : cli::commands()) {
            if (c.name == name) {
                status = c.run(args, prompter);
                found = true;
                break;
            }
        }
        if (!found) throw cli::UsageError("unknown command '" + name + "' (see plorix-cli --help)");
    } catch (const cli::UsageError& e) {
        std::cerr << "plorix-cli: " << e.what() << '\n';
        status = 2;
    } catch (const cli::WorkFailure& e) {
        std::cerr << "plorix-cli: " << e.what() << '\n';
        status = 1;
    } catch (const data::FatalError& e) {
        std::cerr << "plorix-cli: " << e.what() << '\n';
        status = 1;
    }
    data::resetProcessTables();
    setProcessPrompter(nullptr);
    return status;
}
