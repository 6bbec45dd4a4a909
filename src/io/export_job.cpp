#include "io/export_job.h"

#include <cerrno>

#include "data/open_routine.h"
#include "data/warnings.h"
#include "io/csv_line.h"
#include "io/exchange_files.h"

namespace plorix::io {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

ExportPlan ExportPlan::defaults(ExchangeTable table) {
    ExportPlan plan;
    plan.table = table;
    for (const auto& field : exchangeTable(table).exportFields)
        plan.fields.push_back({field, std::string(field.picture), true});
    return plan;
}

ExportJob::ExportJob(ExportPlan plan, Prompter& prompter)
    : SteppedJob(prompter), plan_(std::move(plan)), def_(exchangeTable(plan_.table)) {}

ExportJob::~ExportJob() {
    abandon();
    if (tableOpen_) data::releaseTable(*table_);
}

bool ExportJob::prepare() {
    for (const auto& choice : plan_.fields)
        if (choice.selected) columns_.emplace_back(schemaField(def_, choice.field), choice.picture);
    if (columns_.empty()) {
        fail("No Fields Selected for Export!", "You must select one or more fields to export.");
        return false;
    }
    // A table object of the export's own: the frame's scans between two
    // steps must not move this one.
    const auto& schema = def_.schema();
    table_ = std::make_unique<store::Table>(schema);
    data::acquireTable(*table_, prompter());
    tableOpen_ = true;
    const auto count = table_->records();
    total_ = count > 0 ? static_cast<std::uint64_t>(count) : 0;

    if (const std::string why = protectedFile(plan_.file, Replacement::Export); !why.empty()) {
        fail(cannotCreateTitle(plan_.file), why);
        return false;
    }
    if (const int error = out_.open(plan_.file)) {
        fail(cannotCreateTitle(plan_.file), fileErrorText(error));
        return false;
    }
    if (plan_.header) {
        CsvLineWriter line;
        for (const auto& choice : plan_.fields)
            if (choice.selected) line.appendName(choice.field.name);
        // Written with the first records: a file that fails to take it is
        // a failed export, not a refused one.
        pending_ = line.line();
        pending_ += kLineEnd;
    }
    openProgress("Exporting Records", "");
    table_->sendOption("QUICKSCAN=on");
    scan_ = std::make_unique<CompleteScan>(*table_, def_.exportKey);
    scan_->start();
    return true;
}

bool ExportJob::work(int count) {
    CsvLineWriter line;
    bool more = true;
    for (int i = 0; i < count; ++i) {
        const int code = scan_->next();
        if (code == store::kRecordNotAvailable) {
            more = false;
            break;
        }
        if (code != store::kNoError) {
            data::standardWarning(prompter(), data::Warning::RecordRetrievalError, table_->name());
            failQuietly("reading " + std::string(def_.label) + ": " + table_->error().describe());
            return false;
        }
        line.clear();
        for (const data::ExportColumn& column : columns_)
            line.appendField(column.text(table_->buffer()), column.picture());
        pending_ += line.line();
        pending_ += kLineEnd;
        ++written_;
    }
    if (!writePending()) return false;
    meter().update(written_, total_);
    return more;
}

bool ExportJob::writePending() {
    while (!pending_.empty()) {
        errno = 0;
        const std::size_t put = std::fwrite(pending_.data(), 1, pending_.size(), out_.stream());
        if (put == pending_.size() && std::fflush(out_.stream()) == 0) {
            pending_.clear();
            return true;
        }
        const int code = errno ? errno : EIO;
        pending_.erase(0, put);
        std::clearerr(out_.stream());
        const int answer = prompter().message(cannotAddTitle(plan_.file), fileErrorText(code), Icon::Warning,
                                              kRetry | kAbort, kAbort);
        if (answer != kRetry) {
            failQuietly(cannotAddTitle(plan_.file) + ": " + fileErrorText(code));
            return false;
        }
    }
    return true;
}

void ExportJob::finish(State state) {
    if (tableOpen_) {
        table_->sendOption("QUICKSCAN=off");
        data::releaseTable(*table_);
        tableOpen_ = false;
    }
    closeFile(state != State::Failed);
}

void ExportJob::closeFile(bool keep) {
    if (!out_.stream()) return;
    // A file that stopped half-way on an error is no export: the file it was
    // to replace stays as it was.
    if (!keep) return out_.discard();
    if (const int error = out_.commit()) fail(cannotCloseTitle(plan_.file), fileErrorText(error));
}

}  // namespace plorix::io
