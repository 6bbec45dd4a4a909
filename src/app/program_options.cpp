#include "app/program_options.h"

#include <array>
#include <string_view>

#include "runtime/data_folder.h"
#include "settings/settings.h"

namespace plorix::app {

namespace {

// Qt's own options: left to QApplication, which reads and removes them.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue{
    "-platform",     "-platformpluginpath", "-platformtheme", "-plugin",     "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon",        "-style",         "-stylesheet", "-session",
    "-display",      "-geometry",           "-name",          "-title",      "-visual"};
constexpr std::array<std::string_view, 5> kQtFlags{"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

template <std::size_t N>
bool isOneOf(const std::array<std::string_view, N>& list, const std::string& arg) {
    for (std::string_view option : list)
        if (arg == option || (arg.size() > 1 && arg[1] == '-' && arg.substr(1) == option)) return true;
    return false;
}

}  // namespace

ProgramOptions parseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-d" || arg == "--database") {
            if (i + 1 >= args.size()) {
                options.error = arg == "-d" ? "-d needs a folder" : "--database needs a URL";
                break;
            }
            (arg == "-d" ? options.dataFolder : options.database) = args[++i];
        } else if (settings::isInactiveSwitch(arg)) {
            options.inactive = true;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (isOneOf(kQtOptionsWithValue, arg)) {
            ++i;
        } else if (!isOneOf(kQtFlags, arg)) {
            options.error = "unknown option " + arg;
            break;
        }
    }
    return options;
}

std::string usageText() {
    return "usage: plorix [-d DIR] [--database URL] [/I] [--headless]\n"
           "       plorix --version | --help\n"
           "  -d DIR          use DIR as the data folder (default: " +
           defaultDataFolder() +
           ";\n"
           "                  created when missing)\n"
           "  --database URL  keep the data file's tables on a PostgreSQL server, a connection\n"
           "                  URI such as postgresql://user@host/plorix (default:\n"
           "                  $PLORIX_DATABASE); the data folder keeps the settings, the\n"
           "                  event log, window positions and the tags\n"
           "  /I              start with the scheduler inactive\n"
           "  --headless      run the scheduler without windows: reminders go to the desktop's\n"
           "                  notifications, or to standard output; questions take their defaults\n";
}

}  // namespace plorix::app
