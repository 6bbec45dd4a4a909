#pragma once
// Export of schedule entries, to-do items or contacts to a comma-separated
// file: the chosen fields, each with its picture, one line per record in the
// table's export order, with an optional header line of field names.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "store/store.h"
#include "io/complete_scan.h"
#include "io/exchange_fields.h"
#include "data/field_pictures.h"
#include "io/stepped_job.h"

namespace plorix::io {

struct ExportChoice {
    ExchangeField field;
    std::string picture;  // starts with "@"
    bool selected = true;
};

struct ExportPlan {
    ExchangeTable table = ExchangeTable::Schedule;
    std::vector<ExportChoice> fields;  // in list order
    bool header = true;
    std::string file;

    // Every field of the table's list selected, with its default picture.
    static ExportPlan defaults(ExchangeTable table);
};

class ExportJob final : public SteppedJob {
public:
    ExportJob(ExportPlan plan, Prompter& prompter);
    ~ExportJob() override;

    std::uint64_t written() const { return written_; }  // records

private:
    bool prepare() override;
    bool work(int count) override;
    void finish(State state) override;
    // Writes the pending lines; on failure asks Retry or Abort.
    bool writePending();
    void closeFile(bool keep);

    ExportPlan plan_;
    const ExchangeTableDef& def_;
    std::vector<data::ExportColumn> columns_;
    std::unique_ptr<store::Table> table_;
    std::unique_ptr<CompleteScan> scan_;
    bool tableOpen_ = false;
    std::FILE* out_ = nullptr;
    std::string pending_;
    std::uint64_t total_ = 0;
    std::uint64_t written_ = 0;
};

}  // namespace plorix::io
