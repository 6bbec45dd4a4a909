#include "reports/rows/report_reader.h"

#include <algorithm>

#include "data/open_routine.h"
#include "runtime/fixed_text.h"

namespace plorix::reports {

ReportReader::ReportReader(ReportRequest request, Prompter& prompter)
    : request_(std::move(request)), table_(request_.def->schema()), scan_(table_, request_.key) {
    data::acquireTable(table_, prompter);
    const std::string_view group = request_.def->groupField;
    groupField_ = group.empty() ? -1 : table_.schema().fieldIndex(group);
    const std::int64_t count = table_.records();
    total_ = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    table_.sendOption("QUICKSCAN=on");
    scan_.start();
}

ReportReader::~ReportReader() {
    table_.sendOption("QUICKSCAN=off");
    data::releaseTable(table_);
}

ReportReader::Status ReportReader::read(int count, std::vector<Band>& out) {
    if (error_) return Status::Failed;
    if (ended_) return Status::End;
    for (int i = 0; i < count; ++i) {
        const int code = scan_.next();
        if (code == store::kRecordNotAvailable) {
            ended_ = true;
            table_.sendOption("QUICKSCAN=off");
            return Status::End;
        }
        if (code != store::kNoError) {
            error_ = code;
            return Status::Failed;
        }
        ++read_;
        const void* record = table_.buffer();
        if (request_.filter && !request_.filter(record)) continue;
        if (groupField_ >= 0) {
            const std::string value =
                clip(store::fieldText(table_.schema().fields[static_cast<std::size_t>(groupField_)], record)
                         .str());
            if (!grouped_ || !equalNoCase(value, group_)) {
                grouped_ = true;
                group_ = value;
                out.push_back({BandKind::Group, {value}, {}});
            }
        }
        out.push_back(request_.def->band(record));
    }
    return Status::More;
}

ReportReader::Status ReportReader::readAll(std::vector<Band>& out) {
    Status status;
    while ((status = read(kRecordsPerStep, out)) == Status::More) {}
    return status;
}

int ReportReader::percent() const {
    if (total_ == 0) return ended_ ? 100 : 0;
    return static_cast<int>(std::min<std::uint64_t>(100, read_ * 100 / total_));
}

}  // namespace plorix::reports
