#include "app/program_options.h"

#include "settings/settings.h"

namespace plorix::app {

ProgramOptions parseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-d") {
            if (i + 1 >= args.size()) {
                options.error = "-d needs a folder";
                break;
            }
            options.dataFolder = args[++i];
        } else if (settings::isInactiveSwitch(arg)) {
            options.inactive = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        }
    }
    return options;
}

std::string usageText() {
    return "usage: plorix [-d DIR] [/I] [--headless]\n"
           "  -d DIR      use DIR as the data folder (default: the working directory)\n"
           "  /I          start with the scheduler inactive\n"
           "  --headless  run the scheduler without windows: reminders go to the desktop's\n"
           "              notifications, or to standard output; questions take their defaults\n";
}

}  // namespace plorix::app
