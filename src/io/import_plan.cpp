#include "io/import_plan.h"

#include <cerrno>
#include <fstream>

#include "io/csv_line.h"
#include "io/csv_records.h"
#include "io/exchange_files.h"
#include "runtime/fixed_text.h"
#include "runtime/pictures.h"

namespace plorix::io {

namespace {

constexpr std::size_t kSampleCharacters = 100;

}  // namespace

std::string columnTypeText(std::string_view picture) {
    switch (pictureKind(picture)) {
    case PictureKind::Text: return "Alpha-num";
    case PictureKind::Number: return "Numeric";
    default: return std::string(picture);
    }
}

void ImportPlan::assignByName() {
    for (auto& column : columns) column.target = -1;
    const auto& targets = exchangeTable(table).importTargets;
    for (std::size_t t = 0; t < targets.size(); ++t) {
        for (auto& column : columns) {
            if (column.target >= 0 || !equalNoCase(trim(column.sample), targets[t].name)) continue;
            column.target = static_cast<int>(t);
            if (!targets[t].byNamePicture.empty()) column.picture = targets[t].byNamePicture;
            break;
        }
    }
}

bool ImportPlan::anyAssigned() const {
    for (const auto& column : columns)
        if (column.target >= 0) return true;
    return false;
}

bool readImportColumns(ImportPlan& plan, ImportProblem& problem) {
    plan.columns.clear();
    std::ifstream in(plan.file, std::ios::binary);
    if (!in) {
        problem = {cannotOpenTitle(plan.file), fileErrorText(errno ? errno : ENOENT)};
        return false;
    }
    CsvRecordReader reader(in);
    CsvRecord first;
    const bool read = reader.next(first);
    // A first line that cannot be read (too long, not text) is told as such,
    // not taken for an empty file.
    if (!read || (first.error.empty() && first.blank())) {
        problem = {"Attention!", "That file is empty!  Please pick another file.", true};
        return false;
    }
    std::vector<CsvField> fields;
    if (!first.error.empty() || !splitCsvLine(first.text, fields)) {
        const std::string why = first.error.empty() ? "has a double quote that is never closed" : first.error;
        problem = {cannotOpenTitle(plan.file), first.where() + ": " + why};
        return false;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        plan.columns.push_back({"Field_" + std::to_string(i + 1), std::string(kTextColumnPicture),
                                cutToWidth(fields[i].text, kSampleCharacters), -1});
    }
    CsvRecord second;
    if (reader.next(second) && second.error.empty() && splitCsvLine(second.text, fields)) {
        for (std::size_t i = 0; i < fields.size() && i < plan.columns.size(); ++i)
            if (!fields[i].quoted) plan.columns[i].picture = kNumberColumnPicture;
    }
    return true;
}

}  // namespace plorix::io
