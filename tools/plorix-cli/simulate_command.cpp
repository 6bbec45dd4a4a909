// simulate: the scheduler run on a clock of its own from one moment to
// another, printing what it would do. Nothing outside is performed; the
// data file is changed only with --in-place, otherwise a copy is used.

#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "data/data_file.h"
#include "cli.h"
#include "data/open_routine.h"
#include "data/process_tables.h"
#include "data/served_data.h"
#include "io/json_line.h"
#include "runtime/file_names.h"
#include "scheduler/moment.h"
#include "scheduler/simulate.h"
#include "settings/configuration.h"
#include "settings/settings.h"
#include "store/postgres/server_admin.h"

namespace plorix::cli {
namespace {

namespace fs = std::filesystem;

// How long a simulation on a server waits for a lost connection to return.
constexpr int kReconnectWaitMs = 60'000;

constexpr std::string_view kUsage =
    "usage: simulate --from MOMENT --to MOMENT [--answer yes|no] [--in-place] [--json]";

struct Request {
    std::optional<Moment> from;
    std::optional<Moment> to;
    int answer = kNoButton;
    bool inPlace = false;
    bool json = false;
};

Moment momentArgument(const std::string& text) {
    const auto moment = scheduler::parseIsoMoment(text);
    if (!moment) throw UsageError("'" + text + "' is not a moment (YYYY-MM-DD[THH:MM[:SS]])");
    return *moment;
}

Request parseRequest(const Args& args) {
    Request request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--from" && hasValue) {
            request.from = momentArgument(args[++i]);
        } else if (args[i] == "--to" && hasValue) {
            request.to = momentArgument(args[++i]);
        } else if (args[i] == "--answer" && hasValue) {
            const std::string& answer = args[++i];
            if (answer != "yes" && answer != "no") throw UsageError("--answer takes yes or no");
            request.answer = answer == "yes" ? kYes : kNo;
        } else if (args[i] == "--in-place") {
            request.inPlace = true;
        } else if (args[i] == "--json") {
            request.json = true;
        } else {
            throw UsageError(std::string(kUsage));
        }
    }
    if (!request.from || !request.to) throw UsageError(std::string(kUsage));
    if (scheduler::compareMoments(*request.to, *request.from) < 0)
        throw UsageError("--to lies before --from");
    return request;
}

// A scratch folder holding a copy of the data folder's data file (with a
// journal left by a broken write, so the copy recovers as the file would)
// and its settings file; the simulation runs inside it and it is removed
// afterwards.
class ScratchCopy {
public:
    explicit ScratchCopy(bool withDataFile = true) : home_(fs::current_path()) {
        std::error_code error;
        const fs::path temp = fs::temp_directory_path(error);
        std::string pattern = (temp / "plorix-simulate-XXXXXX").string();
        if (error || !mkdtemp(pattern.data())) {
            throw WorkFailure("cannot make a scratch folder for the copy in " + temp.string() + ": " +
                              (error ? error.message() : std::strerror(errno)));
        }
        folder_ = pattern;
        try {
            const std::string data = findFileNoCase(data::kDataFileName);
            if (withDataFile) copy(data, data::kDataFileName);
            if (withDataFile && fs::exists(data + "-journal"))
                copy(data + "-journal", std::string(data::kDataFileName) + "-journal");
            const std::string ini = findFileNoCase(settings::kSettingsIni);
            if (fs::exists(ini)) copy(ini, settings::kSettingsIni);
        } catch (const fs::filesystem_error& e) {
            removeFolder();
            throw WorkFailure("cannot copy the data file to " + folder_.string() + ": " + e.code().message());
        }
        fs::current_path(folder_);
    }
    ~ScratchCopy() {
        std::error_code error;
        fs::current_path(home_, error);
        removeFolder();
    }
    ScratchCopy(const ScratchCopy&) = delete;
    ScratchCopy& operator=(const ScratchCopy&) = delete;

private:
    void removeFolder() {
        std::error_code error;
        fs::remove_all(folder_, error);
    }
    void copy(const std::string& from, std::string_view to) {
        fs::copy_file(from, folder_ / to, fs::copy_options::overwrite_existing);
    }
    fs::path home_;
    fs::path folder_;
};

