#pragma once
// Import of schedule entries, to-do items or contacts from a
// comma-separated file: each line becomes one new record, its columns stored
// into their assigned fields. New tasks and contacts are numbered as the
// forms number them.
//
// A line that cannot be read or whose values do not fit is left out whole
// and told by its line number; the lines before and after it are imported.

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/field_pictures.h"
#include "data/numbering.h"
#include "store/store.h"
#include "io/csv_line.h"
#include "io/csv_records.h"
#include "io/import_plan.h"
#include "io/stepped_job.h"

namespace plorix::io {

struct ImportOptions {
    // Lines written in one transaction; 0: one per step. A window commits
    // every step so that no transaction stays open while the frame ticks; a
    // run without a frame may take more at once.
    int linesPerBatch = 0;
    // Shows the lines left out in one message at the end.
    bool reportLineErrors = true;
};

class ImportJob final : public SteppedJob {
public:
    ImportJob(ImportPlan plan, Prompter& prompter, ImportOptions options = {});
    ~ImportJob() override;

    std::uint64_t added() const { return added_; }
    // "line 7: column 3 (SCH:Date): '31/02/2025' is not a date ...", in file order.
    const std::vector<std::string>& lineErrors() const { return lineErrors_; }

private:
    bool prepare() override;
    bool work(int count) override;
    void finish(State state) override;

    bool importLine(const CsvRecord& record);
    // Fills the scratch record from the fields; empty or why not.
    std::string fillRecord(const std::vector<CsvField>& fields);
    // Adds the last pending record; false when the import must end.
    bool addLastPending();
    bool commitBatch();
    // Adds again the lines of a batch the store rolled back.
    bool replayBatch();
    std::shared_ptr<void>& pendingSlot();

    ImportPlan plan_;
    ImportOptions options_;
    const ExchangeTableDef& def_;
    std::unique_ptr<store::Table> table_;
    bool tableOpen_ = false;
    bool numbered_ = false;
    std::ifstream in_;
    std::optional<CsvRecordReader> reader_;
    std::uint64_t size_ = 0;
    std::shared_ptr<void> scratch_;
    // Per column: the field's entry (null: ignored) and the reader that
    // stores its text into the field.
    std::vector<const ExchangeField*> targets_;
    std::vector<std::optional<data::ImportFieldReader>> readers_;
    std::vector<CsvField> fields_;

    // The lines added since the last commit, kept until it succeeds.
    std::vector<std::shared_ptr<void>> pending_;
    std::vector<std::size_t> pendingLines_;
    std::size_t pendingCount_ = 0;
    bool batchOpen_ = false;
    data::NumberRun numbers_;  // the next number while the batch is open

    std::uint64_t added_ = 0;
    std::vector<std::string> lineErrors_;
};

// The lines left out, as one message text (the first 20 of them).
std::string lineErrorSummary(const std::vector<std::string>& errors);

}  // namespace plorix::io
