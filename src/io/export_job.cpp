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
    if (out_) std::fclose(out_);
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

    if (isDataFile(plan_.file)) {
        fail(cannotCreateTitle(plan_.file), fileErrorText(EEXIST) + ": that is the data file");
        return false;
    }
    out_ = std::fopen(plan_.file.c_str(), "wb");
    if (!out_) {
        fail(cannotCreateTitle(plan_.file), fileErrorText(errno));
        return false;
    }
    if (plan_.header) {
        CsvLineWriter line;
        for (const auto& choice : plan_.fields)
            if (choice.selected) line.appendName(choice.field.name);
        pending_ = line.line();
        pending_ += kLineEnd;
        if (!writePending()) return false;
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
        const std::size_t put = std::fwrite(pending_.data(), 1, pending_.size(), out_);
        if (put == pending_.size() && std::fflush(out_) == 0) {
            pending_.clear();
            return true;
        }
        const int code = errno ? errno : EIO;
        pending_.erase(0, put);
        std::clearerr(out_);
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
    if (!out_) return;
    const int closed = std::fclose(out_);
    const int code = errno;
    out_ = nullptr;
    if (closed != 0 && keep) {
        fail(cannotCloseTitle(plan_.file), fileErrorText(code ? code : EIO));
        keep = false;
    }
    // A file that stopped half-way on an error is no export: it goes.
    if (!keep) removeMadeFile(plan_.file);
}

}  // namespace plorix::io