// On a server the copy is a scratch schema of the same database, made on the
// server, beside a scratch folder for the settings; it is dropped at the
// end, and by a later simulate if this process is killed.
class ServerScratch {
public:
    explicit ServerScratch(const store::ServerAddress& server) : scratch_(server.url, server.schema) {
        if (!scratch_.error().empty())
            throw WorkFailure("cannot copy the tables to a scratch schema: " + scratch_.error());
        folder_.emplace(false);
        file_ = store::absoluteFileName(store::resolveFileName(data::kDataFileName));
        store::serveFile(file_, {server.url, scratch_.name()});
    }
    ~ServerScratch() {
        data::resetProcessTables();  // the schema goes with its connections closed
        store::serveFile(file_, {""});
    }
    ServerScratch(const ServerScratch&) = delete;
    ServerScratch& operator=(const ServerScratch&) = delete;

private:
    store::postgres::ScratchSchema scratch_;
    std::optional<ScratchCopy> folder_;
    std::string file_;
};

// SIGINT and SIGTERM end the simulation after the tick under way, so that
// the scratch copy is removed; the signal is raised again afterwards for
// the caller to see how the command ended.
volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void noteSignal(int signal) { caughtSignal = signal; }

class InterruptScope {
public:
    InterruptScope() {
        struct sigaction action {};
        action.sa_handler = noteSignal;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &action, &previous_[i]);
    }
    ~InterruptScope() {
        for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
    }
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;

private:
    static constexpr int kSignals[2] = {SIGINT, SIGTERM};
    struct sigaction previous_[2]{};
};

void printJsonEvent(const scheduler::SimulationEvent& event) {
    io::JsonLineWriter line;
    line.text("when", scheduler::isoMoment(event.when));
    if (!event.zone.empty()) line.text("zone", event.zone);
    line.text("kind", event.kind);
    line.text("detail", event.detail);
    std::cout << line.line() << '\n';
}

void printEvent(const scheduler::SimulationEvent& event) {
    std::cout << scheduler::isoMoment(event.when);
    if (!event.zone.empty()) std::cout << ' ' << event.zone;
    std::cout << '\t' << event.kind << '\t' << event.detail << '\n';
}

}  // namespace

int cmdSimulate(const Args& args, Prompter& prompter) {
    const Request request = parseRequest(args);
    const std::optional<store::ServerAddress> server = data::dataFileServer();
    if (!data::hasDataFile()) throw UsageError("no data file in this folder");
    scheduler::SimulationSummary summary;
    {
        const InterruptScope interrupts;
        std::optional<ScratchCopy> scratch;
        std::optional<ServerScratch> serverScratch;
        if (!request.inPlace && server)
            serverScratch.emplace(*server);
        else if (!request.inPlace)
            scratch.emplace();
        {
            const data::TableUse configuration(settings::configurationTable(), prompter);
            settings::loadSettings();
        }
        scheduler::SimulationOptions options{*request.from, *request.to, request.answer};
        options.interrupted = [] { return caughtSignal != 0; };
        // Stations share the server: a lost connection is waited out.
        if (server) options.reconnectWaitMs = kReconnectWaitMs;
        summary = scheduler::simulate(options, [&request, flush = server.has_value()](const auto& event) {
            request.json ? printJsonEvent(event) : printEvent(event);
            if (flush) std::cout.flush();
        });
        std::cout.flush();
        data::resetProcessTables();  // the scratch copy goes with its connections closed
    }
    if (caughtSignal != 0) {
        std::cerr << "plorix-cli: simulate interrupted\n";
        std::signal(caughtSignal, SIG_DFL);
        std::raise(caughtSignal);
    }
    if (summary.reconnects > 0)
        std::cerr << "plorix-cli: the connection to the server was lost " << summary.reconnects
                  << " time(s) and restored; no tick was lost\n";
    if (!summary.failure.empty()) {
        std::cerr << "plorix-cli: simulate stopped: " << summary.failure << '\n';
        return 1;
    }
    return 0;
}

}  // namespace plorix::cli
