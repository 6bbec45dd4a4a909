#pragma once
// Reads a report's table in the order of its key, through a table object
// of its own (the frame's scans between two steps never move it), and
// turns each record that passes the filter into bands: a group heading
// where the grouped value changes, then the record's own band. Driven in
// steps of 25 records so that the frame keeps ticking between them.
//
// A read that fails is an error, never the end of the report: the reader
// stops with the code and the report is not shown as if complete.

#include <cstdint>
#include <memory>
#include <vector>

#include "io/complete_scan.h"
#include "reports/rows/report_band.h"
#include "reports/rows/report_criteria.h"
#include "runtime/prompter.h"
#include "store/store.h"

namespace plorix::reports {

inline constexpr int kRecordsPerStep = 25;

class ReportReader {
public:
    enum class Status { More, End, Failed };

    // Opens the table through the use counts (the last report to finish
    // closes it).
    ReportReader(ReportRequest request, Prompter& prompter);
    ~ReportReader();
    ReportReader(const ReportReader&) = delete;
    ReportReader& operator=(const ReportReader&) = delete;

    // Reads up to `count` records more, appending their bands.
    Status read(int count, std::vector<Band>& out);
    // Every band to the end (for runs without a window).
    Status readAll(std::vector<Band>& out);

    // Records read × 100 ÷ records counted, at most 100.
    int percent() const;
    std::uint64_t recordsRead() const { return read_; }
    int errorCode() const { return error_; }
    const std::string& tableName() const { return table_.name(); }
    const ReportRequest& request() const { return request_; }

private:
    ReportRequest request_;
    store::Table table_;
    io::CompleteScan scan_;
    int groupField_ = -1;
    bool grouped_ = false;
    std::string group_;
    std::uint64_t total_ = 0;
    std::uint64_t read_ = 0;
    int error_ = 0;
    bool ended_ = false;
};

}  // namespace plorix::reports
