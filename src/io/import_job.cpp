#include "io/import_job.h"

#include <cerrno>
#include <filesystem>

#include "store/database.h"
#include "data/numbering.h"
#include "data/open_routine.h"
#include "data/field_pictures.h"
#include "io/exchange_files.h"

namespace plorix::io {

namespace {

constexpr std::size_t kErrorsShown = 20;

}  // namespace

std::string lineErrorSummary(const std::vector<std::string>& errors) {
    std::string text =
        std::to_string(errors.size()) + (errors.size() == 1 ? " line was" : " lines were") + " not imported:";
    for (std::size_t i = 0; i < errors.size() && i < kErrorsShown; ++i) text += "\n" + errors[i];
    if (errors.size() > kErrorsShown)
        text += "\n... and " + std::to_string(errors.size() - kErrorsShown) + " more";
    return text;
}

ImportJob::ImportJob(ImportPlan plan, Prompter& prompter, ImportOptions options)
    : SteppedJob(prompter), plan_(std::move(plan)), options_(options), def_(exchangeTable(plan_.table)) {}

ImportJob::~ImportJob() {
    abandon();
    if (tableOpen_) data::releaseTable(*table_);
}

bool ImportJob::prepare() {
    if (!plan_.anyAssigned()) {
        fail("No Fields Selected for Import!", "You must select one or more fields to import.");
        return false;
    }
    in_.open(plan_.file, std::ios::binary);
    if (!in_) {
        fail(cannotOpenTitle(plan_.file), fileErrorText(errno ? errno : ENOENT));
        return false;
    }
    std::error_code ec;
    size_ = std::filesystem::file_size(plan_.file, ec);
    reader_.emplace(in_);

    const auto& schema = def_.schema();
    table_ = std::make_unique<store::Table>(schema);
    data::acquireTable(*table_, prompter());
    tableOpen_ = true;
    numbered_ = data::numberingRule(schema) != nullptr;
    scratch_ = schema.makeRecord();
    for (const ImportColumn& column : plan_.columns) {
        const bool assigned =
            column.target >= 0 && column.target < static_cast<int>(def_.importTargets.size());
        const ExchangeField* target =
            assigned ? &def_.importTargets[static_cast<std::size_t>(column.target)] : nullptr;
        targets_.push_back(target);
        if (target)
            readers_.emplace_back(std::in_place, schemaField(def_, *target), column.picture,
                                  std::string(target->picture));
        else
            readers_.emplace_back();
    }

    if (plan_.firstLineHasNames) {
        CsvRecord names;
        reader_->next(names);
    }
    openProgress("Importing Records", "");
    return true;
}

bool ImportJob::work(int count) {
    CsvRecord record;
    bool more = true;
    for (int i = 0; i < count; ++i) {
        if (!reader_->next(record)) {
            more = false;
            break;
        }
        if (!importLine(record)) return false;
        if (options_.linesPerBatch > 0 && pendingCount_ >= static_cast<std::size_t>(options_.linesPerBatch) &&
            !commitBatch())
            return false;
    }
    if (options_.linesPerBatch <= 0 && !commitBatch()) return false;
    meter().update(reader_->bytesRead(), size_);
    return more;
}

bool ImportJob::importLine(const CsvRecord& record) {
    std::string why = record.error;
    if (why.empty()) {
        if (record.blank()) return true;
        if (!splitCsvLine(record.text, fields_))
            why = "has a double quote that is never closed";
        else if (fields_.size() != plan_.columns.size())
            why = "has " + std::to_string(fields_.size()) + " fields where the first line has " +
                  std::to_string(plan_.columns.size());
        else
            why = fillRecord(fields_);
    }
    if (!why.empty()) {
        lineErrors_.push_back(record.where() + ": " + why);
        return true;
    }
    // Kept until its batch is committed, so that a batch the store rolls
    // back can be written again.
    store::copyRecord(def_.schema(), scratch_.get(), pendingSlot().get());
    pendingLines_.resize(pendingCount_ + 1);
    pendingLines_[pendingCount_] = record.firstLine;
    ++pendingCount_;
    return addLastPending();
}

std::string ImportJob::fillRecord(const std::vector<CsvField>& fields) {
    const auto& schema = def_.schema();
    store::clearRecord(schema, scratch_.get());
    for (std::size_t i = 0; i < plan_.columns.size(); ++i) {
        if (!readers_[i]) continue;
        const std::string why = readers_[i]->store(scratch_.get(), fields[i].text);
        if (!why.empty())
            return "column " + std::to_string(i + 1) + " (" + std::string(targets_[i]->name) + "): " + why;
    }
    return {};
}

std::shared_ptr<void>& ImportJob::pendingSlot() {
    if (pending_.size() <= pendingCount_) pending_.push_back(def_.schema().makeRecord());
    return pending_[pendingCount_];
}

bool ImportJob::addLastPending() {
    const auto& schema = def_.schema();
    const void* record = pending_[pendingCount_ - 1].get();
    const std::string title = cannotAddTitle(std::string(def_.label) + "!");
    if (!batchOpen_) {
        if (table_->stream() != store::kNoError) {
            --pendingCount_;
            fail(title, storeErrorText(table_->errorCode(), table_->error().text));
            return false;
        }
        batchOpen_ = true;
        numbers_.reset();
    }
    if (!numbered_) {
        store::copyRecord(schema, record, table_->buffer());
        if (table_->add() == store::kNoError) return true;
        --pendingCount_;
        fail(title, storeErrorText(table_->errorCode(), table_->error().text));
        return false;
    }
    const std::int32_t number = data::addNumberedInRun(
        *table_, prompter(), numbers_, [&](void* buffer) { store::copyRecord(schema, record, buffer); });
    if (number != 0) return true;
    // The numbering undid only its own attempts (a savepoint inside the
    // batch): the lines before this one stay in the batch and are committed
    // when the job ends.
    --pendingCount_;
    failQuietly(title);  // the numbering has shown its warning
    return false;
}

bool ImportJob::commitBatch() {
    if (!batchOpen_) return true;
    batchOpen_ = false;
    numbers_.reset();
    if (table_->flush() == store::kNoError) {
        added_ += pendingCount_;
        pendingCount_ = 0;
        return true;
    }
    return replayBatch();
}

bool ImportJob::replayBatch() {
    const std::size_t count = pendingCount_;
    pendingCount_ = 0;
    if (count == 0) return true;
    const auto& schema = def_.schema();
    bool ok = table_->stream() == store::kNoError;
    numbers_.reset();
    for (std::size_t k = 0; ok && k < count; ++k) {
        if (numbered_) {
            ok = data::addNumberedInRun(*table_, prompter(), numbers_, [&](void* buffer) {
                     store::copyRecord(schema, pending_[k].get(), buffer);
                 }) != 0;
        } else {
            store::copyRecord(schema, pending_[k].get(), table_->buffer());
            ok = table_->add() == store::kNoError;
        }
    }
    if (ok && table_->flush() == store::kNoError) {
        added_ += count;
        return true;
    }
    const store::ErrorState error = table_->error();
    table_->rollback();
    // A batch holds thousands of lines: their count and the first few say
    // enough, where every number would make one line of many kilobytes.
    std::string lines;
    for (std::size_t k = 0; k < count && k < kErrorsShown; ++k)
        lines += (k ? ", " : "") + std::to_string(pendingLines_[k]);
    if (count > kErrorsShown) lines += ", ...";
    // A file-system error says which one ("database or disk is full").
    fail(cannotAddTitle(std::string(def_.label) + "!"),
         storeErrorText(error.code, error.code == store::kFileSystemError ? error.describe() : error.text) +
             " (" + std::to_string(count) + (count == 1 ? " line was" : " lines were") +
             " not imported: " + lines + ")");
    return false;
}

void ImportJob::finish(State) {
    if (tableOpen_) {
        commitBatch();
        data::releaseTable(*table_);
        tableOpen_ = false;
    }
    in_.close();
    if (options_.reportLineErrors && !lineErrors_.empty())
        prompter().message("Lines Not Imported", lineErrorSummary(lineErrors_), Icon::Warning, kOk, kOk);
}

}  // namespace plorix::io
