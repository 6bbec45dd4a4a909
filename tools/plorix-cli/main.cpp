// plorix-cli: Plorix's data folder from the command line.

#include <filesystem>
#include <iostream>

#include "cli.h"
#include "data/data_file.h"
#include "data/data_folder.h"
#include "data/fatal_error.h"
#include "data/process_tables.h"
#include "data/served_data.h"
#include "runtime/data_folder.h"
#include "runtime/file_names.h"
#include "settings/settings.h"

namespace {

namespace fs = std::filesystem;

void usage(std::ostream& out) {
    out << "usage: plorix-cli [-d DIR] [--database URL] COMMAND [ARGS...]\n"
           "       plorix-cli --version | --help\n\n"
           "  -d DIR          the data folder (default: "
        << plorix::defaultDataFolder()
        << ")\n"
           "  --database URL  the data file's tables on a PostgreSQL server, a connection URI\n"
           "                  such as postgresql://user@host/plorix (default: $PLORIX_DATABASE);\n"
           "                  the data folder keeps the settings, the event log and the tags\n\ncommands:\n";
    for (const auto& c : plorix::cli::commands()) out << "  " << c.usage << '\n';
    out << "\nExit status: 0 success; 2 the input was refused and nothing was written;\n"
           "1 the work itself failed (a store or file error, a damaged file, a failed item).\n";
}

const plorix::cli::Command* findCommand(const std::string& name) {
    for (const auto& c : plorix::cli::commands())
        if (c.name == name) return &c;
    return nullptr;
}

// Enters the data folder as the command needs it; why not, empty on success.
// With the tables on a server the folder holds only the settings, the log
// and the tags: it is made when missing.
std::string enterFolder(const std::string& folder, plorix::cli::DataUse use, bool served) {
    using plorix::cli::DataUse;
    if (use == DataUse::None) return {};
    if (served) return plorix::enterDataFolder(folder, true);
    if (use == DataUse::Reads) {
        // A command that only reads creates nothing, not even the folder.
        std::error_code error;
        if (!fs::is_directory(folder, error)) return "no data file in " + folder;
        if (const std::string why = plorix::enterDataFolder(folder, false); !why.empty()) return why;
        if (!fs::exists(plorix::findFileNoCase(plorix::data::kDataFileName)))
            return "no data file in " + folder;
        return {};
    }
    if (const std::string why = plorix::enterDataFolder(folder, true); !why.empty()) return why;
    // A command that writes would add its missing tables to the file: never
    // to a file that is not ours (a transfer file copied in, another
    // program's database).
    const std::string file = plorix::findFileNoCase(plorix::data::kDataFileName);
    if (!plorix::data::mayAddTables(file, plorix::data::kDataFileName,
                                    std::string(plorix::data::kOwnerPassword)))
        return (fs::path(folder) / file).lexically_normal().string() +
               " is not a Plorix data file; nothing was written";
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace plorix;
    using cli::DataUse;
    cli::Args args(argv + 1, argv + argc);
    std::string folder;
    std::string database;
    while (!args.empty() && !args[0].empty() && args[0][0] == '-') {
        const std::string option = args[0];
        if (option == "-h" || option == "--help") {
            usage(std::cout);
            return 0;
        }
        if (option == "--version") {
            std::cout << "plorix-cli " << settings::kVersion << '\n';
            return 0;
        }
        if ((option == "-d" || option == "--database") && args.size() >= 2) {
            (option == "-d" ? folder : database) = args[1];
            args.erase(args.begin(), args.begin() + 2);
            continue;
        }
        std::cerr << "plorix-cli: unknown option " << option << '\n';
        usage(std::cerr);
        return 2;
    }
    if (args.empty()) {
        usage(std::cerr);
        return 2;
    }
    const std::string name = args[0];
    args.erase(args.begin());
    const cli::Command* command = findCommand(name);
    if (!command) {
        std::cerr << "plorix-cli: unknown command '" << name << "' (see plorix-cli --help)\n";
        return 2;
    }
    // File names on the command line are the caller's, not the data folder's.
    const std::string caller = fs::current_path().string();
    if (command->fileArgument >= 0 && static_cast<std::size_t>(command->fileArgument) < args.size()) {
        std::string& file = args[static_cast<std::size_t>(command->fileArgument)];
        file = fromCaller(caller, file);
    }
    if (folder.empty())
        folder = defaultDataFolder();
    else
        folder = fromCaller(caller, folder);
    const DataUse use = command->use(args);
    data::DatabaseChoice server;
    if (use != DataUse::None) {
        if (!command->onServer && !database.empty()) {
            std::cerr << "plorix-cli: " << name << " names its server itself; --database does not apply\n";
            return 2;
        }
        if (command->onServer) server = data::chosenDatabase(database);
    }
    std::error_code error;
    const bool folderExisted = fs::exists(folder, error);
    std::string why = enterFolder(folder, use, !server.url.empty());
    if (why.empty()) why = data::serveDataFile(server);
    if (!why.empty()) {
        std::cerr << "plorix-cli: " << why << '\n';
        if (!folderExisted) fs::remove(folder, error);
        return 2;
    }

    cli::CliPrompter prompter;
    setProcessPrompter(&prompter);
    int status = 2;
    try {
        status = command->run(args, prompter);
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
    // A refused command leaves nothing behind, not even the folder it made
    // (removed only while it is still empty).
    if (status == 2 && !folderExisted) fs::remove(folder, error);
    return status;
}
