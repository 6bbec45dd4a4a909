#include "io/csv_line.h"

#include <algorithm>
#include <cctype>

namespace plorix::io {

namespace {
std::string_view clipped(std::string_view v) {
    while (!v.empty() && v.back() == ' ') v.remove_suffix(1);
    return v;
}
bool blank(std::string_view v) {
    for (char c : v)
        if (c != ' ' && c != '\t') return false;
    return true;
}
}  // namespace

CsvForm csvFormOfPicture(std::string_view picture) {
    if (!picture.empty() && picture.front() == '@') picture.remove_prefix(1);
    if (picture.empty()) return CsvForm::Text;
    switch (std::tolower(static_cast<unsigned char>(picture.front()))) {
    case 's': return CsvForm::Text;
    case 'n': return CsvForm::Number;
    default: return CsvForm::Formatted;
    }
}

void CsvLineWriter::append(std::string_view value, CsvForm form) {
    if (fields_++ > 0) line_ += ',';
    value = clipped(value);
    if (form == CsvForm::Number) {
        std::size_t start = value.find_first_not_of(' ');
        if (start == std::string_view::npos) return;
        value.remove_prefix(start);
        // A picture may turn text into a "number" that is none; quoted, it
        // cannot split the line.
        if (value.find_first_of(",\"\r\n") == std::string_view::npos) {
            line_.append(value);
            return;
        }
    }
    line_ += '"';
    // Runs between quotes go in whole; each quote is doubled.
    for (std::size_t quote; (quote = value.find('"')) != std::string_view::npos;) {
        line_.append(value.substr(0, quote + 1));
        line_ += '"';
        value.remove_prefix(quote + 1);
    }
    line_.append(value);
    line_ += '"';
}

CsvLineReader::Result CsvLineReader::next(std::string& field) {
    field.clear();
    if (done_ || blank(line_.substr(pos_))) {
        // A comma followed by nothing but blanks still separates a last,
        // empty field from the one before.
        if (!done_ && pos_ > 0) dangling_ = true;
        done_ = true;
        return kNone;
    }
    if (line_[pos_] == '"') {
        std::size_t p = pos_ + 1;
        while (p < line_.size()) {
            const std::size_t quote = std::min(line_.find('"', p), line_.size());
            field.append(line_, p, quote - p);
            p = quote;
            if (p == line_.size()) break;
            if (p + 1 < line_.size() && line_[p + 1] == '"') {
                field += '"';
                p += 2;
                continue;
            }
            break;
        }
        if (p >= line_.size()) {
            unbalanced_ = true;
            done_ = true;
            return kQuoted;
        }
        // Past the closing quote and up to and including the next comma.
        std::size_t comma = line_.find(',', p + 1);
        if (comma == std::string_view::npos)
            done_ = true;
        else
            pos_ = comma + 1;
        return kQuoted;
    }
    std::size_t comma = line_.find(',', pos_);
    if (comma == std::string_view::npos) {
        field.assign(line_.substr(pos_));
        done_ = true;
    } else {
        field.assign(line_.substr(pos_, comma - pos_));
        pos_ = comma + 1;
    }
    return kBare;
}

bool splitCsvLine(std::string_view line, std::vector<CsvField>& fields) {
    // The fields of the line before are refilled in place: their strings
    // keep what they hold already.
    CsvLineReader reader(line);
    std::size_t count = 0;
    const auto slot = [&]() -> CsvField& {
        if (fields.size() <= count) fields.emplace_back();
        return fields[count++];
    };
    for (;;) {
        CsvField& field = slot();
        const auto result = reader.next(field.text);
        if (result == CsvLineReader::kNone) {
            --count;
            break;
        }
        field.quoted = result == CsvLineReader::kQuoted;
    }
    if (reader.danglingComma()) {
        CsvField& field = slot();
        field.text.clear();
        field.quoted = false;
    }
    fields.resize(count);
    return !reader.unbalanced();
}

}  // namespace plorix::io
