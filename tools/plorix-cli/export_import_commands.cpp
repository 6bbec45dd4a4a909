// export, import: schedule entries, to-do items and contacts to and from
// comma-separated files, with the field lists and pictures of the windows.

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>

#include "cli.h"
#include "io/export_job.h"
#include "io/import_job.h"
#include "job_runner.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix::cli {

namespace {

// Lines per transaction when no frame waits between the steps. A batch that
// cannot be written (a full disk) or is cut short by the end of the process
// is not written at all; the batches before it stay. 20,000 lines cost about
// 12 MB of copies kept for a retry of the commit, and an import of 100,000
// tasks commits five times: with 5,000 its twenty commits wrote the same
// index pages again and again (a fifth of the import's time).
constexpr int kImportBatch = 20000;

const io::ExchangeTableDef& exchangeArgument(std::string_view label) {
    if (const auto* def = io::exchangeTableByLabel(label)) return *def;
    throw UsageError("cannot exchange table '" + std::string(label) + "' (tables: Schedule, Todo, Contact)");
}

std::vector<std::string> splitList(std::string_view list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const auto comma = list.find(',', start);
        out.emplace_back(
            trim(list.substr(start, comma == std::string_view::npos ? list.npos : comma - start)));
        if (comma == std::string_view::npos) return out;
        start = comma + 1;
    }
}

int exchangeField(const io::ExchangeTableDef& def, const std::vector<io::ExchangeField>& list,
                  std::string_view name) {
    const int index = io::findExchangeField(list, name);
    if (index < 0)
        throw UsageError(std::string(def.label) + " has no field '" + std::string(name) + "' to exchange");
    return index;
}

const std::string& optionValue(const Args& args, std::size_t& i) {
    if (i + 1 >= args.size()) throw UsageError("option " + args[i] + " needs a value");
    return args[++i];
}

// The column named by a number from 1, "Field_N" or the first line's text.
std::size_t columnArgument(const io::ImportPlan& plan, std::string_view name) {
    for (std::size_t i = 0; i < plan.columns.size(); ++i) {
        const auto& column = plan.columns[i];
        if (name == std::to_string(i + 1) || equalNoCase(name, column.name) ||
            equalNoCase(name, trim(column.sample)))
            return i;
    }
    throw UsageError("the file has no column '" + std::string(name) + "'");
}

// "COLUMN=FIELD" or "COLUMN=FIELD@PICTURE".
void mapColumns(io::ImportPlan& plan, const io::ExchangeTableDef& def, std::string_view list) {
    for (const std::string& item : splitList(list)) {
        const auto eq = item.find('=');
        if (eq == std::string::npos || eq == 0) throw UsageError("expected COLUMN=FIELD, got '" + item + "'");
        const std::size_t column = columnArgument(plan, std::string_view(item).substr(0, eq));
        std::string field = item.substr(eq + 1);
        if (const auto at = field.find('@'); at != std::string::npos) {
            plan.columns[column].picture = field.substr(at);
            field.resize(at);
            if (!readPicture(plan.columns[column].picture))
                throw UsageError("'" + plan.columns[column].picture + "' is not a picture");
        }
        plan.columns[column].target = exchangeField(def, def.importTargets, field);
    }
}

// Standard input copied into a temporary file, removed at the end.
class TemporaryInput {
public:
    TemporaryInput() {
        std::string name = (std::filesystem::temp_directory_path() / "plorix-import-XXXXXX").string();
        const int fd = ::mkstemp(name.data());
        if (fd < 0) throw WorkFailure("cannot keep standard input: " + std::string(std::strerror(errno)));
        path_ = name;
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got == 0) break;
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 || !writeAll(fd, buffer, static_cast<std::size_t>(got))) {
                const std::string why = std::strerror(errno);
                ::close(fd);
                throw WorkFailure("cannot keep standard input: " + why);
            }
        }
        ::close(fd);
    }
    ~TemporaryInput() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TemporaryInput(const TemporaryInput&) = delete;
    TemporaryInput& operator=(const TemporaryInput&) = delete;
    const std::string& path() const { return path_; }

private:
    static bool writeAll(int fd, const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t put = ::write(fd, data, size);
            if (put < 0 && errno == EINTR) continue;
            if (put <= 0) return false;
            data += put;
            size -= static_cast<std::size_t>(put);
        }
        return true;
    }
    std::string path_;
};

}  // namespace

int cmdExport(const Args& args, Prompter&) {
    if (args.size() < 2) throw UsageError("usage: export TABLE FILE.csv [--fields F1,F2,...] [--no-header]");
    const auto& def = exchangeArgument(args[0]);
    io::ExportPlan plan = io::ExportPlan::defaults(def.table);
    plan.file = args[1];
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--no-header") {
            plan.header = false;
        } else if (args[i] == "--fields") {
            for (auto& choice : plan.fields) choice.selected = false;
            for (const std::string& name : splitList(optionValue(args, i)))
                plan.fields[static_cast<std::size_t>(exchangeField(def, def.exportFields, name))].selected =
                    true;
        } else {
            throw UsageError("unexpected argument '" + args[i] + "'");
        }
    }
    refuseProtected(plan.file, io::Replacement::Export);
    CapturingPrompter quiet;
    io::ExportJob job(plan, quiet);
    runJob(job, quiet);
    // Counts go to standard error, so that an export to standard output
    // holds nothing but the file.
    std::cerr << job.written() << " records exported\n";
    return 0;
}

int cmdImport(const Args& args, Prompter&) {
    if (args.size() < 2)
        throw UsageError(
            "usage: import TABLE FILE.csv [--by-name | --map COLUMN=FIELD[@PICTURE],...] [--no-names]");
    const auto& def = exchangeArgument(args[0]);
    io::ImportPlan plan;
    plan.table = def.table;
    plan.file = args[1];
    // The import reads its file more than once: standard input is kept in
    // a temporary file first.
    std::optional<TemporaryInput> input;
    if (plan.file == "-") plan.file = input.emplace().path();
    const std::string shownName = input ? "standard input" : plan.file;
    io::ImportProblem problem;
    if (!io::readImportColumns(plan, problem)) throw UsageError(problem.title + ": " + problem.text);
    std::string map;
    bool byName = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--by-name")
            byName = true;
        else if (args[i] == "--map")
            map = optionValue(args, i);
        else if (args[i] == "--no-names")
            plan.firstLineHasNames = false;
        else
            throw UsageError("unexpected argument '" + args[i] + "'");
    }
    if (byName && !map.empty()) throw UsageError("--by-name and --map exclude each other");
    if (!map.empty()) {
        mapColumns(plan, def, map);
    } else {
        if (!plan.firstLineHasNames) throw UsageError("without a line of names, name the columns with --map");
        plan.assignByName();
    }
    CapturingPrompter quiet;
    io::ImportJob job(plan, quiet, io::ImportOptions{kImportBatch, false});
    const bool started = job.start();
    while (started && job.step()) {}
    for (const std::string& error : job.lineErrors())
        std::cerr << "plorix-cli: " << shownName << ": " << error << '\n';
    const std::string why = quiet.last().empty() ? job.failure() : quiet.last();
    // Refused before a line was stored, or failed on the way.
    if (!started) throw UsageError(why);
    if (job.state() == io::SteppedJob::State::Failed) throw WorkFailure(why);
    std::cerr << job.added() << " records imported\n";
    // Imported, but not every line: the lines left out were told above.
    return job.lineErrors().empty() ? 0 : 1;
}

}  // namespace plorix::cli
